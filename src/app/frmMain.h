// The main window's logic: routes each event of the window and its menus to the subsystem that handles
// it, all of them sharing the alarm's state and the presenter that shows it.
#pragma once

#include "alarm/Alarm.h"
#include "alarm/AlarmState.h"
#include "app/AlarmPresenter.h"
#include "app/Shutdown.h"
#include "help/Help.h"
#include "platform/MainView.h"
#include "platform/Platform.h"
#include "settings/RegistryDB.h"
#include "tray/StartupOptions.h"
#include "tray/Tray.h"
#include "winamp/PlayerCommands.h"
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
    static constexpr int kWindowsEnding = Shutdown::kWindowsEnding;
    void Form_QueryUnload(bool& cancel, int unloadMode) { shutdown_.Form_QueryUnload(cancel, unloadMode); }
    void mnuExitApp_Click() { Unload(); }
    void mnuExit_Click() { Unload(); }
    bool Unload() { return shutdown_.Unload(); }

    // ---- The alarm ----
    void MonthView_DateClick(const Date& clicked) { alarm_.MonthView_DateClick(clicked); }
    void txtTime_Click() { alarm_.txtTime_Click(); }
    void txtTime_Validate(bool& cancel) { alarm_.txtTime_Validate(cancel); }
    void cmdSet_Click() { alarm_.cmdSet_Click(); }
    void cmdReset_Click() { alarm_.cmdReset_Click(); }
    void MyTimer_Timer() { alarm_.MyTimer_Timer(); }
    void ScheduleWake() { alarm_.ScheduleWake(); }
    void mnuKeepAwake_Click() { alarm_.mnuKeepAwake_Click(); }
    void Form_TimeChange() { alarm_.Form_TimeChange(); }
    void ResumeArmedAlarm() { alarm_.ResumeArmedAlarm(); }
    void mnuRepeatOnce_Click() { alarm_.mnuRepeat_Click(alarm::RepeatRule::Once); }
    void mnuRepeatEveryDay_Click() { alarm_.mnuRepeat_Click(alarm::RepeatRule::EveryDay); }
    void mnuRepeatWeekdays_Click() { alarm_.mnuRepeat_Click(alarm::RepeatRule::Weekdays); }
    void mnuRepeatEveryWeek_Click() { alarm_.mnuRepeat_Click(alarm::RepeatRule::EveryWeek); }
    void mnuRingAgain_Click() { alarm_.mnuRingAgain_Click(); }
    void mnuPopUpRingAgain_Click() { mnuRingAgain_Click(); }

    // ---- Winamp commands ----
    void mnuStartWinAmp_Click() { player_.mnuStartWinAmp_Click(); }
    // While the alarm rings this item is the snooze: stop ringing first, whatever the answer after.
    // A repeating alarm moves on after the question about the player, so that a Yes there cannot close
    // the player taken over for its next day.
    void mnuCloseWinAmp_Click() {
        const bool ringingEnded = alarm_.SnoozeFromMenu();
        player_.mnuCloseWinAmp_Click();
        if (ringingEnded) alarm_.MoveOnIfRepeating();
    }
    void mnuConfigureWinAmp_Click() { tray_.mnuConfigureWinAmp_Click(); }
    void mnuLoadWinAmpOnStart_Click() { player_.mnuLoadWinAmpOnStart_Click(); }

    // ---- Tray ----
    void SysTray_MouseDown(int button) { tray_.SysTray_MouseDown(button); }
    void mnuMinimizeToTray_Click() { tray_.mnuMinimizeToTray_Click(); }
    void mnuShowApp_Click() { tray_.mnuShowApp_Click(); }
    void mnuConfigure_Click() { mnuConfigureWinAmp_Click(); }
    void mnuSetAlarm_Click() { cmdSet_Click(); }
    void mnuPopUpHelp_Click() { mnuContents_Click(); }
    void mnuStartInSystemTray_Click() { startOptions_.mnuStartInSystemTray_Click(); }
    // After each event: while the window is in the tray, its icon's tooltip follows the alarm's state
    // (armed, stopped or ringing from the tray), in words.
    void RefreshTrayTip() { show_.RefreshTrayTip(); }

    // ---- Help ----
    void mnuContents_Click() { help_.mnuContents_Click(); }
    void mnuAbout_Click() { help_.mnuAbout_Click(); }
    void mnuUpdate_Click() { help_.mnuUpdate_Click(); }

    IMainView& View() { return view_; }

private:
    Platform& p_;
    IMainView& view_;
    Winamp_Access& winamp_;
    RegistryDB registryDB_;
    AlarmState s_;
    AlarmPresenter show_{view_, s_};
    Alarm alarm_;
    Shutdown shutdown_;
    PlayerCommands player_;
    Tray tray_;
    StartupOptions startOptions_;
    Help help_;
};

}  // namespace chw
