// The alarm: its day and time chosen, its arming and disarming, the watch that rings it, the ringing
// until the stop, the wake, and its records in the settings.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "alarm/AlarmDisplay.h"
#include "alarm/AlarmState.h"
#include "platform/MainView.h"
#include "platform/Platform.h"
#include "settings/RegistryDB.h"
#include "winamp/Winamp_Access.h"

namespace chw {

class Alarm {
public:
    // What the alarm asks of the rest of the window.
    struct Host {
        std::function<bool()> unload;  // the close request; false when the user kept the window open
        // The Settings menu's start options, toggled as a click does.
        std::function<void()> toggleStartInTray;
        std::function<void()> toggleLoadPlayerOnStart;
    };

    Alarm(Platform& platform, IMainView& view, Winamp_Access& winamp, RegistryDB& settings, AlarmState& state,
          AlarmDisplay& display, Host host)
        : p_(platform), view_(view), winamp_(winamp), registryDB_(settings), s_(state), show_(display),
          host_(std::move(host)) {}

    void MonthView_DateClick(const Date& clicked);
    void txtTime_Click();
    void txtTime_Validate(bool& cancel);
    void cmdSet_Click();
    void cmdReset_Click();
    void MyTimer_Timer();
    // The player menu's Snooze while the alarm rings: silenced, the player let go. True when it ended a
    // repeating alarm's ringing: the caller moves it on (MoveOnIfRepeating) once the player is dealt with.
    bool SnoozeFromMenu();
    // A repeating alarm whose ringing has ended goes on to its next day, armed as an arming leaves it.
    void MoveOnIfRepeating();
    // "Ring Again In 10 Minutes": silenced as the stop does, the player paused, and armed for ten minutes on.
    void mnuRingAgain_Click();
    // Settings > Repeat: the rule saved and ticked; an armed alarm moves to its next day under it.
    void mnuRepeat_Click(alarm::RepeatRule rule);
    // The rule as saved, ticked at load (before the armed record is read back).
    void LoadRepeat();
    // Sets the wake timer for the armed alarm still to come (cancels it otherwise) and tells whether this
    // PC will wake for it; keeps the PC awake meanwhile where the user chose so. The one place that
    // (re)sets the wake timer.
    void ScheduleWake();
    void mnuKeepAwake_Click();
    // The system's clock or time zone changed.
    void Form_TimeChange();

    // ---- Start-up ----
    // A day and a minute recorded as a short-date text and an alarm time, read back as written; nothing
    // if either is missing or unreadable.
    std::optional<DateTime> ReadRecorded(const RegValue& date, const RegValue& time);
    // A saved alarm read back at load: chosen again, its summary the start's last status.
    void RestoreAlarm(const Date& day, const std::string& date, const std::string& time);
    // The armed record of a run that ended without its Exit, and what rang last.
    void RestoreArmed();
    // At the end of the start-up: an alarm that was armed when the last run ended without its Exit is
    // armed again (or rung, or reported missed).
    void ResumeArmedAlarm();

    // ---- Shutdown ----
    // Ends whatever the program does to make the ringing heard: its own sound, keeping the PC awake.
    void SilenceAlarm();
    // The alarm no longer waits for its moment (stop, disarm, clear, exit): no wake timer, no keeping awake.
    void ReleaseWake();
    // The armed record withdrawn (and the restart by Windows that goes with it).
    void ForgetArmed();

private:
    // Moves the calendar back to today (as taken at load).
    void CalendarToToday();
    // True when a new player came up (hidden).
    bool RestartVanishedPlayer();
    // Whether the alarm's moment has come: not yet, ring now, or too late to ring.
    enum class Due { No, Ring, Missed };
    Due AlarmDue();
    void FireAlarm();
    bool PlayerPlaysAfterAll(bool playReachedIt);
    void KeepRinging(bool restarted);
    void PlayOnceMore(std::uint64_t now);
    void SoundBuiltIn();
    void ShowSilentAlarm();
    void MissAlarm();
    // The alarm's day and minute in local time, and its moment in UTC seconds, when both are set.
    std::optional<DateTime> AlarmAt();
    std::optional<std::int64_t> AlarmMoment();
    // The moment the alarm rings next: a snooze's, else the alarm's own.
    std::optional<std::int64_t> NextRingMoment();
    // The alarm's day changed by the program: its text, the calendar and the armed record follow.
    void ShowAlarmDay(const Date& day);
    // The next day of a repeating alarm after the one that rang, armed again; false when there is none.
    bool MoveOn();
    // A day or a time was chosen: the alarm counts as seen ahead only if its minute is still to come.
    void AlarmChosen();
    void NoteIfAhead();
    void RecordArmed();
    // The day a repeating alarm would next ring by the rule, from its chosen day, its moment after `after`
    // (UTC seconds): a minute ago for an arming, so that an alarm in its own minute still rings there.
    std::optional<Date> NextChosenDay(alarm::RepeatRule rule, std::int64_t after);
    // Settings > Repeat's items ticked for the rule.
    void TickRepeat(alarm::RepeatRule rule);
    // The snooze ended (it rang, was stopped, or the alarm was armed anew), in memory and in the settings.
    void EndSnooze();
    void RecordSnooze();
    void RestoreSnooze();
    // The alarm that rang or was reported missed, in memory and in the settings.
    void RecordRung();
    void RestoreRung();
    void TellIfPlaylistEmpty(bool empty);
    // The stop's part that a missed alarm shares: the player quietened and closed, the inputs enabled.
    void HaltAlarm(bool closePlayer);
    // The press of cmdSet and the arming, and the resumed arming; true when the player's playlist turned
    // out empty. The watch waits until they return.
    bool PressSet();
    bool Resume();
    // Pressed: by the user, who is asked about starting with Windows. Restored: armed again at start-up,
    // without the question, and without the take-over's wait when its moment has already come. MovedOn:
    // a repeating alarm's next day, without the question.
    enum class ArmKind { Pressed, Restored, MovedOn };
    bool ArmAlarm(ArmKind kind = ArmKind::Pressed);
    void CloseAfterFailure();

    Platform& p_;
    IMainView& view_;
    Winamp_Access& winamp_;
    RegistryDB& registryDB_;
    AlarmState& s_;
    AlarmDisplay& show_;
    Host host_;
    // Nonzero while an alarm handler waits in a message box: a tick that arrives meanwhile (Windows keeps
    // timers going under modal boxes) only shows the clock, so it cannot fire or restart the player behind
    // the handler's back, nor fire a second time from inside the firing.
    int alarmBusy_ = 0;
};

}  // namespace chw
