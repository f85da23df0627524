#include "app/frmMain.h"
#include "settings/SettingsSchema.h"
#include "tray/TrayPicture.h"

namespace chw {

namespace {
constexpr int kRightButton = 2;

// What the tray's picture and tooltip are chosen from: the window's state as it is now.
TrayPictureInput TrayInputOf(frmMain& f) {
    IMainView& view = f.View();
    TrayPictureInput in;
    in.setCaption = view.Caption(MainCtl::cmdSet);
    in.setEnabled = view.Enabled(MainCtl::cmdSet);
    in.resetEnabled = view.Enabled(MainCtl::cmdReset);
    in.alarmTime = f.AlarmTime;
    in.alarmDate = f.AlarmDate;
    in.armedMark = f.ArmedMark;
    in.statusText = view.Caption(MainCtl::StatusBar1);
    in.currentIcon = view.SysTray().IconNumber();
    return in;
}
}  // namespace

void frmMain::mnuMinimizeToTray_Click() {
    // A fired alarm must be stopped from the window, not re-armed from the tray.
    if (!FiredMark.empty()) view_.SetEnabled(MainCtl::mnuSetAlarm, false);

    view_.ShowState(ShowCommand::Minimize);
    view_.Hide();
    InTrayMark = tray::kInTray;

    const TrayPictureInput in = TrayInputOf(*this);
    const TrayPicture picture = ChooseTrayPicture(in);
    trayStateWords_ = TrayStateWords(in);

    ITrayIcon& icon = view_.SysTray();
    trayTip_ = picture.toolTip;
    icon.SetToolTip(WithWakeNote(picture.toolTip));
    icon.SetIconNumber(picture.iconNumber);
    icon.SetShown(true);
    ShowTrayHintOnce();
    view_.MyTimer().SetEnabled(true);
}

void frmMain::RefreshTrayTip() {
    ITrayIcon& icon = view_.SysTray();
    if (!icon.Shown()) return;
    // Only a change of state changes the tooltip: a tooltip a handler set for the same state stays.
    const TrayPictureInput in = TrayInputOf(*this);
    const std::string words = TrayStateWords(in);
    if (words == trayStateWords_) return;
    trayStateWords_ = words;
    trayTip_ = ChooseTrayPicture(in).toolTip;
    icon.SetToolTip(WithWakeNote(trayTip_));
}

void frmMain::ShowTrayHintOnce() {
    using namespace settings;
    if (IsYes(registryDB_.ReadValue(kRoot, kKey, kTrayHintShown))) return;
    view_.SysTray().ShowHint(p_.runtime.AppTitle(), tray::kTrayHint);
    // A refused write only means the hint comes again next time: no box for that.
    registryDB_.WriteValue(kRoot, kKey, kTrayHintShown, kYes);
}

void frmMain::SysTray_MouseDown(int button) {
    // Only the right button opens the menu; clicks with the left button never restore the window.
    if (button == kRightButton) view_.PopUpOptionsMenu();
}

void frmMain::mnuShowApp_Click() {
    view_.Show();
    view_.Activate();
    view_.SysTray().SetShown(false);
    view_.ShowState(ShowCommand::Normal);
}

void frmMain::mnuConfigure_Click() { mnuConfigureWinAmp_Click(); }
void frmMain::mnuSetAlarm_Click() { cmdSet_Click(); }
void frmMain::mnuPopUpHelp_Click() { mnuContents_Click(); }

}  // namespace chw
