// The main window's logic: the alarm's state and every event handler of the window and its menus.
// Each handler lives in the folder of its subsystem; the file is named beside it.
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

    // ---- Life of the window (app/) ----
    void Form_Load();                                    // app/frmMain_Load.cpp
    void Form_QueryUnload(bool& cancel, int unloadMode);  // app/frmMain_QueryUnload.cpp
    void mnuExitApp_Click();                             // app/frmMain_QueryUnload.cpp
    void mnuExit_Click();                                // app/frmMain_QueryUnload.cpp
    // Asks the window to close, as any close request does; false when the user kept it open.
    bool Unload();                                       // app/frmMain_QueryUnload.cpp

    // ---- The alarm (alarm/) ----
    void MonthView_DateClick(const Date& clicked);  // alarm/DateTimeEntry.cpp
    void txtTime_Click();                           // alarm/DateTimeEntry.cpp
    void txtTime_Validate(bool& cancel);            // alarm/DateTimeEntry.cpp
    void cmdSet_Click();                            // alarm/Arming.cpp
    void cmdReset_Click();                          // alarm/Arming.cpp
    void MyTimer_Timer();                           // alarm/Watch.cpp

    // ---- Winamp commands (winamp/WinampCommands.cpp) ----
    void mnuStartWinAmp_Click();
    void mnuCloseWinAmp_Click();
    void mnuConfigureWinAmp_Click();
    void mnuLoadWinAmpOnStart_Click();

    // ---- Tray (tray/) ----
    void SysTray_MouseDown(int button);  // tray/TrayCommands.cpp; 2 is the right button
    void mnuMinimizeToTray_Click();      // tray/TrayCommands.cpp
    void mnuShowApp_Click();             // tray/TrayCommands.cpp
    void mnuConfigure_Click();           // tray/TrayCommands.cpp
    void mnuSetAlarm_Click();            // tray/TrayCommands.cpp
    void mnuPopUpHelp_Click();           // tray/TrayCommands.cpp
    void mnuStartInSystemTray_Click();   // tray/StartupOptions.cpp

    // ---- Help (help/HelpCommands.cpp) ----
    void mnuContents_Click();
    void mnuAbout_Click();
    void mnuUpdate_Click();

    IMainView& View() { return view_; }
    Winamp_Access& Winamp() { return winamp_; }

private:
    // Moves the calendar back to today (TodayMonth, TodayDay, TodayYear).
    void CalendarToToday();  // alarm/DateTimeEntry.cpp
    void RestartVanishedPlayer();  // alarm/Watch.cpp
    // Whether the alarm's moment has come: not yet, ring now, or too late to ring.
    enum class Due { No, Ring, Missed };
    Due AlarmDue();                // alarm/Watch.cpp
    void FireAlarm();              // alarm/Watch.cpp
    bool PlayerPlaysAfterAll(bool playReachedIt);  // alarm/Watch.cpp
    void SoundBuiltIn();           // alarm/Watch.cpp
    void MissAlarm();              // alarm/Watch.cpp
    // The alarm's moment in UTC seconds, when its day and time are set.
    std::optional<std::int64_t> AlarmMoment();  // alarm/Watch.cpp
    // The stop's part that a missed alarm shares: the player quietened and closed, the inputs enabled.
    void HaltAlarm(bool closePlayer);              // alarm/Arming.cpp
    // Ends whatever the program does to make the ringing heard: its own sound, keeping the PC awake.
    void SilenceAlarm();           // alarm/Arming.cpp
    // The press of cmdSet and the arming; true when the player's playlist turned out empty.
    bool PressSet();               // alarm/Arming.cpp
    bool ArmAlarm();               // alarm/Arming.cpp
    void CloseAfterFailure();      // alarm/Arming.cpp
    std::optional<Date> ReadSavedDate(const std::string& text);  // app/frmMain_Load.cpp

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
    // The moment that last rang or was missed: the watch does not take it up again until an arming.
    std::optional<std::int64_t> rungMoment_;
    bool keptAwake_ = false;
};

}  // namespace chw
