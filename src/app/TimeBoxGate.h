// The time box's gate: while the box is being left and its time validated, a click elsewhere in the
// window waits, and runs after the validation only when the time was accepted.
#pragma once

#include <functional>

#include "platform/Types.h"

namespace chw {

class TimeBoxGate {
public:
    using Event = std::function<void()>;

    // A mouse press on the box, and its release: the release is the box's click when the press was
    // there and the focus stayed.
    void Pressed() { pressed_ = true; }
    bool Released();

    // The focus leaves the box. True when the validation is now due: the focus went to another control
    // of the window and no validation is already on its way.
    bool Left(bool toOwnControl);

    // Whether clicks wait now: the validation is due or running.
    bool Closed() const { return due_ || validating_; }
    // Whether a validation is due and has not begun.
    bool Due() const { return due_; }

    // A control's click: runs now, or waits for the validation (the latest click waits).
    void Click(Event event, WindowHandle from);
    void Hold(Event event, WindowHandle from);

    // The validation's start. False, and the waiting click is dropped, when the focus came back to the
    // box before the validation got its turn.
    bool Begin(bool boxStillLeft);
    // The validation's end: the waiting click runs when the time was accepted and its control still
    // takes it (`takes` answers for the control the click came from, 0 when none).
    void End(bool cancelled, const std::function<bool(WindowHandle from)>& takes);

private:
    bool pressed_ = false;
    bool due_ = false;
    bool validating_ = false;
    Event held_;
    WindowHandle heldFrom_ = 0;
};

}  // namespace chw
