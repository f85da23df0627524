// Repeating alarms and the ten minutes more: which days an alarm comes back on, when a snoozed alarm
// rings again, and the texts that name them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "alarm/AlarmMoment.h"
#include "platform/Clock.h"
#include "platform/MainView.h"
#include "platform/Types.h"

namespace chw::alarm {

enum class RepeatRule { Once, EveryDay, Weekdays, EveryWeek };

struct RepeatDef {
    RepeatRule rule;
    const char* name;  // stored in the settings and shown: "Repeats: Every Day."
    MainCtl item;      // its radio item in Settings > Repeat
};

inline constexpr RepeatDef kRepeatRules[] = {
    {RepeatRule::Once, "Once", MainCtl::mnuRepeatOnce},
    {RepeatRule::EveryDay, "Every Day", MainCtl::mnuRepeatEveryDay},
    {RepeatRule::Weekdays, "Weekdays", MainCtl::mnuRepeatWeekdays},
    {RepeatRule::EveryWeek, "Every Week", MainCtl::mnuRepeatEveryWeek},
};

const RepeatDef& DefOf(RepeatRule rule);
// The stored value read back; absent or unknown means Once, so settings older than the option keep
// their meaning.
RepeatRule RuleFromStored(const std::optional<std::string>& stored);

// Appended to the ON summary after two blanks; empty for Once, whose status line stays as it was.
std::string RepeatsText(RepeatRule rule);
// The tray tooltip of an armed repeating alarm: "Alarm Set: Weekdays, Next: Mon 12/14/2026 6:30 AM".
std::string RepeatingTrayTip(RepeatRule rule, const Date& day, const std::string& dateText,
                             const std::string& timeText);

// Sunday 0 .. Saturday 6.
int WeekdayOf(const Date& day);
// "Sun" .. "Sat".
const char* WeekdayAbbreviation(const Date& day);
Date AddDays(const Date& day, int days);

// The alarm's day under a rule: the first day on or after `from` that the rule allows and whose alarm
// moment (time of day on that day, on the UTC scale of IClock) is later than `after`. Once allows
// `from` alone, Every Week the weekday of `from`, Weekdays Monday to Friday. Nothing when no such day
// is near (Once with its moment over).
//   Arming passes now - 60 (a minute not yet over may still be armed); moving on after a ring or a
//   missed report passes the later of now and the moment that rang, so the same day never comes back,
//   not even when the clocks are set back over it.
// A time that the clocks skip that day (2:30 AM when they jump from 2:00 to 3:00) keeps the day and
// rings at the first minute after the gap, as IClock::MomentOf reads it: a sleeper is woken as late as
// the clocks jumped, not a day late. A time shown twice rings at its first showing only.
std::optional<Date> NextOccurrence(RepeatRule rule, const Date& from, const TimeOfDay& time, IClock& clock,
                                   std::int64_t after);

// "Ring Again In 10 Minutes": the alarm rings again ten minutes after the minute it was asked in (a
// sleeper who asks after five minutes of music still gets ten), on the UTC scale.
inline constexpr int kSnoozeSeconds = 10 * 60;
struct Snooze {
    std::int64_t moment = 0;
    DateTime at;  // the local day and minute it rings again, as the clocks will then read them
};
Snooze SnoozeFrom(IClock& clock);
// What the clocks read at a moment near now (within a change of the clocks).
DateTime LocalReading(std::int64_t moment, IClock& clock);
// "Snoozing: Ringing Again At 6:40 AM."
std::string SnoozingText(const DateTime& at);

}  // namespace chw::alarm
