#include "app/frmMain.h"

#include "settings/SettingsSchema.h"

namespace chw {

frmMain::frmMain(Platform& platform, IMainView& view, Winamp_Access& winamp)
    : p_(platform), view_(view), winamp_(winamp), registryDB_(platform.registry) {}

void frmMain::SaveOption(const char* name, bool on) {
    if (registryDB_.WriteValue(settings::kRoot, settings::kKey, name, on ? settings::kYes : settings::kNo)) return;
    ShowRegistryError(p_.boxes);
    Unload();
}

}  // namespace chw
