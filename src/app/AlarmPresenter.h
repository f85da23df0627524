// Shows the alarm's state: the set button's caption and tooltip, the inputs' enabled flags, the status
// line's summary, the wake note and the tray icon's picture and tooltip all come from the state here.
// Handlers change the state and ask for the part that changed; the passing texts (the countdown, the
// banner, "Ready.") they write through ShowStatus.
#pragma once

#include <string>

#include "alarm/AlarmState.h"
#include "platform/MainView.h"

namespace chw {

// The status line's alarm summary: as chosen, armed, or switched off (stopped, disarmed, snoozed).
enum class Summary { Chosen, Armed, Off };

struct TrayPicture {
    std::string toolTip;
    int iconNumber = 0;
    friend bool operator==(const TrayPicture&, const TrayPicture&) = default;
};

class AlarmPresenter {
public:
    AlarmPresenter(IMainView& view, const AlarmState& state) : view_(view), s_(state) {}

    // cmdSet's caption from the phase, and the player menu item's from the snooze it offers.
    void ShowButtons();
    // cmdSet's tooltip for what it does now (arm or disarm).
    void ShowButtonTip();
    // The day, the time and the clear button: locked while an armed alarm waits or rings.
    void ShowInputs();

    std::string SummaryText(Summary kind) const;
    void ShowSummary(Summary kind);
    // Any other text of the status line.
    void ShowStatus(const std::string& text);
    // What the status line shows, to be put back after a passing text.
    struct StatusLine {
        std::string text;
        bool summary = false;
    };
    StatusLine Status() const { return status_; }
    void ShowStatus(const StatusLine& line);
    // The status the start-up ends with: the summary of an alarm the load brought back, else nothing.
    std::string StartupStatus() const;
    void ShowStartupStatus();

    // "PC Must Stay Awake" / "Keeping PC Awake" in the status bar's second part and the tray's tooltip,
    // while the armed alarm waits for its moment; our own alarm sound keeps the part while it plays.
    void ShowWakeNote();
    void ShowBuiltInSound(bool on);

    // The tray icon's picture and tooltip going to the tray.
    TrayPicture TrayPictureNow() const;
    void ShowInTray();
    // After each event: while in the tray, the tooltip follows a change of the state in words.
    void RefreshTrayTip();
    // The icon's picture as the rule above has it now (after a disarm or a clear), or a given one.
    void ShowTrayIcon();
    void ShowTrayIcon(int number);

private:
    std::string TrayStateWords() const;
    std::string WithWakeNote(const std::string& trayTip) const;

    IMainView& view_;
    const AlarmState& s_;
    StatusLine status_;  // what this presenter last put on the status line
    std::string wakeNote_;
    std::string trayTip_;         // the tray icon's tooltip before the wake note
    std::string trayStateWords_;  // the state the tray's tooltip last told, in its words
};

}  // namespace chw
