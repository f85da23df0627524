#include <string>

#include "alarm/AlarmMoment.h"
#include "alarm/AlarmTexts.h"
#include "app/StartupTexts.h"
#include "app/StartupTimings.h"
#include "app/frmMain.h"
#include "settings/SettingsSchema.h"
#include "tray/TrayPicture.h"
#include "winamp/PlayerLocation.h"

namespace chw {

// A saved date text, read in the user's short-date format; it must read back the same.
std::optional<Date> frmMain::ReadSavedDate(const std::string& text) {
    const std::optional<Date> day = alarm::ReadShortDate(text, p_.clock.ShortDatePattern());
    if (!day || p_.clock.ShortDateText(*day) != text) return std::nullopt;
    return day;
}

void frmMain::RestoreRung() {
    using namespace settings;
    const RegValue date = registryDB_.ReadValue(kRoot, kKey, kRungDate);
    const RegValue time = registryDB_.ReadValue(kRoot, kKey, kRungTime);
    const std::optional<Date> day = date ? ReadSavedDate(*date) : std::nullopt;
    const std::optional<alarm::TimeOfDay> at = time ? alarm::ParseAlarmTime(*time) : std::nullopt;
    if (day && at) rungAt_ = DateTime{*day, at->hour, at->minute, 0};
}

// An armed alarm whose record is still there: the last run ended without its Exit (a crash, a power
// cut, a forced restart). It is armed again once the start-up is over, unless it has rung already.
void frmMain::RestoreArmed() {
    using namespace settings;
    if (!IsYes(registryDB_.ReadValue(kRoot, kKey, kArmed))) {
        if (!AlarmDate.empty()) RestoreRung();
        NoteIfAhead();
        return;
    }
    armedRecorded_ = true;
    const RegValue date = registryDB_.ReadValue(kRoot, kKey, kArmedDate);
    const RegValue time = registryDB_.ReadValue(kRoot, kKey, kArmedTime);
    const std::optional<Date> day = date ? ReadSavedDate(*date) : std::nullopt;
    RestoreRung();
    if (!day || !time || !alarm::ParseAlarmTime(*time)) {
        ForgetArmed();
        NoteIfAhead();
        return;
    }
    AlarmDay = *day;
    AlarmDate = *date;
    AlarmTime = *time;
    view_.SetCaption(MainCtl::lblDate, AlarmDate);
    view_.SetCaption(MainCtl::txtTime, AlarmTime);
    view_.SetEnabled(MainCtl::cmdReset, true);
    StartupStatusText = alarm::AlarmSummary(alarm::kPrefixOff, AlarmDate, AlarmTime, alarm::kTailSetDot);
    if (AlarmAt() == rungAt_) {
        ForgetArmed();  // it rang before the run ended
        return;
    }
    resumePending_ = true;
}

void frmMain::Form_Load() {
    using namespace settings;

    view_.SetCaption(MainCtl::Form,
                     view_.Caption(MainCtl::Form) + " " + startup::VersionText(p_.runtime.ProgramVersion()));
    // Only the program's own Exit commands may close it: they ask about saving first.
    winamp_.GreySystemMenuItem(view_.Handle(), startup::kCloseItem, startup::kCloseItemPosition);
    view_.SetEnabled(MainCtl::cmdReset, false);
    // First, so that an alarm restored below is kept awake as the user chose.
    view_.SetChecked(MainCtl::mnuKeepAwake, IsYes(registryDB_.ReadValue(kRoot, kKey, kKeepAwake)));

    if (IsYes(registryDB_.ReadValue(kRoot, kKey, kSettingsSaved))) {
        const RegValue date = registryDB_.ReadValue(kRoot, kKeyNoSlash, kDate);
        const RegValue time = registryDB_.ReadValue(kRoot, kKeyNoSlash, kTime);
        // Half an alarm is no alarm, nor one whose texts do not read as a date and a time (edited by hand,
        // or saved under another date format): restore only when both halves are there and read.
        const std::optional<Date> day = date ? ReadSavedDate(*date) : std::nullopt;
        if (day && time && alarm::ParseAlarmTime(*time)) {
            AlarmDay = *day;
            AlarmDate = *date;
            AlarmTime = *time;
            StartupStatusText = alarm::AlarmSummary(alarm::kPrefixOff, AlarmDate, AlarmTime, alarm::kTailSetDot);
            view_.SetCaption(MainCtl::lblDate, AlarmDate);
            view_.SetCaption(MainCtl::txtTime, AlarmTime);
            view_.SetChecked(MainCtl::mnuStartInSystemTray, true);
            view_.SetEnabled(MainCtl::mnuStartInSystemTray, false);
            view_.SetEnabled(MainCtl::cmdReset, true);
        }
    }
    RestoreArmed();

    if (IsYes(registryDB_.ReadValue(kRoot, kKey, kStartInTray))) {
        WinampWindowText = tray::kInTray;  // tells the start-up not to show the window
        mnuMinimizeToTray_Click();
    } else {
        view_.SetChecked(MainCtl::mnuStartInSystemTray, false);
    }

    const RegValue winampOnStart = registryDB_.ReadValue(kRoot, kKey, kWinAmpOnStart);
    if (!winampOnStart) {
        ShowRegistryError(p_.boxes);
        Unload();
        p_.runtime.EndProgram();
        return;
    }
    if (IsYes(winampOnStart)) {
        const std::optional<std::string> player = winamp::FindPlayer(p_.files, p_.registry);
        if (!player ||
            !p_.processes.Launch(winamp::PlayerCommand(*player), WindowStyle::MinimizedNoFocus).Started()) {
            view_.SetCaption(MainCtl::StatusBar1, startup::kWinampLoadFailed);
            p_.runtime.Pause(startup::kWinampFailedPauseMs);
            p_.boxes.Show(startup::kWinampLoadErrorText, startup::kWinampLoadErrorTitle, MbIcon::Critical,
                          MbButtons::Ok);
            Unload();
            p_.runtime.EndProgram();
            return;
        }
        view_.SetCaption(MainCtl::StatusBar1, startup::kWinampActivated);
    } else {
        view_.SetChecked(MainCtl::mnuLoadWinAmpOnStart, false);
    }

    // Today's parts come from the date itself, not from its text, which has no fixed layout.
    const Date today = p_.clock.Now().date;
    p_.runtime.Pause(startup::kDatePauseMs);
    TodayMonth = std::to_string(today.month);
    TodayDay = std::to_string(today.day);
    TodayYear = std::to_string(today.year);

    view_.SetCalendarMonth(today.month);
    view_.SetCalendarDay(today.day);
    view_.SetCalendarYear(today.year);
}

}  // namespace chw
