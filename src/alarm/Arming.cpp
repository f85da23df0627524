// The arm button (stop, disarm, refusal, arming) and the clear button.
#include <algorithm>

#include "alarm/AlarmTexts.h"
#include "alarm/AlarmTimings.h"
#include "alarm/BusyScope.h"
#include "alarm/Repeat.h"
#include "alarm/TimeEntry.h"
#include "alarm/WakeJudgement.h"
#include "alarm/Alarm.h"
#include "settings/SettingsSchema.h"
#include "winamp/PlayerLocation.h"
#include "winamp/WinampTexts.h"

namespace chw {

using namespace alarm;

void Alarm::cmdSet_Click() { TellIfPlaylistEmpty(PressSet()); }

// Told once the arming is complete, so that the watch may ring while the box waits for the user.
void Alarm::TellIfPlaylistEmpty(bool empty) {
    if (empty) p_.boxes.Show(kEmptyPlaylistText, p_.runtime.AppTitle(), MbIcon::Exclamation, MbButtons::Ok);
}

void Alarm::ResumeArmedAlarm() {
    if (!s_.resumePending) return;
    s_.resumePending = false;
    TellIfPlaylistEmpty(Resume());
}

bool Alarm::Resume() {
    BusyScope busy(alarmBusy_);
    // Snoozed when the run ended: it rings at the snooze's moment, or is missed.
    if (!s_.snooze) {
        // A repeating alarm that rang before the run ended goes on to its next day.
        if (s_.Repeating() && s_.rungAt && s_.rungAt == AlarmAt()) {
            if (!MoveOn()) ForgetArmed();
            return false;
        }
        // It was armed ahead of its moment, in the run that ended.
        s_.seenAhead = AlarmAt();
    }
    const std::optional<std::int64_t> moment = NextRingMoment();
    if (moment && p_.clock.UtcSeconds() - *moment > kCatchUpSeconds) {
        MissAlarm();
        return false;
    }
    return ArmAlarm(ArmKind::Restored);
}

bool Alarm::PressSet() {
    BusyScope busy(alarmBusy_);
    view_.MyTimer().SetEnabled(false);
    // Whatever the press does, the ringing ends with it.
    SilenceAlarm();

    // The stop: for a player taken over, and for an alarm that rings without one (it fired before it
    // was armed), whose button offers the snooze and must not arm instead.
    const bool offersSnooze = s_.phase == AlarmPhase::Ringing || s_.phase == AlarmPhase::Halted;
    if (s_.player || (!s_.armed && offersSnooze)) {
        // The end of a repeating alarm's ringing (or of its ten minutes more) moves it on to its next day;
        // a stop before it rang does not.
        const bool movesOn = s_.armed && s_.Repeating() && (offersSnooze || s_.snooze);
        // The alarm stays armed until the next press disarms it.
        HaltAlarm(true);
        if (!movesOn || !MoveOn()) show_.ShowSummary(Summary::Off);
        return false;
    }

    if (s_.armed) {
        // The disarm.
        ReleaseWake();
        ForgetArmed();
        view_.SetCaption(MainCtl::txtTime, s_.AlarmTime);
        s_.armed = false;
        s_.phase = AlarmPhase::Idle;
        s_.startOptionHeld = false;
        show_.ShowState();
        // Disarming only ever switches the start-in-tray option off, never on.
        if (view_.Checked(MainCtl::mnuStartInSystemTray)) host_.toggleStartInTray();
        show_.ShowSummary(Summary::Off);
        show_.ShowButtonTip();
        view_.MyTimer().SetEnabled(true);
        show_.ShowTrayIcon();
        return false;
    }

    // A repeating alarm waits for the first day from the chosen one that its rule allows, still ahead.
    if (s_.Repeating() && s_.Chosen() && s_.AlarmDay.year != 0) {
        const std::optional<Date> day = NextChosenDay(s_.repeat, p_.clock.UtcSeconds() - 60);
        if (day && *day != s_.AlarmDay) ShowAlarmDay(*day);
    }
    const std::optional<std::int64_t> moment = AlarmMoment();
    if (!s_.Chosen() || !moment) {
        p_.boxes.Show(kNotSetText, kNotSetTitle, MbIcon::Exclamation, MbButtons::Ok);
        return false;
    }
    // An alarm whose minute is over could never ring: refuse it rather than show it as set.
    if (p_.clock.UtcSeconds() >= *moment + 60) {
        s_.seenAhead.reset();  // refused: nothing of it rings late either
        p_.boxes.Show(kPassedText, p_.runtime.AppTitle(), MbIcon::Exclamation, MbButtons::Ok);
        view_.MyTimer().SetEnabled(true);
        return false;
    }

    return ArmAlarm();
}

void Alarm::HaltAlarm(bool closePlayer) {
    ReleaseWake();
    ForgetArmed();
    s_.player.reset();
    if (closePlayer) {
        winamp_.SetVolume(kQuietVolume);
        winamp_.CloseAll();
    }
    s_.phase = AlarmPhase::Idle;
    s_.fired = false;
    s_.trayArmWithheld = s_.startOptionHeld = false;
    show_.ShowState();
}

void Alarm::SilenceAlarm() {
    if (s_.builtInSounding) {
        p_.sound.Stop();
        s_.builtInSounding = false;
        show_.ShowBuiltInSound(false);
    }
    if (s_.flashing) {
        view_.Flash(false);
        s_.flashing = false;
    }
    if (s_.keptAwake) {
        p_.power.KeepAwake(AwakeLevel::Display, false);
        s_.keptAwake = false;
    }
}

bool Alarm::ArmAlarm(ArmKind kind) {
    const bool restored = kind == ArmKind::Restored;
    view_.SetCaption(MainCtl::txtTime, s_.AlarmTime);
    if (!restored) EndSnooze();  // a snooze brought back by the start still rings
    s_.armed = s_.activated = true;
    s_.phase = AlarmPhase::Armed;
    // A new arming may ring again, whatever rang before.
    s_.fired = false;
    if (s_.rungAt && s_.rungAt == AlarmAt()) {
        registryDB_.Write(settings::kRungDate, "");
        registryDB_.Write(settings::kRungTime, "");
    }
    s_.rungAt.reset();
    if (!restored) NoteIfAhead();
    // At once, so that a crash from here on finds it at the next start.
    RecordArmed();
    s_.trayArmWithheld = true;
    show_.ShowState();
    view_.MyTimer().SetEnabled(true);

    MbAnswer startWithWindows = MbAnswer::No;
    if (kind == ArmKind::Pressed) {
        // The alarm is armed by now: it rings on time even while the user thinks this over.
        FreeScope ringMeanwhile(alarmBusy_);
        startWithWindows =
            p_.boxes.Show(kStartWithWindowsText, kStartWithWindowsTitle, MbIcon::Question, MbButtons::YesNo);
    }
    if (startWithWindows == MbAnswer::Yes) {
        // Yes means both options on; one that is already on stays on.
        if (!view_.Checked(MainCtl::mnuStartInSystemTray)) host_.toggleStartInTray();
        if (!view_.Checked(MainCtl::mnuLoadWinAmpOnStart)) host_.toggleLoadPlayerOnStart();
    }

    // Rung under the question: the banner and the snooze stay, the player is still taken over below.
    if (!s_.fired) {
        show_.ShowSummary(s_.snooze ? Summary::Snoozing : Summary::Armed);
        show_.ShowButtonTip();
        show_.ShowTrayIconUnlit();
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
        s_.player = running;
        return false;
    }

    if (!p_.processes.Launch(winamp::PlayerCommand(*playerFile), WindowStyle::MinimizedFocus).Started()) {
        p_.boxes.Show(kCannotStartText, p_.runtime.AppTitle(), MbIcon::Critical, MbButtons::Ok);
        CloseAfterFailure();
        return false;
    }

    // Give the player time to come up, counting down on the status line; nothing else runs meanwhile.
    const StatusLine covered = show_.Status();
    show_.ShowStatus(kTakingOver);
    p_.runtime.Pause(kTakeOverFirstPauseMs);
    int TakeOverCountdown = kTakeOverSeconds;
    while (TakeOverCountdown != 0) {
        --TakeOverCountdown;
        p_.runtime.Pause(1000);
        show_.ShowStatus(CountdownText(TakeOverCountdown));
        view_.Repaint();  // the thread is blocked: show each step now
    }
    show_.ShowStatus(covered);

    const WindowHandle player = winamp_.Window();
    if (player != 0) p_.windows.Show(player, ShowCommand::Hide);
    s_.player = player;
    // The player was started with the focus; hiding it leaves the keyboard with no window, so the
    // user would have to click before Alt+O could stop the alarm. Take the focus back.
    view_.Activate();

    // Play on an empty playlist plays nothing: the user is told now, not at the alarm.
    return player != 0 && winamp_.PlaylistLength() == 0;
}

// A sleeping computer wakes for the armed alarm still to come, a minute ahead of it, where it can.
void Alarm::ScheduleWake() {
    const std::optional<std::int64_t> moment = NextRingMoment();
    if (!s_.Waiting() || !moment || (!s_.snooze && AlarmAt() == s_.rungAt)) {
        if (s_.wakeFor) ReleaseWake();
        return;
    }
    s_.wakeFor = moment;
    const bool set = p_.power.WakeAt(*moment - kWakeLeadSeconds);
    s_.mustStayAwake = JudgeWake(p_.power, set) != WakeDoubt::None;
    const bool keep = view_.Checked(MainCtl::mnuKeepAwake);
    if (keep != s_.keepingAwake) p_.power.KeepAwake(AwakeLevel::System, keep);
    s_.keepingAwake = keep;
    show_.ShowWakeNote();
}

void Alarm::ReleaseWake() {
    s_.wakeFor.reset();
    p_.power.CancelWake();
    if (s_.keepingAwake) p_.power.KeepAwake(AwakeLevel::System, false);
    s_.keepingAwake = false;
    s_.mustStayAwake = false;
    show_.ShowWakeNote();
}

void Alarm::mnuKeepAwake_Click() {
    const bool on = !view_.Checked(MainCtl::mnuKeepAwake);
    view_.SetChecked(MainCtl::mnuKeepAwake, on);
    // An armed alarm follows the choice at once.
    if (s_.Waiting() && on != s_.keepingAwake) {
        p_.power.KeepAwake(AwakeLevel::System, on);
        s_.keepingAwake = on;
        show_.ShowWakeNote();
    }
    if (!SaveOption(registryDB_, p_.boxes, settings::kKeepAwake, on ? settings::kYes : settings::kNo)) host_.unload();
}

void Alarm::RecordArmed() {
    using namespace settings;
    // Written in today's date format, in which the next start reads it back.
    registryDB_.Write(kArmedDate, p_.clock.ShortDateText(s_.AlarmDay));
    registryDB_.Write(kArmedTime, s_.AlarmTime);
    registryDB_.Write(kArmed, kYes);
    s_.armedRecorded = true;
    p_.runtime.RegisterRestart(true);
}

void Alarm::ForgetArmed() {
    EndSnooze();
    if (!s_.armedRecorded) return;
    s_.armedRecorded = false;
    registryDB_.Write(settings::kArmed, settings::kNo);
    p_.runtime.RegisterRestart(false);
}

void Alarm::EndSnooze() {
    s_.snooze.reset();
    if (!s_.snoozeRecorded) return;
    s_.snoozeRecorded = false;
    registryDB_.Write(settings::kSnoozeDate, "");
    registryDB_.Write(settings::kSnoozeTime, "");
}

void Alarm::RecordSnooze() {
    if (!s_.snooze || !s_.armedRecorded) return;
    registryDB_.Write(settings::kSnoozeDate, p_.clock.ShortDateText(s_.snooze->at.date));
    registryDB_.Write(settings::kSnoozeTime, NowTextOf(s_.snooze->at));
    s_.snoozeRecorded = true;
}

void Alarm::RecordRung() {
    s_.rungAt = AlarmAt();
    if (!s_.rungAt) return;
    registryDB_.Write(settings::kRungDate, p_.clock.ShortDateText(s_.AlarmDay));
    registryDB_.Write(settings::kRungTime, s_.AlarmTime);
}

void Alarm::CloseAfterFailure() {
    ForgetArmed();  // the arming did not complete: nothing to bring back
    host_.unload();
    p_.runtime.EndProgram();
}

void Alarm::cmdReset_Click() {
    BusyScope busy(alarmBusy_);
    ReleaseWake();
    ForgetArmed();
    view_.SetCaption(MainCtl::lblDate, "");
    s_.AlarmDate.clear();
    s_.AlarmDay = Date{};
    view_.SetCaption(MainCtl::txtTime, "");
    s_.AlarmTime.clear();
    show_.ShowStatus(kReady);
    show_.ShowTrayIconUnlit();
    view_.SysTray().SetToolTip(kTrayTipCleared);
    view_.SetEnabled(MainCtl::cmdReset, false);
    CalendarToToday();
    view_.SetFocus(MainCtl::cmdSet);

    // Withdraw a saved alarm so the cleared one does not come back at the next start.
    if (settings::IsYes(registryDB_.Read(settings::kSettingsSaved)))
        registryDB_.Write(settings::kSettingsSaved, settings::kNo);
}

// ---- Repeating ----

void Alarm::ShowAlarmDay(const Date& day) {
    s_.AlarmDay = day;
    s_.AlarmDate = p_.clock.ShortDateText(day);
    view_.SetCaption(MainCtl::lblDate, s_.AlarmDate);
    view_.SetCalendarDate(day);
    if (s_.armedRecorded) RecordArmed();
}

bool Alarm::MoveOn() {
    const std::optional<std::int64_t> moment = AlarmMoment();
    if (!moment) return false;
    // After the moment that rang and after now: the same day never comes back, not even when the clocks
    // are set back over it.
    const std::optional<Date> next = NextChosenDay(s_.repeat, std::max(p_.clock.UtcSeconds(), *moment));
    if (!next) return false;
    ShowAlarmDay(*next);
    ArmAlarm(ArmKind::MovedOn);  // an empty playlist was told at the first arming
    return true;
}

void Alarm::MoveOnIfRepeating() {
    if (!s_.armed || !s_.Repeating()) return;
    BusyScope busy(alarmBusy_);
    HaltAlarm(false);  // the player was dealt with by its own question
    if (!MoveOn()) show_.ShowSummary(Summary::Off);
}

void Alarm::LoadRepeat() {
    s_.repeat = RuleFromStored(registryDB_.Read(settings::kRepeat));
    TickRepeat(s_.repeat);
}

void Alarm::TickRepeat(RepeatRule rule) {
    for (const RepeatDef& def : kRepeatRules) view_.SetChecked(def.item, def.rule == rule);
}

std::optional<Date> Alarm::NextChosenDay(RepeatRule rule, std::int64_t after) {
    const std::optional<TimeOfDay> time = ParseAlarmTime(s_.AlarmTime);
    if (!time) return std::nullopt;
    return NextOccurrence(rule, s_.AlarmDay, *time, p_.clock, after);
}

void Alarm::mnuRepeat_Click(RepeatRule rule) {
    BusyScope busy(alarmBusy_);
    s_.repeat = rule;
    TickRepeat(rule);
    // An alarm waiting for its day goes to its next day under the new rule, never to a moment over; a
    // snoozed one rings again first and moves on when its ringing ends.
    if (s_.armed && s_.phase == AlarmPhase::Armed && !s_.snooze) {
        const std::optional<Date> day = NextChosenDay(rule, p_.clock.UtcSeconds() - 60);
        if (day && *day != s_.AlarmDay) {
            ShowAlarmDay(*day);
            NoteIfAhead();
            ScheduleWake();
        }
        show_.ShowSummary(Summary::Armed);
    }
    if (!SaveOption(registryDB_, p_.boxes, settings::kRepeat, DefOf(rule).name)) host_.unload();
}

}  // namespace chw
