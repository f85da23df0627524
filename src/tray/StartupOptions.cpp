#include "platform/ProductNames.h"
#include "tray/StartupOptions.h"
#include "settings/SettingsSchema.h"

namespace chw {

namespace {
constexpr const char* kStatusNoStart = CHW_PRODUCT " Will Not Start With Windows.  Ready.";
constexpr const char* kStatusStartInTray = "CHWL Will Minimize To The System Tray Upon Start.  Ready.";
// Switched off for this user, but an entry for all users that only an administrator may change
// still starts the program.
constexpr const char* kStatusStillStarts =
    CHW_PRODUCT " Will Still Start With Windows: An Administrator Set It For All Users.  Ready.";
constexpr const char* kStatusSwitchedOffByWindows =
    CHW_PRODUCT " Will Not Start With Windows: It Is Switched Off In Task Manager's Startup Apps.  Ready.";

// Windows starts the program from an entry whose command is not switched off by a leading "-".
bool StartsAtLogon(const RegValue& command) { return command && !command->empty() && command->front() != '-'; }

// Windows' startup lists keep their own switch beside the Run entry.
bool SwitchedOffByWindows(IRegistry& registry, Hive hive) {
    const auto approved = registry.GetBinary(hive, settings::kStartupApprovedKey, settings::kRunValue);
    return approved && !approved->empty() && ((*approved)[0] & 1) != 0;
}

// The Run entry in the machine's Run key, or where a standard user may not change that, in the
// user's own. At most one of the two is left on, so that logging on never starts two copies.
bool WriteRunEntry(RegistryDB& db, bool on) {
    using namespace settings;
    const char* command = on ? kRunCommand : kRunCommandOff;
    if (db.WriteValue(kRoot, kRunKey, kRunValue, command)) {
        // The user's own entry from an earlier refusal would start a second copy, or outlive an off.
        if (!StartsAtLogon(db.ReadValue(kUserRoot, kRunKey, kRunValue))) return true;
        return db.WriteValue(kUserRoot, kRunKey, kRunValue, kRunCommandOff);
    }
    if (on && StartsAtLogon(db.ReadValue(kRoot, kRunKey, kRunValue))) return true;
    // A fresh profile may not have the user's Run key yet.
    return db.CreateKey(kUserRoot, kRunKey) && db.WriteValue(kUserRoot, kRunKey, kRunValue, command);
}
}  // namespace

void StartupOptions::mnuStartInSystemTray_Click() {
    using namespace settings;
    const bool switchingOff = view_.Checked(MainCtl::mnuStartInSystemTray);
    view_.SetChecked(MainCtl::mnuStartInSystemTray, !switchingOff);

    // Off: stop the tray start first, then the Run entry. On: the Run entry first.
    const bool trayFlagSteps[2] = {switchingOff, !switchingOff};
    for (bool trayFlag : trayFlagSteps) {
        const bool written = trayFlag ? registryDB_.Write(kStartInTray, switchingOff ? kNo : kYes)
                                      : WriteRunEntry(registryDB_, !switchingOff);
        if (written) continue;
        ShowRegistryError(p_.boxes);
        // The user may keep the window open at the close question; then finish what we started.
        if (unload_()) return;
    }
    // The entry that starts the program: the machine's where it is on, else the user's own.
    const bool machineStarts = StartsAtLogon(registryDB_.ReadValue(kRoot, kRunKey, kRunValue));
    const bool blocked = SwitchedOffByWindows(p_.registry, machineStarts ? kRoot : kUserRoot);
    if (!switchingOff) {
        show_.ShowStatus(blocked ? kStatusSwitchedOffByWindows : kStatusStartInTray);
        return;
    }
    show_.ShowStatus(machineStarts && !blocked ? kStatusStillStarts : kStatusNoStart);
}

}  // namespace chw
