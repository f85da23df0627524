// The Settings menu's start option: start with Windows, in the tray.
#pragma once

#include <functional>

#include "alarm/AlarmDisplay.h"
#include "platform/MainView.h"
#include "platform/Platform.h"
#include "settings/RegistryDB.h"

namespace chw {

class StartupOptions {
public:
    // unload: the close request that follows a refused write.
    StartupOptions(Platform& platform, IMainView& view, RegistryDB& settings, AlarmDisplay& display,
                   std::function<bool()> unload)
        : p_(platform), view_(view), registryDB_(settings), show_(display), unload_(std::move(unload)) {}

    void mnuStartInSystemTray_Click();

private:
    Platform& p_;
    IMainView& view_;
    RegistryDB& registryDB_;
    AlarmDisplay& show_;
    std::function<bool()> unload_;
};

}  // namespace chw
