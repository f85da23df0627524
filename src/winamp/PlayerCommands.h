// The player's menu commands: start it, close every copy, and whether it starts with the program.
#pragma once

#include <functional>

#include "platform/MainView.h"
#include "platform/Platform.h"
#include "settings/RegistryDB.h"
#include "winamp/Winamp_Access.h"

namespace chw {

class PlayerCommands {
public:
    // unload: the close request that follows a refused write of an option.
    PlayerCommands(Platform& platform, IMainView& view, Winamp_Access& winamp, RegistryDB& settings,
                   std::function<bool()> unload)
        : p_(platform), view_(view), winamp_(winamp), registryDB_(settings), unload_(std::move(unload)) {}

    void mnuStartWinAmp_Click();
    void mnuCloseWinAmp_Click();
    void mnuLoadWinAmpOnStart_Click();

private:
    Platform& p_;
    IMainView& view_;
    Winamp_Access& winamp_;
    RegistryDB& registryDB_;
    std::function<bool()> unload_;
};

}  // namespace chw
