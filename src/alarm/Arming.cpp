// The arm button (stop, disarm, refusal, arming) and the clear button.
#include "alarm/AlarmTexts.h"
#include "alarm/AlarmTimings.h"
#include "alarm/BusyScope.h"
#include "alarm/WakeJudgement.h"
#include "app/frmMain.h"
#include "settings/SettingsSchema.h"
#include "tray/TrayPicture.h"
#include "winamp/PlayerLocation.h"
#include "winamp/WinampTexts.h"

namespace chw {

using namespace alarm;

void frmMain::cmdSet_Click() {
    const bool playlistEmpty = [this] {
        BusyScope busy(alarmBusy_);
        return PressSet();
    }();
    TellIfPlaylistEmpty(playlistEmpty);
}

// Told once the arming is complete, so that the watch may ring while the box waits for the user.
void frmMain::TellIfPlaylistEmpty(bool empty) {
    if (empty) p_.boxes.Show(kEmptyPlaylistText, p_.runtime.AppTitle(), MbIcon::Exclamation, MbButtons::Ok);
}

void frmMain::ResumeArmedAlarm() {
    if (!resumePending_) return;
    resumePending_ = false;
    const bool playlistEmpty = [this] {
        BusyScope busy(alarmBusy_);
        // It was armed ahead of its moment, in the run that ended.
        seenAhead_ = AlarmAt();
        const std::optional<std::int64_t> moment = AlarmMoment();
        if (moment && p_.clock.UtcSeconds() - *moment > kCatchUpSeconds) {
            MissAlarm();
            return false;
        }
        return ArmAlarm(true);
    }();
    TellIfPlaylistEmpty(playlistEmpty);
}

bool frmMain::PressSet() {
    view_.MyTimer().SetEnabled(false);
    // Whatever the press does, the ringing ends with it.
    SilenceAlarm();

    // The stop: for a player taken over, and for an alarm that rings without one (it fired before it
    // was armed), whose button offers the snooze and must not arm instead.
    if (!WinampWindowText.empty() || (ArmedMark.empty() && view_.Caption(MainCtl::cmdSet) == kSnooze)) {
        // The alarm stays armed until the next press disarms it.
        HaltAlarm(true);
        view_.SetCaption(MainCtl::StatusBar1, AlarmSummary(kPrefixOff, AlarmDate, AlarmTime, kTailSet));
        return false;
    }

    if (!ArmedMark.empty()) {
        // The disarm.
        ReleaseWake();
        ForgetArmed();
        view_.SetCaption(MainCtl::txtTime, AlarmTime);
        view_.SetEnabled(MainCtl::txtTime, true);
        view_.SetEnabled(MainCtl::MonthView, true);
        view_.SetEnabled(MainCtl::cmdReset, true);
        ArmedMark.clear();
        view_.SetCaption(MainCtl::cmdSet, kTurnOn);
        view_.SetEnabled(MainCtl::mnuStartInSystemTray, true);
        // Disarming only ever switches the start-in-tray option off, never on.
        if (view_.Checked(MainCtl::mnuStartInSystemTray)) mnuStartInSystemTray_Click();
        view_.SetCaption(MainCtl::StatusBar1, AlarmSummary(kPrefixOff, AlarmDate, AlarmTime, kTailSet));
        view_.SetToolTip(MainCtl::cmdSet, kTipTurnOn);
        view_.MyTimer().SetEnabled(true);
        view_.SysTray().SetIconNumber(tray::kLitBulb);
        return false;
    }

    const std::optional<std::int64_t> moment = AlarmMoment();
    if (AlarmTime.empty() || AlarmDate.empty() || !moment) {
        p_.boxes.Show(kNotSetText, kNotSetTitle, MbIcon::Exclamation, MbButtons::Ok);
        return false;
    }
    // An alarm whose minute is over could never ring: refuse it rather than show it as set.
    if (p_.clock.UtcSeconds() >= *moment + 60) {
        seenAhead_.reset();  // refused: nothing of it rings late either
        p_.boxes.Show(kPassedText, p_.runtime.AppTitle(), MbIcon::Exclamation, MbButtons::Ok);
        view_.MyTimer().SetEnabled(true);
        return false;
    }

    return ArmAlarm();
}

void frmMain::HaltAlarm(bool closePlayer) {
    ReleaseWake();
    ForgetArmed();
    WinampWindowText.clear();
    if (closePlayer) {
        winamp_.SetVolume(kQuietVolume);
        winamp_.CloseAll();
    }
    view_.SetCaption(MainCtl::cmdSet, kTurnOn);
    view_.SetEnabled(MainCtl::cmdReset, true);
    view_.SetEnabled(MainCtl::mnuSetAlarm, true);
    FiredMark.clear();
    view_.SetEnabled(MainCtl::mnuStartInSystemTray, true);
    view_.SetEnabled(MainCtl::MonthView, true);
    view_.SetEnabled(MainCtl::txtTime, true);
}

void frmMain::SilenceAlarm() {
    if (builtInSounding_) {
        p_.sound.Stop();
        builtInSounding_ = false;
        view_.SetCaption(MainCtl::StatusBar1Panel2, "");
    }
    if (flashing_) {
        view_.Flash(false);
        flashing_ = false;
    }
    if (keptAwake_) {
        p_.power.KeepAwake(false);
        keptAwake_ = false;
    }
}

bool frmMain::ArmAlarm(bool restored) {
    view_.SetCaption(MainCtl::txtTime, AlarmTime);
    view_.SetEnabled(MainCtl::txtTime, false);
    view_.SetEnabled(MainCtl::MonthView, false);
    view_.SetEnabled(MainCtl::cmdReset, false);
    ArmedMark = kArmedMark;
    // A new arming may ring again, whatever rang before.
    FiredMark.clear();
    if (rungAt_ && rungAt_ == AlarmAt()) {
        registryDB_.WriteValue(settings::kRoot, settings::kKey, settings::kRungDate, "");
        registryDB_.WriteValue(settings::kRoot, settings::kKey, settings::kRungTime, "");
    }
    rungAt_.reset();
    if (!restored) NoteIfAhead();
    // At once, so that a crash from here on finds it at the next start.
    RecordArmed();
    view_.SetCaption(MainCtl::cmdSet, kTurnOff);
    view_.MyTimer().SetEnabled(true);
    view_.SetEnabled(MainCtl::mnuSetAlarm, false);

    MbAnswer startWithWindows = MbAnswer::No;
    if (!restored) {
        // The alarm is armed by now: it rings on time even while the user thinks this over.
        FreeScope ringMeanwhile(alarmBusy_);
        startWithWindows =
            p_.boxes.Show(kStartWithWindowsText, kStartWithWindowsTitle, MbIcon::Question, MbButtons::YesNo);
    }
    if (startWithWindows == MbAnswer::Yes) {
        // Yes means both options on; one that is already on stays on.
        if (!view_.Checked(MainCtl::mnuStartInSystemTray)) mnuStartInSystemTray_Click();
        if (!view_.Checked(MainCtl::mnuLoadWinAmpOnStart)) mnuLoadWinAmpOnStart_Click();
    }

    // Rung under the question: the banner and the snooze stay, the player is still taken over below.
    if (FiredMark.empty()) {
        view_.SetCaption(MainCtl::StatusBar1, AlarmSummary(kPrefixOn, AlarmDate, AlarmTime, kTailSet));
        view_.SetToolTip(MainCtl::cmdSet, kTipTurnOff);
        view_.SysTray().SetIconNumber(tray::kUnlitBulb);
        ScheduleWake();
    }

    const std::optional<std::string> playerFile = winamp::FindPlayer(p_.files, p_.registry);
    if (!playerFile) {
        winamp::ShowMissingPlayerBoxes(p_.boxes, p_.files);
        view_.MyTimer().SetEnabled(false);
        view_.MyTimer().SetInterval(0);
        CloseAfterFailure();
        return false;
    }

    // Restored when its moment has already come: no wait, it rings at the next tick, through a player
    // still running from the last run or one the watch starts.
    if (restored && p_.clock.UtcSeconds() >= AlarmMoment().value_or(0)) {
        const WindowHandle running = winamp_.Window();
        if (running != 0) p_.windows.Show(running, ShowCommand::Hide);
        WinampWindowText = std::to_string(running);
        return false;
    }

    if (!p_.processes.Launch(winamp::PlayerCommand(*playerFile), WindowStyle::MinimizedFocus).Started()) {
        p_.boxes.Show(kCannotStartText, p_.runtime.AppTitle(), MbIcon::Critical, MbButtons::Ok);
        CloseAfterFailure();
        return false;
    }

    // Give the player time to come up, counting down on the status line; nothing else runs meanwhile.
    const std::string summary = view_.Caption(MainCtl::StatusBar1);
    view_.SetCaption(MainCtl::StatusBar1, kTakingOver);
    p_.runtime.Pause(kTakeOverFirstPauseMs);
    int TakeOverCountdown = kTakeOverSeconds;
    while (TakeOverCountdown != 0) {
        --TakeOverCountdown;
        p_.runtime.Pause(1000);
        view_.SetCaption(MainCtl::StatusBar1, CountdownText(TakeOverCountdown));
        view_.Repaint();  // the thread is blocked: show each step now
    }
    view_.SetCaption(MainCtl::StatusBar1, summary);

    const WindowHandle player = winamp_.Window();
    if (player != 0) p_.windows.Show(player, ShowCommand::Hide);
    WinampWindowText = std::to_string(player);
    // The player was started with the focus; hiding it leaves the keyboard with no window, so the
    // user would have to click before Alt+O could stop the alarm. Take the focus back.
    view_.Activate();

    // Play on an empty playlist plays nothing: the user is told now, not at the alarm.
    return player != 0 && winamp_.PlaylistLength() == 0;
}

// A sleeping computer wakes for the armed alarm still to come, a minute ahead of it, where it can.
void frmMain::ScheduleWake() {
    const std::optional<std::int64_t> moment = AlarmMoment();
    if (ArmedMark.empty() || !FiredMark.empty() || !moment || AlarmAt() == rungAt_) {
        if (wakeFor_) ReleaseWake();
        return;
    }
    wakeFor_ = moment;
    const bool set = p_.power.WakeAt(*moment - kWakeLeadSeconds);
    mustStayAwake_ = JudgeWake(p_.power, set) != WakeDoubt::None;
    const bool keep = view_.Checked(MainCtl::mnuKeepAwake);
    if (keep != keepingAwake_) p_.power.KeepSystemAwake(keep);
    keepingAwake_ = keep;
    ShowWakeNote();
}

void frmMain::ReleaseWake() {
    wakeFor_.reset();
    p_.power.CancelWake();
    if (keepingAwake_) p_.power.KeepSystemAwake(false);
    keepingAwake_ = false;
    mustStayAwake_ = false;
    ShowWakeNote();
}

void frmMain::ShowWakeNote() {
    const bool waiting = !ArmedMark.empty() && FiredMark.empty();
    const std::string note = !waiting ? "" : keepingAwake_ ? kKeepingAwake : mustStayAwake_ ? kMustStayAwake : "";
    if (note == wakeNote_) return;
    wakeNote_ = note;
    // The program's own alarm sound keeps the part while it plays.
    if (!builtInSounding_) view_.SetCaption(MainCtl::StatusBar1Panel2, note);
    if (view_.SysTray().Shown()) view_.SysTray().SetToolTip(WithWakeNote(trayTip_));
}

std::string frmMain::WithWakeNote(const std::string& trayTip) const {
    return wakeNote_.empty() ? trayTip : trayTip + " - " + wakeNote_;
}

void frmMain::mnuKeepAwake_Click() {
    const bool on = !view_.Checked(MainCtl::mnuKeepAwake);
    view_.SetChecked(MainCtl::mnuKeepAwake, on);
    // An armed alarm follows the choice at once.
    if (!ArmedMark.empty() && FiredMark.empty() && on != keepingAwake_) {
        p_.power.KeepSystemAwake(on);
        keepingAwake_ = on;
        ShowWakeNote();
    }
    SaveOption(settings::kKeepAwake, on);
}

void frmMain::RecordArmed() {
    using namespace settings;
    // Written in today's date format, in which the next start reads it back.
    registryDB_.WriteValue(kRoot, kKey, kArmedDate, p_.clock.ShortDateText(AlarmDay));
    registryDB_.WriteValue(kRoot, kKey, kArmedTime, AlarmTime);
    registryDB_.WriteValue(kRoot, kKey, kArmed, kYes);
    armedRecorded_ = true;
    p_.runtime.RegisterRestart(true);
}

void frmMain::ForgetArmed() {
    if (!armedRecorded_) return;
    armedRecorded_ = false;
    registryDB_.WriteValue(settings::kRoot, settings::kKey, settings::kArmed, settings::kNo);
    p_.runtime.RegisterRestart(false);
}

void frmMain::RecordRung() {
    rungAt_ = AlarmAt();
    if (!rungAt_) return;
    registryDB_.WriteValue(settings::kRoot, settings::kKey, settings::kRungDate, p_.clock.ShortDateText(AlarmDay));
    registryDB_.WriteValue(settings::kRoot, settings::kKey, settings::kRungTime, AlarmTime);
}

void frmMain::CloseAfterFailure() {
    ForgetArmed();  // the arming did not complete: nothing to bring back
    Unload();
    p_.runtime.EndProgram();
}

void frmMain::cmdReset_Click() {
    BusyScope busy(alarmBusy_);
    ReleaseWake();
    ForgetArmed();
    view_.SetCaption(MainCtl::lblDate, "");
    AlarmDate.clear();
    AlarmDay = Date{};
    view_.SetCaption(MainCtl::txtTime, "");
    AlarmTime.clear();
    view_.SetCaption(MainCtl::StatusBar1, kReady);
    view_.SysTray().SetIconNumber(tray::kUnlitBulb);
    view_.SysTray().SetToolTip(kTrayTipCleared);
    view_.SetEnabled(MainCtl::cmdReset, false);
    CalendarToToday();
    view_.SetFocus(MainCtl::cmdSet);

    // Withdraw a saved alarm so the cleared one does not come back at the next start.
    if (settings::IsYes(registryDB_.ReadValue(settings::kRoot, settings::kKey, settings::kSettingsSaved)))
        registryDB_.WriteValue(settings::kRoot, settings::kKey, settings::kSettingsSaved, settings::kNo);
}

}  // namespace chw
