// The tray: the window going there and coming back, the icon's clicks, and the first-time hint.
#pragma once

#include "alarm/AlarmDisplay.h"
#include "alarm/AlarmState.h"
#include "platform/MainView.h"
#include "platform/Platform.h"
#include "settings/RegistryDB.h"

namespace chw {

class Tray {
public:
    Tray(Platform& platform, IMainView& view, RegistryDB& settings, AlarmState& state, AlarmDisplay& display)
        : p_(platform), view_(view), registryDB_(settings), s_(state), show_(display) {}

    void mnuMinimizeToTray_Click();
    void mnuShowApp_Click();
    void SysTray_MouseDown(int button);
    // The player's settings window: a window that belongs in the tray goes back there.
    void mnuConfigureWinAmp_Click();

private:
    // Where the icon is, the first time it shows on this PC.
    void ShowTrayHintOnce();

    Platform& p_;
    IMainView& view_;
    RegistryDB& registryDB_;
    AlarmState& s_;
    AlarmDisplay& show_;
};

}  // namespace chw
