#include "app/FocusPolicy.h"

namespace chw {

FocusPolicy::Move FocusPolicy::Activated(Activation how, const Facts& now) {
    if (how == Activation::Inactive) {
        // Kept across the deactivation, as dialogs do.
        if (now.focus) last_ = now.focus;
        return Move::Keep;
    }
    if (now.minimised) return Move::Default;
    // A control that already has the focus keeps it: the activation can arrive between the press and
    // the release of the click that caused it, and moving the focus then would take the click away.
    if (now.focus) return Move::Keep;
    if (how == Activation::Click && now.clickedTakesFocus) return Move::ToClicked;
    if (last_ && now.lastUsable && now.lastInside) return Move::ToLast;
    return Move::Default;
}

}  // namespace chw
