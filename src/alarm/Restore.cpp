// The alarm brought back at start-up: a saved alarm, an armed one whose run ended without its Exit, and
// the one that rang last.
#include <string>

#include "alarm/Alarm.h"
#include "alarm/AlarmMoment.h"
#include "settings/SettingsSchema.h"

namespace chw {

// The date is read in the user's short-date format and must read back the same.
std::optional<DateTime> Alarm::ReadRecorded(const RegValue& date, const RegValue& time) {
    const std::optional<alarm::TimeOfDay> at = time ? alarm::ParseAlarmTime(*time) : std::nullopt;
    if (!date || !at) return std::nullopt;
    const std::optional<Date> day = alarm::ReadShortDate(*date, p_.clock.ShortDatePattern());
    if (!day || p_.clock.ShortDateText(*day) != *date) return std::nullopt;
    return DateTime{*day, at->hour, at->minute, 0};
}

void Alarm::RestoreAlarm(const Date& day, const std::string& date, const std::string& time) {
    s_.AlarmDay = day;
    s_.AlarmDate = date;
    s_.AlarmTime = time;
    s_.restoredAtLoad = true;
    view_.SetCaption(MainCtl::lblDate, date);
    view_.SetCaption(MainCtl::txtTime, time);
    show_.ShowState();
}

void Alarm::RestoreRung() {
    const RegValue date = registryDB_.Read(settings::kRungDate);
    s_.rungAt = ReadRecorded(date, registryDB_.Read(settings::kRungTime));
}

// The ten minutes more that waited when the run ended, as the clocks read it then.
void Alarm::RestoreSnooze() {
    if (!s_.snoozeRecorded) return;
    const RegValue date = registryDB_.Read(settings::kSnoozeDate);
    const std::optional<DateTime> recorded = ReadRecorded(date, registryDB_.Read(settings::kSnoozeTime));
    if (!recorded) return;
    s_.snooze = alarm::Snooze{p_.clock.MomentOf(*recorded), *recorded};
}

// An armed alarm whose record is still there: the last run ended without its Exit (a crash, a power
// cut, a forced restart). It is armed again once the start-up is over, unless it has rung already.
void Alarm::RestoreArmed() {
    using namespace settings;
    if (!IsYes(registryDB_.Read(kArmed))) {
        if (!s_.AlarmDate.empty()) RestoreRung();
        NoteIfAhead();
        return;
    }
    s_.armedRecorded = true;
    const RegValue date = registryDB_.Read(kArmedDate);
    const RegValue time = registryDB_.Read(kArmedTime);
    const std::optional<DateTime> armed = ReadRecorded(date, time);
    RestoreRung();
    // Whatever follows, a snooze left in the record is emptied when this alarm's snooze ends.
    const RegValue snoozeTime = registryDB_.Read(kSnoozeTime);
    s_.snoozeRecorded = snoozeTime && !snoozeTime->empty();
    if (!armed) {
        ForgetArmed();
        NoteIfAhead();
        return;
    }
    RestoreAlarm(armed->date, *date, *time);
    RestoreSnooze();
    // It rang before the run ended: done, unless it repeats (the start moves it on) or was snoozed.
    if (AlarmAt() == s_.rungAt && !s_.Repeating() && !s_.snooze) {
        ForgetArmed();
        return;
    }
    s_.resumePending = true;
}

}  // namespace chw
