// The main window's logic: every event handler of the window and its menus, on the alarm's state.
// Each handler lives in the folder of its subsystem (see the README's layout).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "alarm/AlarmState.h"
#include "app/AlarmPresenter.h"
#include "platform/MainView.h"
#include "platform/Platform.h"
#include "settings/RegistryDB.h"
#include "winamp/Winamp_Access.h"

namespace chw {

class frmMain {
public:
    frmMain(Platform& platform, IMainView& view, Winamp_Access& winamp);

    // The alarm's state, and what shows it.
    AlarmState& State() { return s_; }
    AlarmPresenter& Presenter() { return show_; }

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
    // A day or a time was chosen: the alarm counts as seen ahead only if its minute is still to come.
    void AlarmChosen();
    void NoteIfAhead();
    // The armed alarm's own record in the settings (and the restart by Windows that goes with it).
    void RecordArmed();
    void ForgetArmed();
    void RestoreArmed();
    // A saved alarm read back at load: chosen again, its summary the start's last status.
    void RestoreAlarm(const Date& day, const std::string& date, const std::string& time);
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

    AlarmState s_;
    AlarmPresenter show_{view_, s_};
    // Nonzero while an alarm handler waits in a message box: a tick that arrives meanwhile (Windows keeps
    // timers going under modal boxes) only shows the clock, so it cannot fire or restart the player behind
    // the handler's back, nor fire a second time from inside the firing.
    int alarmBusy_ = 0;
};

}  // namespace chw
