#include "app/AlarmPresenter.h"

#include "alarm/AlarmTexts.h"
#include "alarm/Repeat.h"
#include "app/FormTexts.h"
#include "app/MenuTexts.h"
#include "tray/TrayTexts.h"

namespace chw {

using namespace alarm;

void AlarmPresenter::ShowState() {
    const bool snooze = s_.phase == AlarmPhase::Ringing || s_.phase == AlarmPhase::Halted;
    view_.SetCaption(MainCtl::cmdSet, snooze                             ? kSnooze
                                      : s_.phase == AlarmPhase::Armed ? kTurnOff
                                      : s_.activated                  ? kTurnOn
                                                                      : texts::kCmdSet);
    view_.SetCaption(MainCtl::mnuCloseWinAmp, s_.snoozeInMenu ? kSnooze : CHW_MNUCLOSEWINAMP);
    view_.SetEnabled(MainCtl::mnuRingAgain, s_.Ringing());
    view_.SetEnabled(MainCtl::mnuPopUpRingAgain, s_.Ringing());
    const bool locked = s_.InputsLocked();
    view_.SetEnabled(MainCtl::txtTime, !locked);
    view_.SetEnabled(MainCtl::MonthView, !locked);
    view_.SetEnabled(MainCtl::cmdReset, !locked && !s_.AlarmDate.empty());
    view_.SetEnabled(MainCtl::mnuSetAlarm, !s_.trayArmWithheld);
    view_.SetEnabled(MainCtl::mnuStartInSystemTray, !s_.startOptionHeld);
}

void AlarmPresenter::ShowButtonTip() {
    view_.SetToolTip(MainCtl::cmdSet, s_.phase == AlarmPhase::Armed ? kTipTurnOff : kTipTurnOn);
}

std::string AlarmPresenter::SummaryText(Summary kind) const {
    switch (kind) {
        case Summary::Armed: {
            const std::string on = AlarmSummary(kPrefixOn, s_.AlarmDate, s_.AlarmTime, kTailSet);
            return s_.Repeating() ? on + "  " + RepeatsText(s_.repeat) : on;
        }
        case Summary::Snoozing: return s_.snooze ? SnoozingText(s_.snooze->at) : "";
        case Summary::Off: return AlarmSummary(kPrefixOff, s_.AlarmDate, s_.AlarmTime, kTailSet);
        case Summary::Chosen: break;
    }
    if (s_.AlarmDate.empty()) return AlarmSummary(kPrefixOff, kNoDateYet, s_.AlarmTime, kTailNotSet);
    return AlarmSummary(kPrefixOff, s_.AlarmDate, s_.AlarmTime, kTailSetDot);
}

// The snooze's line is no summary: the tray shows the watch for it, as for an armed alarm's other texts.
void AlarmPresenter::ShowSummary(Summary kind) { ShowStatus(StatusLine{SummaryText(kind), kind != Summary::Snoozing}); }
void AlarmPresenter::ShowStatus(const std::string& text) { ShowStatus(StatusLine{text, false}); }

void AlarmPresenter::ShowStatus(const StatusLine& line) {
    view_.SetStatusUrgent(line.urgent);
    view_.SetCaption(MainCtl::StatusBar1, line.text);
    status_ = line;
}

void AlarmPresenter::ShowBanner() { ShowStatus(StatusLine{kBanner, false, true}); }

std::string AlarmPresenter::StartupStatus() const {
    return s_.restoredAtLoad ? SummaryText(Summary::Chosen) : "";
}

void AlarmPresenter::ShowStartupStatus() { ShowStatus(StatusLine{StartupStatus(), s_.restoredAtLoad}); }

void AlarmPresenter::ShowWakeNote() {
    const std::string note = !s_.Waiting()      ? ""
                             : s_.keepingAwake  ? kKeepingAwake
                             : s_.mustStayAwake ? kMustStayAwake
                                                : "";
    if (note == wakeNote_) return;
    wakeNote_ = note;
    if (!s_.builtInSounding) view_.SetCaption(MainCtl::StatusBar1Panel2, note);
    if (view_.SysTray().Shown()) view_.SysTray().SetToolTip(WithWakeNote(trayTip_));
}

void AlarmPresenter::ShowBuiltInSound(bool on) { view_.SetCaption(MainCtl::StatusBar1Panel2, on ? kBuiltInSound : ""); }

std::string AlarmPresenter::WithWakeNote(const std::string& trayTip) const {
    return wakeNote_.empty() ? trayTip : trayTip + " - " + wakeNote_;
}

// An armed repeating alarm waiting for its day: the tooltip names its rule and that day.
std::optional<std::string> AlarmPresenter::RepeatingTip() const {
    if (!s_.Repeating() || !s_.armed || s_.phase != AlarmPhase::Armed || s_.snooze || s_.AlarmDay.year == 0)
        return std::nullopt;
    return RepeatingTrayTip(s_.repeat, s_.AlarmDay, s_.AlarmDate, s_.AlarmTime);
}

std::string AlarmPresenter::TrayStateWords() const {
    if (s_.phase == AlarmPhase::Ringing || s_.phase == AlarmPhase::Halted) return tray::kStateRinging;
    if (RepeatingTip()) return *RepeatingTip();
    if (s_.armed) return tray::kStateArmed;
    if (s_.Chosen()) return tray::kStateChosen;
    return tray::kStateNotSet;
}

// The lit bulb while the status line shows an alarm's summary (the user has one set up), the watch while
// an armed alarm waits with another text there, else the unlit bulb. The tooltip tells the state in words.
TrayPicture AlarmPresenter::TrayPictureNow() const {
    // An armed repeating alarm's words are its whole tooltip.
    const std::string words = TrayStateWords();
    return {RepeatingTip() ? words : tray::kTipOptions + std::string(tray::kTipJoin) + words,
            status_.summary ? tray::kLitBulb : s_.phase == AlarmPhase::Armed ? tray::kWatch : tray::kUnlitBulb};
}

void AlarmPresenter::TellTrayState() {
    trayStateWords_ = TrayStateWords();
    trayTip_ = TrayPictureNow().toolTip;
    view_.SysTray().SetToolTip(WithWakeNote(trayTip_));
}

void AlarmPresenter::ShowInTray() {
    TellTrayState();
    view_.SysTray().SetIconNumber(TrayPictureNow().iconNumber);
    view_.SysTray().SetShown(true);
}

// Only a change of state changes the tooltip: a tooltip a handler set for the same state stays.
void AlarmPresenter::RefreshTrayTip() {
    if (view_.SysTray().Shown() && TrayStateWords() != trayStateWords_) TellTrayState();
}

void AlarmPresenter::ShowTrayIcon() { view_.SysTray().SetIconNumber(TrayPictureNow().iconNumber); }
void AlarmPresenter::ShowTrayIconUnlit() { view_.SysTray().SetIconNumber(tray::kUnlitBulb); }

}  // namespace chw
