// Repeating alarms: the day an alarm comes back on, the ten minutes more, and the rule's texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "alarm/Repeat.h"
#include "fakes/FakeTime.h"
#include "settings/SettingsSchema.h"

namespace chw::testing {
namespace {

using alarm::RepeatRule;

struct ClockRig {
    fakes::FakeScheduler scheduler;
    fakes::FakeClock clock{scheduler};
};

// Clocks go forward at 2:00 on 3/14/2027 and back at 2:00 on 11/7/2027.
constexpr Date kSpringDay{2027, 3, 14}, kAutumnDay{2027, 11, 7};
void AddChanges(fakes::FakeClock& clock) {
    clock.AddClockChange({kSpringDay, 2, 0, 0}, 60);
    clock.AddClockChange({kAutumnDay, 2, 0, 0}, -60);
}

TEST(RepeatNextOccurrence, FindsTheFirstDayTheRuleAllowsWhoseMomentIsAhead) {
    enum class After { Arming, Rang };  // arming: now - 60; moving on: the later of now and the moment that rang
    struct Case {
        const char* name;
        RepeatRule rule;
        Date from;
        int hour, minute;
        DateTime now;
        int laterSeconds;  // time passed after `now` was set (to reach a time the clocks show twice)
        After after;
        std::optional<Date> expected;
    };
    const Case cases[] = {
        {"once, still ahead", RepeatRule::Once, {2026, 12, 8}, 6, 30, {{2026, 12, 7}, 21, 0, 0}, 0, After::Arming, Date{2026, 12, 8}},
        {"once, over", RepeatRule::Once, {2026, 12, 7}, 6, 30, {{2026, 12, 7}, 9, 0, 0}, 0, After::Arming, std::nullopt},
        {"every day, today's minute not over", RepeatRule::EveryDay, {2026, 12, 7}, 9, 0, {{2026, 12, 7}, 9, 0, 40}, 0, After::Arming, Date{2026, 12, 7}},
        {"every day, today's time over", RepeatRule::EveryDay, {2026, 12, 7}, 6, 30, {{2026, 12, 7}, 9, 0, 0}, 0, After::Arming, Date{2026, 12, 8}},
        {"every day, stopped within the minute", RepeatRule::EveryDay, {2026, 12, 7}, 9, 0, {{2026, 12, 7}, 9, 0, 40}, 0, After::Rang, Date{2026, 12, 8}},
        {"every day, a chosen day ahead stays", RepeatRule::EveryDay, {2026, 12, 20}, 6, 30, {{2026, 12, 7}, 9, 0, 0}, 0, After::Arming, Date{2026, 12, 20}},
        {"every day, month's end", RepeatRule::EveryDay, {2026, 11, 30}, 6, 30, {{2026, 11, 30}, 6, 35, 0}, 0, After::Rang, Date{2026, 12, 1}},
        {"every day, February's end in a leap year", RepeatRule::EveryDay, {2028, 2, 28}, 6, 30, {{2028, 2, 28}, 6, 35, 0}, 0, After::Rang, Date{2028, 2, 29}},
        {"every day, year's end", RepeatRule::EveryDay, {2026, 12, 31}, 23, 59, {{2027, 1, 1}, 0, 0, 10}, 0, After::Rang, Date{2027, 1, 1}},
        {"weekdays, Friday to Monday", RepeatRule::Weekdays, {2026, 12, 11}, 6, 30, {{2026, 12, 11}, 6, 31, 0}, 0, After::Rang, Date{2026, 12, 14}},
        {"weekdays, chosen on a Saturday", RepeatRule::Weekdays, {2026, 12, 12}, 6, 30, {{2026, 12, 7}, 9, 0, 0}, 0, After::Arming, Date{2026, 12, 14}},
        {"weekdays, Monday to Tuesday", RepeatRule::Weekdays, {2026, 12, 7}, 6, 30, {{2026, 12, 7}, 6, 40, 0}, 0, After::Rang, Date{2026, 12, 8}},
        {"every week, same weekday", RepeatRule::EveryWeek, {2026, 12, 7}, 6, 30, {{2026, 12, 7}, 6, 45, 0}, 0, After::Rang, Date{2026, 12, 14}},
        {"every week, over the year's end", RepeatRule::EveryWeek, {2026, 12, 31}, 6, 30, {{2026, 12, 31}, 7, 0, 0}, 0, After::Rang, Date{2027, 1, 7}},
        // The PC was off: the missed day is reported, then the alarm moves on past today.
        {"every day, missed days ago", RepeatRule::EveryDay, {2026, 12, 7}, 6, 30, {{2026, 12, 10}, 9, 0, 0}, 0, After::Rang, Date{2026, 12, 11}},
        {"every day, missed, today still ahead", RepeatRule::EveryDay, {2026, 12, 7}, 6, 30, {{2026, 12, 10}, 5, 0, 0}, 0, After::Rang, Date{2026, 12, 10}},
        {"weekdays, missed over a weekend", RepeatRule::Weekdays, {2026, 12, 4}, 6, 30, {{2026, 12, 12}, 10, 0, 0}, 0, After::Rang, Date{2026, 12, 14}},
        {"every week, missed weeks ago keeps the weekday", RepeatRule::EveryWeek, {2026, 11, 2}, 6, 30, {{2026, 12, 9}, 9, 0, 0}, 0, After::Rang, Date{2026, 12, 14}},
        // The rule changed while armed for Saturday: from the armed day on.
        {"changed to weekdays while armed", RepeatRule::Weekdays, {2026, 12, 12}, 6, 30, {{2026, 12, 11}, 20, 0, 0}, 0, After::Arming, Date{2026, 12, 14}},
        {"changed to every week while armed", RepeatRule::EveryWeek, {2026, 12, 12}, 6, 30, {{2026, 12, 11}, 20, 0, 0}, 0, After::Arming, Date{2026, 12, 12}},
        // A time the clocks skip keeps its day (it rings at the first minute after the gap).
        {"every day, into the skipped hour", RepeatRule::EveryDay, {2027, 3, 13}, 2, 30, {{2027, 3, 13}, 2, 31, 0}, 0, After::Rang, kSpringDay},
        {"every day, out of the skipped hour", RepeatRule::EveryDay, kSpringDay, 2, 30, {kSpringDay, 3, 1, 0}, 0, After::Rang, Date{2027, 3, 15}},
        // A time shown twice rings at its first showing only: not again an hour later.
        {"every day, the hour shown twice", RepeatRule::EveryDay, kAutumnDay, 1, 30, {kAutumnDay, 1, 35, 0}, 3600, After::Rang, Date{2027, 11, 8}},
        {"every day, armed in the second showing", RepeatRule::EveryDay, kAutumnDay, 1, 30, {kAutumnDay, 1, 20, 0}, 3600, After::Arming, Date{2027, 11, 8}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClockRig r;
        AddChanges(r.clock);
        r.clock.Set(c.now);
        r.scheduler.Advance(c.laterSeconds * 1000LL);
        const std::int64_t now = r.clock.UtcSeconds();
        const std::int64_t rang = r.clock.MomentOf({c.from, c.hour, c.minute, 0});
        const std::int64_t after = c.after == After::Arming ? now - 60 : std::max(now, rang);
        EXPECT_EQ(alarm::NextOccurrence(c.rule, c.from, {c.hour, c.minute}, r.clock, after), c.expected);
    }
}

TEST(RepeatSnooze, RingsAgainTenMinutesAfterTheMinuteItWasAskedIn) {
    struct Case {
        const char* name;
        DateTime now;
        Date day;
        int hour, minute;
        const char* text;
    };
    const Case cases[] = {
        {"in the alarm's minute", {{2026, 12, 7}, 6, 30, 5}, {2026, 12, 7}, 6, 40, "Snoozing: Ringing Again At 6:40 AM."},
        {"after eight minutes of music", {{2026, 12, 7}, 6, 38, 59}, {2026, 12, 7}, 6, 48, "Snoozing: Ringing Again At 6:48 AM."},
        {"noon", {{2026, 12, 7}, 11, 55, 0}, {2026, 12, 7}, 12, 5, "Snoozing: Ringing Again At 12:05 PM."},
        {"over midnight and the year's end", {{2026, 12, 31}, 23, 55, 30}, {2027, 1, 1}, 0, 5, "Snoozing: Ringing Again At 12:05 AM."},
        {"the clocks go forward meanwhile", {kSpringDay, 1, 55, 0}, kSpringDay, 3, 5, "Snoozing: Ringing Again At 3:05 AM."},
        {"the clocks go back meanwhile", {kAutumnDay, 1, 55, 0}, kAutumnDay, 1, 5, "Snoozing: Ringing Again At 1:05 AM."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClockRig r;
        AddChanges(r.clock);
        r.clock.Set(c.now);
        const std::int64_t minuteBegan = r.clock.UtcSeconds() - c.now.second;
        const alarm::Snooze s = alarm::SnoozeFrom(r.clock);
        EXPECT_EQ(s.moment, minuteBegan + 600);
        EXPECT_EQ(s.at, (DateTime{c.day, c.hour, c.minute, 0}));
        EXPECT_EQ(alarm::SnoozingText(s.at), c.text);
        // Ten minutes on, the clock reads what the text promised.
        r.scheduler.Advance((s.moment - r.clock.UtcSeconds()) * 1000);
        EXPECT_EQ(r.clock.Now(), (DateTime{c.day, c.hour, c.minute, 0}));
    }
}

TEST(RepeatRuleTexts, StoredNamesItemsAndStatusTexts) {
    struct Case {
        std::optional<std::string> stored;
        RepeatRule rule;
        MainCtl item;
        const char* repeats;
    };
    const Case cases[] = {
        {std::nullopt, RepeatRule::Once, MainCtl::mnuRepeatOnce, ""},  // settings older than the option
        {"Once", RepeatRule::Once, MainCtl::mnuRepeatOnce, ""},
        {"Every Day", RepeatRule::EveryDay, MainCtl::mnuRepeatEveryDay, "Repeats: Every Day."},
        {"Weekdays", RepeatRule::Weekdays, MainCtl::mnuRepeatWeekdays, "Repeats: Weekdays."},
        {"Every Week", RepeatRule::EveryWeek, MainCtl::mnuRepeatEveryWeek, "Repeats: Every Week."},
        {"every day", RepeatRule::Once, MainCtl::mnuRepeatOnce, ""},  // exact, as every stored text
        {"", RepeatRule::Once, MainCtl::mnuRepeatOnce, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored.value_or("(absent)"));
        const RepeatRule rule = alarm::RuleFromStored(c.stored);
        EXPECT_EQ(rule, c.rule);
        EXPECT_EQ(alarm::DefOf(rule).item, c.item);
        EXPECT_EQ(alarm::RepeatsText(rule), c.repeats);
        // What is stored reads back as the same rule.
        EXPECT_EQ(alarm::RuleFromStored(std::string(alarm::DefOf(rule).name)), rule);
    }
    EXPECT_STREQ(settings::kRepeat, "Repeat");
    EXPECT_EQ(alarm::RepeatingTrayTip(RepeatRule::Weekdays, {2026, 12, 14}, "12/14/2026", "6:30 AM"),
              "Alarm Set: Weekdays, Next: Mon 12/14/2026 6:30 AM");
    EXPECT_STREQ(alarm::WeekdayAbbreviation({2027, 1, 3}), "Sun");
    EXPECT_STREQ(alarm::WeekdayAbbreviation({2000, 2, 29}), "Tue");
}

}  // namespace
}  // namespace chw::testing
