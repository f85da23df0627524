#include "tray/Tray.h"
#include "settings/SettingsSchema.h"
#include "tray/TrayTexts.h"

namespace chw {

namespace {
constexpr int kRightButton = 2;
}  // namespace

void Tray::mnuMinimizeToTray_Click() {
    // A fired alarm must be stopped from the window, not re-armed from the tray.
    if (s_.fired) {
        s_.trayArmWithheld = true;
        show_.ShowState();
    }

    view_.ShowState(ShowCommand::Minimize);
    view_.Hide();
    s_.inTray = true;
    show_.ShowInTray();
    ShowTrayHintOnce();
    view_.MyTimer().SetEnabled(true);
}

void Tray::ShowTrayHintOnce() {
    using namespace settings;
    if (IsYes(registryDB_.Read(kTrayHintShown))) return;
    view_.SysTray().ShowBalloon(p_.runtime.AppTitle(), tray::kTrayHint, BalloonKind::Info);
    // A refused write only means the hint comes again next time: no box for that.
    registryDB_.Write(kTrayHintShown, kYes);
}

void Tray::SysTray_MouseDown(int button) {
    // Only the right button opens the menu; clicks with the left button never restore the window.
    if (button == kRightButton) view_.PopUpOptionsMenu();
}

void Tray::mnuShowApp_Click() {
    view_.Show();
    view_.Activate();
    view_.SysTray().SetShown(false);
    view_.ShowState(ShowCommand::Normal);
}

void Tray::mnuConfigureWinAmp_Click() {
    ITimer& timer = view_.MyTimer();
    timer.SetEnabled(false);
    if (s_.inTray || view_.SysTray().Shown()) {
        s_.inTray = false;
        view_.ShowState(ShowCommand::Minimize);
        view_.SysTray().SetShown(true);
        view_.Hide();
    }
    timer.SetEnabled(true);
}

}  // namespace chw
