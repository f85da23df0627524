// The handler marks that keep the watch from ringing behind a handler's back, and lift it in a box.
#pragma once

namespace chw::alarm {

// Sets a handler's mark for as long as the scope lives, then puts back the mark before it.
class MarkScope {
public:
    MarkScope(int& depth, int mark) : depth_(depth), saved_(depth) { depth_ = mark; }
    ~MarkScope() { depth_ = saved_; }
    MarkScope(const MarkScope&) = delete;
    MarkScope& operator=(const MarkScope&) = delete;

private:
    int& depth_;
    int saved_;
};

struct BusyScope : MarkScope {
    explicit BusyScope(int& depth) : MarkScope(depth, depth + 1) {}
};

// Lets the watch ring while a handler waits for the user in a box: the handler's mark is lifted for as
// long as the scope lives.
struct FreeScope : MarkScope {
    explicit FreeScope(int& depth) : MarkScope(depth, 0) {}
};

}  // namespace chw::alarm
