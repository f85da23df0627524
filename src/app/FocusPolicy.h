// Where the keyboard focus goes when the main window is activated or given the focus: the control that
// had it before, as in a dialog, or the one a click lands on.
#pragma once

#include "platform/Types.h"

namespace chw {

class FocusPolicy {
public:
    enum class Activation { Inactive, Click, Other };

    // What the window does with the focus.
    enum class Move {
        Default,    // nothing here: the system's handling
        Keep,       // handled: the focus stays where it is
        ToClicked,  // to the control under the click
        ToLast,     // to the control that had it before
        ToFirst,    // to the first control in the tab order
    };

    // What the window knows at the moment.
    struct Facts {
        bool minimised = false;
        WindowHandle focus = 0;          // the control with the focus, 0 when not one of the window's
        bool clickedTakesFocus = false;  // a control that takes the focus lies under the cursor
        bool lastUsable = false;         // the remembered control still exists and is enabled
        bool lastInside = false;         // and still belongs to the window
    };

    Move Activated(Activation how, const Facts& now);
    Move FocusReceived(const Facts& now) const { return last_ && now.lastUsable ? Move::ToLast : Move::ToFirst; }
    WindowHandle Last() const { return last_; }

    // Whether the window takes the foreground back after a late deactivation: only when nobody else
    // holds it, since the user may have moved on meanwhile.
    static bool TakeForeground(bool visible, bool foregroundHeld) { return visible && !foregroundHeld; }

private:
    WindowHandle last_ = 0;
};

}  // namespace chw
