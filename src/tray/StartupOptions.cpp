#include "app/frmMain.h"
#include "settings/SettingsSchema.h"

namespace chw {

namespace {
constexpr const char* kStatusNoStart = "Chimewell Will Not Start With Windows.  Ready.";
constexpr const char* kStatusStartInTray = "CHWL Will Minimize To The System Tray Upon Start.  Ready.";
}  // namespace

void frmMain::mnuStartInSystemTray_Click() {
    using namespace settings;
    struct Write {
        const char* key;
        const char* name;
        const char* data;
    };

    const bool switchingOff = view_.Checked(MainCtl::mnuStartInSystemTray);
    view_.SetChecked(MainCtl::mnuStartInSystemTray, !switchingOff);

    // Off: stop the tray start first, then the Run entry. On: the Run entry first.
    const Write writes[2] = {
        switchingOff ? Write{kKey, kStartInTray, kNo} : Write{kRunKey, kRunValue, kRunCommand},
        switchingOff ? Write{kRunKey, kRunValue, kRunCommandOff} : Write{kKey, kStartInTray, kYes},
    };
    for (const Write& w : writes) {
        if (registryDB_.WriteValue(kRoot, w.key, w.name, w.data, kStringType)) continue;
        ShowRegistryError(p_.boxes);
        // The user may keep the window open at the close question; then finish what we started.
        if (Unload()) return;
    }
    view_.SetCaption(MainCtl::StatusBar1, switchingOff ? kStatusNoStart : kStatusStartInTray);
}

}  // namespace chw
