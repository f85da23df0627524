// Shows the alarm's state: the set button's caption and tooltip, the inputs' enabled flags, the status
// line's summary, the wake note and the tray icon's picture and tooltip all come from the state here.
// Handlers change the state and ask for the part that changed; the passing texts (the countdown, the
// banner, "Ready.") they write through ShowStatus.
#pragma once

#include <optional>
#include <string>

#include "alarm/AlarmDisplay.h"
#include "alarm/AlarmState.h"
#include "platform/MainView.h"

namespace chw {

struct TrayPicture {
    std::string toolTip;
    int iconNumber = 0;
    friend bool operator==(const TrayPicture&, const TrayPicture&) = default;
};

class AlarmPresenter final : public AlarmDisplay {
public:
    AlarmPresenter(IMainView& view, const AlarmState& state) : view_(view), s_(state) {}

    void ShowState() override;
    void ShowButtonTip() override;

    std::string SummaryText(Summary kind) const;
    void ShowSummary(Summary kind) override;
    void ShowStatus(const std::string& text) override;
    StatusLine Status() const override { return status_; }
    void ShowStatus(const StatusLine& line) override;
    void ShowBanner() override;
    // The status the start-up ends with: the summary of an alarm the load brought back, else nothing.
    std::string StartupStatus() const;
    void ShowStartupStatus();

    // "PC Must Stay Awake" / "Keeping PC Awake" while the armed alarm waits for its moment; our own
    // alarm sound keeps the status bar's part while it plays.
    void ShowWakeNote() override;
    void ShowBuiltInSound(bool on) override;

    // The tray icon's picture and tooltip going to the tray.
    TrayPicture TrayPictureNow() const;
    void ShowInTray() override;
    // After each event: while in the tray, the tooltip follows a change of the state in words.
    void RefreshTrayTip();
    void ShowTrayIcon() override;
    void ShowTrayIconUnlit() override;

private:
    std::optional<std::string> RepeatingTip() const;
    std::string TrayStateWords() const;
    // The tooltip for the state as it is now, remembered in its words.
    void TellTrayState();
    std::string WithWakeNote(const std::string& trayTip) const;

    IMainView& view_;
    const AlarmState& s_;
    StatusLine status_;  // what this presenter last put on the status line
    std::string wakeNote_;
    std::string trayTip_;         // the tray icon's tooltip before the wake note
    std::string trayStateWords_;  // the state the tray's tooltip last told, in its words
};

}  // namespace chw
