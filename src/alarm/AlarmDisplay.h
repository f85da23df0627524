// What the subsystems ask of the window's presenter: each asks for the part of the state that changed
// to be shown, or writes a passing text on the status line.
#pragma once

#include <string>

namespace chw {

// The status line's alarm summary: as chosen, armed (a repeating alarm names its rule), or switched off
// (stopped, disarmed, snoozed); or when a snoozed alarm rings again.
enum class Summary { Chosen, Armed, Off, Snoozing };

// What the status line shows, to be put back after a passing text.
struct StatusLine {
    std::string text;
    bool summary = false;
    bool urgent = false;  // read out at once, interrupting: the ringing alarm's banner
};

class AlarmDisplay {
public:
    // What the state decides alone: cmdSet's caption from the phase, the player menu item's from the
    // snooze it offers, the ten minutes more offered while it rings; the day, the time and the clear
    // button locked while an armed alarm waits or rings; the tray's Set Alarm and the start-in-tray
    // option while the alarm withholds them.
    virtual void ShowState() = 0;
    // cmdSet's tooltip for what it does now (arm or disarm).
    virtual void ShowButtonTip() = 0;

    virtual void ShowSummary(Summary kind) = 0;
    // Any other text of the status line.
    virtual void ShowStatus(const std::string& text) = 0;
    virtual StatusLine Status() const = 0;
    virtual void ShowStatus(const StatusLine& line) = 0;
    virtual void ShowBanner() = 0;  // the ringing alarm's, which screen readers speak at once

    // The wake note in the status bar's second part and the tray's tooltip; our own alarm sound's name.
    virtual void ShowWakeNote() = 0;
    virtual void ShowBuiltInSound(bool on) = 0;

    // The tray icon going to the tray; its picture as the state has it now, or a given one.
    virtual void ShowInTray() = 0;
    virtual void ShowTrayIcon() = 0;
    virtual void ShowTrayIconUnlit() = 0;

protected:
    ~AlarmDisplay() = default;
};

}  // namespace chw
