// The alarm brought back at start-up: a saved alarm, an armed one whose run ended without its Exit, and
// the one that rang last.
#include <string>

#include "alarm/Alarm.h"
#include "alarm/AlarmMoment.h"
#include "alarm/TimeEntry.h"
#include "settings/SettingsSchema.h"

namespace chw {

// A saved date text, read in the user's short-date format; it must read back the same.
std::optional<Date> Alarm::ReadSavedDate(const std::string& text) {
    const std::optional<Date> day = alarm::ReadShortDate(text, p_.clock.ShortDatePattern());
    if (!day || p_.clock.ShortDateText(*day) != text) return std::nullopt;
    return day;
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

std::optional<DateTime> Alarm::ReadRecordedMinute(const char* dateName, const char* timeName) {
    const RegValue date = registryDB_.Read(dateName);
    const RegValue time = registryDB_.Read(timeName);
    const std::optional<Date> day = date ? ReadSavedDate(*date) : std::nullopt;
    const std::optional<alarm::TimeOfDay> at = time ? alarm::ParseAlarmTime(*time) : std::nullopt;
    if (!day || !at) return std::nullopt;
    return DateTime{*day, at->hour, at->minute, 0};
}

void Alarm::RestoreRung() {
    if (const std::optional<DateTime> rung = ReadRecordedMinute(settings::kRungDate, settings::kRungTime))
        s_.rungAt = rung;
}

// The ten minutes more that waited when the run ended, as the clocks read it then.
void Alarm::RestoreSnooze() {
    if (!s_.snoozeRecorded) return;
    const std::optional<DateTime> recorded = ReadRecordedMinute(settings::kSnoozeDate, settings::kSnoozeTime);
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
    const std::optional<Date> day = date ? ReadSavedDate(*date) : std::nullopt;
    RestoreRung();
    // Whatever follows, a snooze left in the record is emptied when this alarm's snooze ends.
    const RegValue snoozeTime = registryDB_.Read(kSnoozeTime);
    s_.snoozeRecorded = snoozeTime && !snoozeTime->empty();
    if (!day || !time || !alarm::ParseAlarmTime(*time)) {
        ForgetArmed();
        NoteIfAhead();
        return;
    }
    RestoreAlarm(*day, *date, *time);
    RestoreSnooze();
    // It rang before the run ended: done, unless it repeats (the start moves it on) or was snoozed.
    if (AlarmAt() == s_.rungAt && !s_.Repeating() && !s_.snooze) {
        ForgetArmed();
        return;
    }
    s_.resumePending = true;
}

}  // namespace chw
