#include "app/TimeBoxGate.h"

#include <utility>

namespace chw {

bool TimeBoxGate::Released() {
    bool click = pressed_;
    pressed_ = false;
    return click;
}

bool TimeBoxGate::Left(bool toOwnControl) {
    pressed_ = false;
    if (Closed() || !toOwnControl) return false;
    due_ = true;
    return true;
}

void TimeBoxGate::Hold(Event event, WindowHandle from) {
    held_ = std::move(event);
    heldFrom_ = from;
}

void TimeBoxGate::Click(Event event, WindowHandle from) {
    if (Closed())
        Hold(std::move(event), from);
    else if (event)
        event();
}

bool TimeBoxGate::Begin(bool boxStillLeft) {
    due_ = false;
    if (!boxStillLeft) {
        held_ = nullptr;
        heldFrom_ = 0;
        return false;
    }
    validating_ = true;
    return true;
}

void TimeBoxGate::End(bool cancelled, const std::function<bool(WindowHandle from)>& takes) {
    validating_ = false;
    Event held = std::move(held_);
    WindowHandle from = std::exchange(heldFrom_, 0);
    held_ = nullptr;
    if (!cancelled && held && takes(from)) held();
}

}  // namespace chw
