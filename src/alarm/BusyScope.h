// Marks a handler as running for as long as the scope lives.
#pragma once

namespace chw::alarm {

class BusyScope {
public:
    explicit BusyScope(int& depth) : depth_(depth) { ++depth_; }
    ~BusyScope() { --depth_; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    int& depth_;
};

// Lets the watch ring while a handler waits for the user in a box: the handler's mark is lifted for as
// long as the scope lives.
class FreeScope {
public:
    explicit FreeScope(int& depth) : depth_(depth), saved_(depth) { depth_ = 0; }
    ~FreeScope() { depth_ = saved_; }
    FreeScope(const FreeScope&) = delete;
    FreeScope& operator=(const FreeScope&) = delete;

private:
    int& depth_;
    int saved_;
};

}  // namespace chw::alarm
