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

}  // namespace chw::alarm
