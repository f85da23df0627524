// The pieces of our own windows that the logic drives: timers, the tray icon and the forms' controls.
#pragma once

#include <string>

namespace chw {

// A window timer. Interval 0 never ticks, whatever Enabled says.
class ITimer {
public:
    virtual ~ITimer() = default;
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual int Interval() const = 0;
    virtual void SetInterval(int milliseconds) = 0;
};

// What a balloon tells: something the user missed or must see to, or a piece of information.
enum class BalloonKind { Warning, Info };

// The notification-area icon. Icon numbers 1..3 pick the pictures: unlit bulb, lit bulb, wrist watch.
class ITrayIcon {
public:
    virtual ~ITrayIcon() = default;
    virtual bool Shown() const = 0;
    virtual void SetShown(bool shown) = 0;
    virtual void SetToolTip(const std::string& text) = 0;
    virtual void SetIconNumber(int number) = 0;
    // A balloon notification from the icon; nothing when the icon is not shown.
    virtual void ShowBalloon(const std::string& title, const std::string& text,
                             BalloonKind kind = BalloonKind::Warning) = 0;
};

// The texts of one window's controls, addressed by their names. The text of a control lives in the
// control: Caption reads what the user sees (a button's or menu item's caption, a label's or text
// box's text, the first status-bar panel).
template <class Ctl>
class ICaptions {
public:
    virtual ~ICaptions() = default;
    virtual std::string Caption(Ctl control) const = 0;
    virtual void SetCaption(Ctl control, const std::string& text) = 0;
};

// Controls and menu items of one window: their texts, flags, tooltips (written only) and the focus.
template <class Ctl>
class IForm : public virtual ICaptions<Ctl> {
public:
    virtual bool Enabled(Ctl control) const = 0;
    virtual void SetEnabled(Ctl control, bool enabled) = 0;
    virtual bool Checked(Ctl control) const = 0;
    virtual void SetChecked(Ctl control, bool checked) = 0;
    virtual void SetToolTip(Ctl control, const std::string& text) = 0;
    virtual void SetFocus(Ctl control) = 0;
};

}  // namespace chw
