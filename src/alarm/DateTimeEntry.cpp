// The alarm's day from the calendar, and its time typed into the time box.
#include <optional>

#include "alarm/AlarmTexts.h"
#include "alarm/BusyScope.h"
#include "alarm/TimeEntry.h"
#include "alarm/Alarm.h"

namespace chw {

using namespace alarm;

void Alarm::MonthView_DateClick(const Date& clicked) {
    BusyScope busy(alarmBusy_);
    view_.MyTimer().SetEnabled(false);
    if (clicked < p_.clock.Now().date) {
        p_.boxes.Show(kPastDateText, kPastDateTitle, MbIcon::Critical, MbButtons::Ok);
        view_.MyTimer().SetEnabled(true);
        CalendarToToday();
        return;
    }
    s_.AlarmDate = p_.clock.ShortDateText(clicked);
    s_.AlarmDay = clicked;
    show_.ShowState();
    view_.SetCaption(MainCtl::lblDate, s_.AlarmDate);
    AlarmChosen();
    if (!s_.AlarmTime.empty()) show_.ShowSummary(Summary::Chosen);
    view_.MyTimer().SetEnabled(true);
}

void Alarm::txtTime_Click() {
    view_.MyTimer().SetEnabled(false);
    view_.SetLocked(false);
    show_.ShowStatus(kValidating);
}

void Alarm::txtTime_Validate(bool& cancel) {
    BusyScope busy(alarmBusy_);
    cancel = false;
    view_.MyTimer().SetEnabled(false);

    const std::optional<TypedTime> typed = ParseTypedTime(view_.Caption(MainCtl::txtTime));
    if (!typed) {
        if (p_.boxes.Show(kBadTimeText, kBadTimeTitle, MbIcon::Exclamation, MbButtons::OkCancel) == MbAnswer::Ok) {
            cancel = true;  // keep the caret in the box for another try
            return;
        }
        view_.SetLocked(true);  // back to showing the clock
        view_.MyTimer().SetEnabled(true);
        show_.ShowStatus(kReady);
        return;
    }

    const bool am = p_.boxes.Show(kAmPmText, kAmPmTitle, MbIcon::Question, MbButtons::YesNo) == MbAnswer::Yes;
    if (typed->minute < 10) s_.inTray = false;

    s_.AlarmTime = AlarmTimeText(typed->hour, typed->minute, am ? "AM" : "PM");
    AlarmChosen();
    view_.SetCaption(MainCtl::txtTime, s_.AlarmTime);
    // Typing is over: a click starts the next one, and the clock may show in the box again.
    view_.SetLocked(true);
    show_.ShowSummary(Summary::Chosen);
    view_.SetFocus(MainCtl::cmdSet);
}

void Alarm::CalendarToToday() {
    // The parts were taken at load; should one be unusable, today's own field stands in for it.
    const Date today = p_.clock.Now().date;
    auto part = [](int taken, int fallback) { return taken > 0 ? taken : fallback; };
    view_.SetCalendarDate(Date{part(s_.today.year, today.year), part(s_.today.month, today.month),
                               part(s_.today.day, today.day)});
}

}  // namespace chw
