#include <string>

#include "app/StartupTexts.h"
#include "app/StartupTimings.h"
#include "app/frmMain.h"
#include "settings/SettingsSchema.h"
#include "winamp/PlayerLocation.h"

namespace chw {

void frmMain::Form_Load() {
    using namespace settings;

    view_.SetCaption(MainCtl::Form,
                     view_.Caption(MainCtl::Form) + " " + startup::VersionText(p_.runtime.ProgramVersion()));
    // Only the program's own Exit commands may close it: they ask about saving first.
    winamp_.GreySystemMenuItem(view_.Handle(), startup::kCloseItem, startup::kCloseItemPosition);
    view_.SetEnabled(MainCtl::cmdReset, false);
    // First, so that an alarm restored below is kept awake as the user chose.
    view_.SetChecked(MainCtl::mnuKeepAwake, IsYes(registryDB_.Read(kKeepAwake)));

    if (IsYes(registryDB_.Read(kSettingsSaved))) {
        const RegValue date = registryDB_.ReadValue(kRoot, kKeyNoSlash, kDate);
        const RegValue time = registryDB_.ReadValue(kRoot, kKeyNoSlash, kTime);
        // Half an alarm is no alarm, nor one whose texts do not read as a date and a time (edited by hand,
        // or saved under another date format): restore only when both halves are there and read.
        if (const std::optional<DateTime> saved = alarm_.ReadRecorded(date, time)) {
            s_.startOptionHeld = true;
            alarm_.RestoreAlarm(saved->date, *date, *time);
            view_.SetChecked(MainCtl::mnuStartInSystemTray, true);
        }
    }
    // The rule first: an armed alarm read back below moves on by it.
    alarm_.LoadRepeat();
    alarm_.RestoreArmed();

    if (IsYes(registryDB_.Read(kStartInTray))) {
        s_.startsInTray = true;  // tells the start-up not to show the window
        mnuMinimizeToTray_Click();
    } else {
        view_.SetChecked(MainCtl::mnuStartInSystemTray, false);
    }

    // A load that cannot go on closes the window as a close request does, and ends the program.
    auto quit = [this] { Unload(); p_.runtime.EndProgram(); };
    const RegValue winampOnStart = registryDB_.Read(kWinAmpOnStart);
    if (!winampOnStart) {
        ShowRegistryError(p_.boxes);
        return quit();
    }
    if (IsYes(winampOnStart)) {
        const std::optional<std::string> player = winamp::FindPlayer(p_.files, p_.registry);
        if (!player ||
            !p_.processes.Launch(winamp::PlayerCommand(*player), WindowStyle::MinimizedNoFocus).Started()) {
            show_.ShowStatus(startup::kWinampLoadFailed);
            p_.runtime.Pause(startup::kWinampFailedPauseMs);
            p_.boxes.Show(startup::kWinampLoadErrorText, startup::kWinampLoadErrorTitle, MbIcon::Critical,
                          MbButtons::Ok);
            return quit();
        }
        show_.ShowStatus(startup::kWinampActivated);
    } else {
        view_.SetChecked(MainCtl::mnuLoadWinAmpOnStart, false);
    }

    // Today's parts come from the date itself, not from its text, which has no fixed layout.
    const Date today = p_.clock.Now().date;
    p_.runtime.Pause(startup::kDatePauseMs);
    s_.today = today;

    view_.SetCalendarDate(today);
}

}  // namespace chw
