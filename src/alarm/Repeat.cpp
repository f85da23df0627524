#include "alarm/Repeat.h"

#include "alarm/TimeEntry.h"

namespace chw::alarm {

namespace {
bool Allows(RepeatRule rule, const Date& from, const Date& day) {
    switch (rule) {
        case RepeatRule::Once: return day == from;
        case RepeatRule::EveryDay: return true;
        case RepeatRule::Weekdays: return WeekdayOf(day) >= 1 && WeekdayOf(day) <= 5;
        case RepeatRule::EveryWeek: return WeekdayOf(day) == WeekdayOf(from);
    }
    return false;
}

// A local reading as seconds of a zone-less clock, and back.
std::int64_t WallSeconds(const DateTime& t) {
    return ((DayNumber(t.date) * 24 + t.hour) * 60 + t.minute) * 60 + t.second;
}
DateTime FromWallSeconds(std::int64_t s) {
    const std::int64_t days = (s >= 0 ? s : s - 86399) / 86400, rest = s - days * 86400;
    return {FromDayNumber(days), static_cast<int>(rest / 3600), static_cast<int>(rest / 60 % 60), static_cast<int>(rest % 60)};
}
}  // namespace

const RepeatDef& DefOf(RepeatRule rule) {
    for (const RepeatDef& def : kRepeatRules)
        if (def.rule == rule) return def;
    return kRepeatRules[0];
}

RepeatRule RuleFromStored(const std::optional<std::string>& stored) {
    if (stored)
        for (const RepeatDef& def : kRepeatRules)
            if (*stored == def.name) return def.rule;
    return RepeatRule::Once;
}

std::string RepeatsText(RepeatRule rule) {
    if (rule == RepeatRule::Once) return {};
    return std::string("Repeats: ") + DefOf(rule).name + ".";
}

std::string RepeatingTrayTip(RepeatRule rule, const Date& day, const std::string& dateText,
                             const std::string& timeText) {
    return std::string("Alarm Set: ") + DefOf(rule).name + ", Next: " + WeekdayAbbreviation(day) + " " + dateText +
           " " + timeText;
}

int WeekdayOf(const Date& day) {
    const std::int64_t n = (DayNumber(day) + 4) % 7;  // 1970-01-01 was a Thursday
    return static_cast<int>(n < 0 ? n + 7 : n);
}

const char* WeekdayAbbreviation(const Date& day) {
    static const char* const names[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    return names[WeekdayOf(day)];
}

Date AddDays(const Date& day, int days) { return FromDayNumber(DayNumber(day) + days); }

std::optional<Date> NextOccurrence(RepeatRule rule, const Date& from, const TimeOfDay& time, IClock& clock,
                                   std::int64_t after) {
    // Days long past cannot be ahead: start the search a couple of days before today (a change of time
    // zone moves local dates by less than that), which keeps it short after a long time off.
    Date day = from;
    const Date early = AddDays(clock.Now().date, -2);
    if (rule != RepeatRule::Once && day < early) day = early;
    // Two weeks hold a match for every rule even when the clocks change in them.
    for (int i = 0; i < 14; ++i, day = AddDays(day, 1)) {
        if (!Allows(rule, from, day)) continue;
        if (clock.MomentOf({day, time.hour, time.minute, 0}) > after) return day;
        if (rule == RepeatRule::Once) break;
    }
    return std::nullopt;
}

DateTime LocalReading(std::int64_t moment, IClock& clock) {
    const std::int64_t utc = clock.UtcSeconds();
    std::int64_t offset = WallSeconds(clock.Now()) - utc;
    offset = (offset + (offset >= 0 ? 30 : -30)) / 60 * 60;  // the two reads may straddle a second
    const std::int64_t wall = moment + offset;
    // Today's offset, or another one after the clocks changed by an hour or half of one.
    for (std::int64_t shift : {0, 3600, -3600, 1800, -1800})
        if (clock.MomentOf(FromWallSeconds(wall + shift)) == moment) return FromWallSeconds(wall + shift);
    // A reading shown twice, in its second showing: MomentOf gives its first, `back` earlier, and the
    // reading `back` later is the moment `back` later.
    for (std::int64_t back : {3600, 1800}) {
        const DateTime w = FromWallSeconds(wall - back);
        if (clock.MomentOf(w) == moment - back && clock.MomentOf(FromWallSeconds(wall)) == moment + back) return w;
    }
    return FromWallSeconds(wall);
}

Snooze SnoozeFrom(IClock& clock) {
    const std::int64_t utc = clock.UtcSeconds();
    const std::int64_t moment = utc - utc % 60 + kSnoozeSeconds;
    return Snooze{moment, LocalReading(moment, clock)};
}

std::string SnoozingText(const DateTime& at) {
    return "Snoozing: Ringing Again At " + NowTextOf(at) + ".";
}

}  // namespace chw::alarm
