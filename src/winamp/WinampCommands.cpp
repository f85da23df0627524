#include <optional>

#include "alarm/AlarmTexts.h"
#include "app/frmMain.h"
#include "settings/SettingsSchema.h"
#include "tray/TrayPicture.h"
#include "winamp/PlayerLocation.h"
#include "winamp/WinampTexts.h"

namespace chw {

namespace {
constexpr const char* kNotFoundTitle = "Fatal Error!";
constexpr const char* kNotFoundText = "WinAmp Not Found!";
constexpr const char* kCloseText = "Are You Sure You Want To Close WinAmp?\r\nThis Will Close ALL OPEN INSTANCES OF WINAMP!";
}  // namespace

void frmMain::mnuStartWinAmp_Click() {
    if (winamp_.Locate() != 0) {
        p_.windows.Show(winamp_.WinampHwnd, ShowCommand::ShowDefault);
        return;
    }
    const std::optional<std::string> file = winamp::FindPlayer(p_.files, p_.registry);
    if (file && p_.processes.Launch(winamp::PlayerCommand(*file), WindowStyle::NormalFocus).Started()) return;
    // Without the player there is no alarm to sound.
    p_.boxes.Show(kNotFoundText, kNotFoundTitle, MbIcon::Critical, MbButtons::Ok);
    p_.runtime.EndProgram();
}

void frmMain::mnuCloseWinAmp_Click() {
    // While the alarm rings this item is the snooze: stop ringing first, whatever the answer below.
    if (!RingingMark.empty()) {
        SilenceAlarm();
        RingingMark.clear();
        view_.SetCaption(MainCtl::mnuCloseWinAmp, alarm::kCloseWinAmp);
        WinampWindowText.clear();
        view_.SetCaption(MainCtl::StatusBar1,
                         alarm::AlarmSummary(alarm::kPrefixOff, AlarmDate, AlarmTime, alarm::kTailSet));
    }
    if (p_.boxes.Show(kCloseText, winamp::kCloseWinAmpTitle, MbIcon::Question, MbButtons::YesNo) == MbAnswer::No) return;
    winamp_.CloseAll();
}

void frmMain::mnuLoadWinAmpOnStart_Click() {
    const bool on = !view_.Checked(MainCtl::mnuLoadWinAmpOnStart);
    view_.SetChecked(MainCtl::mnuLoadWinAmpOnStart, on);
    SaveOption(settings::kWinAmpOnStart, on);
}

void frmMain::mnuConfigureWinAmp_Click() {
    ITimer& timer = view_.MyTimer();
    timer.SetEnabled(false);
    if (view_.SysTray().Shown()) InTrayMark = tray::kInTray;
    if (!InTrayMark.empty()) {
        InTrayMark.clear();
        view_.ShowState(ShowCommand::Minimize);
        view_.SysTray().SetShown(true);
        view_.Hide();
        timer.SetEnabled(true);
    }
    timer.SetEnabled(true);
}

}  // namespace chw
