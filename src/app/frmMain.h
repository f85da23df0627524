// The main window's logic: the alarm's state and every event handler of the window and its menus.
// Each handler lives in the folder of its subsystem (see the README's layout).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/MainView.h"
#include "platform/Platform.h"
#include "settings/RegistryDB.h"
#include "winamp/Winamp_Access.h"

namespace chw {

class frmMain {
public:
    frmMain(Platform& platform, IMainView& view, Winamp_Access& winamp);

    // ---- The alarm's state: texts, empty means not set. ----
    std::string AlarmDate;         // the chosen day in the short-date form
    std::string AlarmTime;         // "7:05 PM"
    std::string ArmedMark;         // "Set" while armed
    std::string FiredMark;         // "!" once fired, until the stop
    std::string RingingMark;       // "Playing" while ringing, until a snooze
    std::string WinampWindowText;  // handle text of the player taken over; "In Tray" briefly at start-up
    std::string NowText;           // the current minute in the form of AlarmTime
    std::string InTrayMark;        // "In Tray" once sent to the tray
    // The alarm's day as a date, beside its text: a change of the date format cannot lose it. Year 0: none.
    Date AlarmDay;

    // Today's date parts, taken at load; they move the calendar back to today.
    std::string TodayMonth;
    std::string TodayDay;
    std::string TodayYear;

    // The status text that the start-up puts on the status line when it ends (a restored alarm).
    std::string StartupStatusText;

    // ---- Life of the window ----
    void Form_Load();
    // unloadMode: why the window closes; kWindowsEnding when Windows ends the session.
    static constexpr int kWindowsEnding = 2;
    void Form_QueryUnload(bool& cancel, int unloadMode);
    void mnuExitApp_Click();
    void mnuExit_Click();
    // Asks the window to close, as any close request does; false when the user kept it open.
    bool Unload();

    // ---- The alarm ----
    void MonthView_DateClick(const Date& clicked);
    void txtTime_Click();
    void txtTime_Validate(bool& cancel);
    void cmdSet_Click();
    void cmdReset_Click();
    void MyTimer_Timer();
    // Sets the wake timer for the armed alarm still to come (cancels it otherwise) and tells whether this
    // PC will wake for it; keeps the PC awake meanwhile where the user chose so. The one place that
    // (re)sets the wake timer.
    void ScheduleWake();
    void mnuKeepAwake_Click();
    // The system's clock or time zone changed.
    void Form_TimeChange();
    // At the end of the start-up: an alarm that was armed when the last run ended without its Exit is
    // armed again (or rung, or reported missed).
    void ResumeArmedAlarm();

    // ---- Winamp commands ----
    void mnuStartWinAmp_Click();
    void mnuCloseWinAmp_Click();
    void mnuConfigureWinAmp_Click();
    void mnuLoadWinAmpOnStart_Click();

    // ---- Tray ----
    void SysTray_MouseDown(int button);
    void mnuMinimizeToTray_Click();
    void mnuShowApp_Click();
    void mnuConfigure_Click();
    void mnuSetAlarm_Click();
    void mnuPopUpHelp_Click();
    void mnuStartInSystemTray_Click();
    // After each event: while the window is in the tray, its icon's tooltip follows the alarm's state
    // (armed, stopped or ringing from the tray), in words.
    void RefreshTrayTip();

    // ---- Help ----
    void mnuContents_Click();
    void mnuAbout_Click();
    void mnuUpdate_Click();

    IMainView& View() { return view_; }
    Winamp_Access& Winamp() { return winamp_; }

private:
    // Moves the calendar back to today (TodayMonth, TodayDay, TodayYear).
    void CalendarToToday();
    // True when a new player came up (hidden).
    bool RestartVanishedPlayer();
    // Whether the alarm's moment has come: not yet, ring now, or too late to ring.
    enum class Due { No, Ring, Missed };
    Due AlarmDue();
    void FireAlarm();
    bool PlayerPlaysAfterAll(bool playReachedIt);
    // From the firing until the stop or the tray's snooze.
    bool Ringing() const;
    void KeepRinging(bool restarted);
    void PlayOnceMore(std::uint64_t now);
    void SoundBuiltIn();
    void ShowSilentAlarm();
    void MissAlarm();
    // The alarm's day and minute in local time, and its moment in UTC seconds, when both are set.
    std::optional<DateTime> AlarmAt();
    std::optional<std::int64_t> AlarmMoment();
    // A day or a time was chosen: the alarm counts as seen ahead only if its minute is still to come.
    void AlarmChosen();
    void NoteIfAhead();
    // The armed alarm's own record in the settings (and the restart by Windows that goes with it).
    void RecordArmed();
    void ForgetArmed();
    void RestoreArmed();
    // The alarm that rang or was reported missed, in memory and in the settings.
    void RecordRung();
    void RestoreRung();
    void TellIfPlaylistEmpty(bool empty);
    // The stop's part that a missed alarm shares: the player quietened and closed, the inputs enabled.
    void HaltAlarm(bool closePlayer);
    // Ends whatever the program does to make the ringing heard: its own sound, keeping the PC awake.
    void SilenceAlarm();
    // The alarm no longer waits for its moment (stop, disarm, clear, exit): no wake timer, no keeping awake.
    void ReleaseWake();
    // "PC Must Stay Awake" / "Keeping PC Awake" in the status bar's second part and the tray's tooltip,
    // while the armed alarm waits for its moment.
    void ShowWakeNote();
    std::string WithWakeNote(const std::string& trayTip) const;
    // Where the icon is, the first time it shows on this PC.
    void ShowTrayHintOnce();
    // The press of cmdSet and the arming; true when the player's playlist turned out empty.
    bool PressSet();
    // restored: armed again at start-up, without the question, and without the take-over's wait when
    // its moment has already come.
    bool ArmAlarm(bool restored = false);
    void CloseAfterFailure();
    // A menu option's "Yes"/"No" saved at once; a refused write is the registry error, then the close.
    void SaveOption(const char* name, bool on);
    std::optional<Date> ReadSavedDate(const std::string& text);

    Platform& p_;
    IMainView& view_;
    Winamp_Access& winamp_;
    RegistryDB registryDB_;

    // The watch's restart of a vanished player: when it last failed to start (ms of IClock::TickMs).
    bool restartFailed_ = false;
    std::uint64_t restartFailedAt_ = 0;
    // Nonzero while an alarm handler waits in a message box: a tick that arrives meanwhile (Windows keeps
    // timers going under modal boxes) only shows the clock, so it cannot fire or restart the player behind
    // the handler's back, nor fire a second time from inside the firing.
    int alarmBusy_ = 0;
    // The alarm (local day and minute) that last rang or was missed: the watch does not take it up again
    // until an arming. Local, not UTC: another time zone must not make it a different alarm.
    std::optional<DateTime> rungAt_;
    // The alarm last seen before its minute was over. Only such an alarm rings late or is missed: a time
    // already over when it was chosen never rings.
    std::optional<DateTime> seenAhead_;
    // The moment the wake was last set for, while set.
    std::optional<std::int64_t> wakeFor_;
    bool armedRecorded_ = false;
    bool resumePending_ = false;
    bool keptAwake_ = false;
    // The state the tray's tooltip last told, in its words.
    std::string trayStateWords_;
    // The wake: whether this PC may sleep through the alarm, and whether the program keeps it awake.
    bool mustStayAwake_ = false;
    bool keepingAwake_ = false;
    std::string wakeNote_;
    std::string trayTip_;  // the tray icon's tooltip before the wake note
    bool builtInSounding_ = false;
    // What the ringing has done to stay heard (ms of IClock::TickMs), reset at each firing.
    struct RingOn {
        std::optional<std::uint64_t> silentSince;  // the player first seen not playing
        std::optional<std::uint64_t> playAskedAt;  // Play pressed again, its answer awaited
        bool replayed = false;                     // the one Play again has been used
        bool fellBack = false;                     // our own sound was tried: nothing more to check
    };
    RingOn ringOn_;
    bool flashing_ = false;   // the window flashes for a silent alarm
};

}  // namespace chw
