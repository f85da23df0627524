// A repeating alarm's life and the ten minutes more, through the window's handlers: the rule chosen and
// saved, the day moved on when the ringing ends, and the ring again after a snooze.
#include <functional>

#include <gtest/gtest.h>

#include "AlarmFixture.h"

namespace chw::testing {
namespace {

using alarm::RepeatRule;

const char* const kBanner =
    "!!!!! ALARM !!!!!! !!!!! ALARM !!!!!! !!!!! ALARM !!!!!! !!!!! ALARM !!!!!! !!!!! ALARM !!!!!! !!!!! ALARM !!!!!!";
const Date kMonday{2026, 12, 7};

std::string On(const std::string& date, const std::string& repeats) {
    const std::string on = "Alarm Settings: ON  Date: " + date + " Time: 10:00 AM ALARM IS SET";
    return repeats.empty() ? on : on + "  Repeats: " + repeats + ".";
}

void ChooseRule(frmMain& form, RepeatRule rule) {
    switch (rule) {
        case RepeatRule::Once: return form.mnuRepeatOnce_Click();
        case RepeatRule::EveryDay: return form.mnuRepeatEveryDay_Click();
        case RepeatRule::Weekdays: return form.mnuRepeatWeekdays_Click();
        case RepeatRule::EveryWeek: return form.mnuRepeatEveryWeek_Click();
    }
}

MainCtl Ticked(fakes::FakeMainView& view) {
    for (const alarm::RepeatDef& def : alarm::kRepeatRules)
        if (view.Checked(def.item)) return def.item;
    return MainCtl::Form;
}

int Ticks(fakes::FakeMainView& view) {
    int n = 0;
    for (const alarm::RepeatDef& def : alarm::kRepeatRules) n += view.Checked(def.item) ? 1 : 0;
    return n;
}

TEST(RepeatingFlow, TheRuleIsReadAtLoadTickedAndSavedAtOnce) {
    struct Case {
        std::optional<std::string> stored;
        MainCtl ticked;
    };
    const Case cases[] = {{std::nullopt, MainCtl::mnuRepeatOnce},
                          {"Every Day", MainCtl::mnuRepeatEveryDay},
                          {"Weekdays", MainCtl::mnuRepeatWeekdays},
                          {"Every Week", MainCtl::mnuRepeatEveryWeek},
                          {"every day", MainCtl::mnuRepeatOnce}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored.value_or("(absent)"));
        AlarmRig r;
        r.sys.registry.Put(settings::kKey, "StartInTray", "No");
        r.sys.registry.Put(settings::kKey, "WinAmpOnStart", "No");
        if (c.stored) r.sys.registry.Put(settings::kKey, "Repeat", *c.stored);
        r.form.Form_Load();
        EXPECT_EQ(Ticked(r.view), c.ticked);
        EXPECT_EQ(Ticks(r.view), 1);
    }

    AlarmRig r;
    r.form.mnuRepeatWeekdays_Click();
    EXPECT_EQ(r.sys.registry.Value(settings::kKey, "Repeat"), "Weekdays");
    EXPECT_EQ(Ticked(r.view), MainCtl::mnuRepeatWeekdays);
    EXPECT_EQ(Ticks(r.view), 1);
    EXPECT_EQ(r.view.Status(), "Look Here For Important Information") << "nothing armed: nothing to tell";
    // A refused write is the registry error, as for the other options.
    r.sys.registry.fail = [](const std::string& op, const std::string&, const std::string&) { return op == "write"; };
    r.sys.boxes.answers = {MbAnswer::Ok, MbAnswer::No};
    r.form.mnuRepeatOnce_Click();
    EXPECT_EQ(r.sys.boxes.Titles().front(), "ERROR!");
    EXPECT_EQ(r.sys.boxes.Titles().back(), "Close Chimewell?");
}

// Armed for a Saturday, the rule changed step by step: the day never goes back and never to a moment over.
TEST(RepeatingFlow, ARuleChangedWhileArmedMovesTheAlarmToItsNextDay) {
    AlarmRig r;
    r.Choose(Date{2026, 12, 12}, "10:00", true);
    r.form.cmdSet_Click();
    r.view.tray.shown = true;
    struct Step {
        RepeatRule rule;
        const char* stored;
        Date day;
        const char* date;
        const char* repeats;
        const char* tip;  // empty: the usual tooltip
    };
    const Step steps[] = {
        {RepeatRule::Weekdays, "Weekdays", {2026, 12, 14}, "12/14/2026", "Weekdays",
         "Alarm Set: Weekdays, Next: Mon 12/14/2026 10:00 AM"},
        {RepeatRule::EveryWeek, "Every Week", {2026, 12, 14}, "12/14/2026", "Every Week",
         "Alarm Set: Every Week, Next: Mon 12/14/2026 10:00 AM"},
        {RepeatRule::Once, "Once", {2026, 12, 14}, "12/14/2026", "", ""},
        {RepeatRule::EveryDay, "Every Day", {2026, 12, 14}, "12/14/2026", "Every Day",
         "Alarm Set: Every Day, Next: Mon 12/14/2026 10:00 AM"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.stored);
        ChooseRule(r.form, step.rule);
        r.form.RefreshTrayTip();
        EXPECT_EQ(r.sys.registry.Value(settings::kKey, "Repeat"), step.stored);
        EXPECT_EQ(r.form.State().AlarmDay, step.day);
        EXPECT_EQ(r.view.Caption(MainCtl::lblDate), step.date);
        EXPECT_EQ(r.view.CalendarDate(), step.day);
        EXPECT_EQ(r.view.Status(), On(step.date, step.repeats));
        EXPECT_EQ(r.sys.registry.Value(settings::kKey, "Armed Date:"), step.date);
        EXPECT_EQ(r.sys.power.wakeAt, r.sys.clock.MomentOf({step.day, 10, 0, 0}) - 60);
        if (*step.tip) {
            EXPECT_EQ(r.view.tray.toolTip, step.tip);
        } else {
            EXPECT_EQ(r.view.tray.toolTip.find("Alarm Set: "), std::string::npos);
        }
    }
}

// However the ringing ends, a repeating alarm goes on armed to its next day, as an arming leaves it, and
// rings there.
TEST(RepeatingFlow, WhenItsRingingEndsTheAlarmMovesOnAndRingsOnItsNextDay) {
    struct Road {
        const char* name;
        RepeatRule rule;
        Date day;
        std::function<void(AlarmRig&)> end;
        Date next;
        const char* repeats;
        bool missed;
    };
    const Road roads[] = {
        {"the stop, every day", RepeatRule::EveryDay, kMonday, [](AlarmRig& r) {
             r.RunUntil(10, 0, 5);
             r.form.cmdSet_Click();
         }, {2026, 12, 8}, "Every Day", false},
        {"the tray's Snooze, weekdays from a Friday", RepeatRule::Weekdays, {2026, 12, 11}, [](AlarmRig& r) {
             r.RunUntil(10, 0, 5);
             r.sys.boxes.answers = {MbAnswer::Yes};  // and close the player
             r.form.mnuCloseWinAmp_Click();
         }, {2026, 12, 14}, "Weekdays", false},
        {"missed while the PC slept, every week", RepeatRule::EveryWeek, kMonday, [](AlarmRig& r) {
             r.sys.clock.Set({kMonday, 10, 20, 0});
             r.form.MyTimer_Timer();
         }, {2026, 12, 14}, "Every Week", true},
    };
    for (const Road& road : roads) {
        SCOPED_TRACE(road.name);
        AlarmRig r;
        r.view.tray.shown = true;
        r.sys.clock.Set({road.day, 9, 50, 0});
        ChooseRule(r.form, road.rule);
        r.Choose(road.day, "10:00", true);
        r.form.cmdSet_Click();
        const std::string day = r.sys.clock.ShortDateText(road.day);
        const std::string next = r.sys.clock.ShortDateText(road.next);
        ASSERT_EQ(r.view.Status(), On(day, road.repeats));

        road.end(r);

        const AlarmState& s = r.form.State();
        EXPECT_TRUE(s.armed);
        EXPECT_EQ(s.phase, AlarmPhase::Armed);
        EXPECT_EQ(r.view.Caption(MainCtl::cmdSet), "Turn &Off");
        EXPECT_EQ(r.view.Status(), On(next, road.repeats));
        EXPECT_EQ(s.AlarmDate, next);
        EXPECT_EQ(r.view.Caption(MainCtl::lblDate), next);
        EXPECT_EQ(r.view.CalendarDate(), road.next);
        EXPECT_EQ(r.sys.registry.Value(settings::kKey, "Armed"), "Yes");
        EXPECT_EQ(r.sys.registry.Value(settings::kKey, "Armed Date:"), next);
        EXPECT_EQ(r.sys.registry.Value(settings::kKey, "Rung Date:"), day);
        EXPECT_TRUE(r.sys.runtime.restartRegistered);
        EXPECT_EQ(r.sys.power.wakeAt, r.sys.clock.MomentOf({road.next, 10, 0, 0}) - 60);
        ASSERT_TRUE(s.player && *s.player != 0) << "a player taken over for the next day";
        EXPECT_FALSE(r.sys.windows.windows.at(*s.player).visible);
        const auto titles = r.sys.boxes.Titles();
        EXPECT_EQ(std::count(titles.begin(), titles.end(), "Start Chimewell With Windows?"), 1) << "asked once";
        EXPECT_EQ(r.view.tray.balloons.size(), road.missed ? 1u : 0u);
        r.form.RefreshTrayTip();
        EXPECT_EQ(r.view.tray.toolTip.rfind("Alarm Set: " + std::string(road.repeats) + ", Next: " +
                                                alarm::WeekdayAbbreviation(road.next) + " " + next + " 10:00 AM",
                                            0),
                  0u);

        const long plays = r.PlayMessages();
        r.sys.clock.Set({road.next, 9, 59, 50});
        r.RunUntil(10, 0, 5);
        EXPECT_EQ(r.view.Status(), kBanner);
        EXPECT_EQ(r.PlayMessages(), plays + 1);
    }
}

// Ten minutes more: quiet as the stop, the player paused and kept, armed for ten minutes after the minute
// it was asked in; then it rings as at first, and only the final stop moves a repeating alarm on.
TEST(RepeatingFlow, RingAgainPausesThePlayerAndRingsTenMinutesLater) {
    struct Case {
        const char* name;
        RepeatRule rule;
        bool playerPlays;  // else our own sound rings
        bool fromTray;
        std::string afterStop;
    };
    const Case cases[] = {
        {"once, from Settings", RepeatRule::Once, true, false,
         "Alarm Settings: OFF  Date: 12/7/2026 Time: 10:00 AM ALARM IS SET"},
        {"every day, from the tray", RepeatRule::EveryDay, true, true, On("12/8/2026", "Every Day")},
        {"our own sound", RepeatRule::Once, false, false,
         "Alarm Settings: OFF  Date: 12/7/2026 Time: 10:00 AM ALARM IS SET"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AlarmRig r;
        auto& v = r.view;
        r.sys.clock.Set({kMonday, 9, 58, 0});
        ChooseRule(r.form, c.rule);
        r.Choose(kMonday, "10:00", true);
        r.form.cmdSet_Click();
        const WindowHandle player = *r.form.State().player;
        r.sys.windows.players.at(player).ignorePlay = !c.playerPlays;
        EXPECT_FALSE(v.Enabled(MainCtl::mnuRingAgain));
        EXPECT_FALSE(v.Enabled(MainCtl::mnuPopUpRingAgain));

        r.RunUntil(10, 3, 30);  // asked in the minute 10:03: rings again at 10:13
        ASSERT_EQ(v.Status(), kBanner);
        EXPECT_TRUE(v.Enabled(MainCtl::mnuRingAgain));
        EXPECT_TRUE(v.Enabled(MainCtl::mnuPopUpRingAgain));
        EXPECT_EQ(r.sys.sound.playing, !c.playerPlays);
        const long plays = r.PlayMessages();
        c.fromTray ? r.form.mnuPopUpRingAgain_Click() : r.form.mnuRingAgain_Click();

        EXPECT_FALSE(r.sys.sound.playing);
        EXPECT_FALSE(r.sys.power.awake);
        ASSERT_TRUE(r.sys.windows.Exists(player)) << "paused, not closed";
        EXPECT_EQ(r.sys.windows.players.at(player).volume, 28);
        EXPECT_EQ(r.sys.windows.players.at(player).status, c.playerPlays ? 3 : 0);
        EXPECT_EQ(v.Status(), "Snoozing: Ringing Again At 10:13 AM.");
        EXPECT_FALSE(v.Enabled(MainCtl::mnuRingAgain));
        EXPECT_TRUE(r.form.State().armed);
        EXPECT_EQ(v.Caption(MainCtl::cmdSet), "Turn &Off");
        EXPECT_EQ(r.sys.power.wakeAt, r.sys.clock.MomentOf({kMonday, 10, 13, 0}) - 60);
        EXPECT_EQ(r.sys.registry.Value(settings::kKey, "Armed Date:"), "12/7/2026") << "not moved on";
        EXPECT_EQ(r.sys.registry.Value(settings::kKey, "Armed"), "Yes");

        r.RunUntil(10, 12, 59);
        EXPECT_EQ(v.Status(), "Snoozing: Ringing Again At 10:13 AM.");
        r.RunUntil(10, 13, 5);
        EXPECT_EQ(v.Status(), kBanner);
        EXPECT_EQ(v.Caption(MainCtl::cmdSet), "Snoo&ze");
        EXPECT_EQ(r.sys.windows.players.at(player).volume, 255);
        EXPECT_GT(r.PlayMessages(), plays);
        EXPECT_EQ(r.sys.sound.playing, !c.playerPlays);
        EXPECT_TRUE(v.Enabled(MainCtl::mnuRingAgain));

        r.form.cmdSet_Click();
        EXPECT_EQ(v.Status(), c.afterStop);
        EXPECT_FALSE(r.sys.windows.Exists(player));
    }
}

// The armed record of a repeating alarm, read back by a start: what rang or was missed goes on to the
// next day still ahead, reported where it was missed.
TEST(RepeatingFlow, AStartMovesARepeatingAlarmOnFromWhatRangOrWasMissed) {
    struct Case {
        const char* name;
        bool rung;
        DateTime start;
        const char* next;
        bool missed;
    };
    const Case cases[] = {
        {"rang before the crash", true, {kMonday, 10, 5, 0}, "12/8/2026", false},
        {"long over: missed", false, {kMonday, 10, 30, 0}, "12/8/2026", true},
        {"off for two days", false, {{2026, 12, 9}, 11, 0, 0}, "12/10/2026", true},
        {"started ahead: armed for its day", false, {kMonday, 9, 50, 0}, "12/7/2026", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AlarmRig r;
        auto& reg = r.sys.registry;
        for (auto [name, data] : {std::pair{"StartInTray", "No"}, {"WinAmpOnStart", "No"}, {"Repeat", "Every Day"},
                                  {"Armed", "Yes"}, {"Armed Date:", "12/7/2026"}, {"Armed Time:", "10:00 AM"}})
            reg.Put(settings::kKey, name, data);
        if (c.rung) {
            reg.Put(settings::kKey, "Rung Date:", "12/7/2026");
            reg.Put(settings::kKey, "Rung Time:", "10:00 AM");
        }
        r.view.tray.shown = true;
        r.sys.clock.Set(c.start);

        r.form.Form_Load();
        r.form.ResumeArmedAlarm();

        EXPECT_TRUE(r.form.State().armed);
        EXPECT_TRUE(r.sys.boxes.shown.empty()) << "nothing is asked";
        EXPECT_EQ(r.view.Status(), On(c.next, "Every Day"));
        EXPECT_EQ(reg.Value(settings::kKey, "Armed Date:"), c.next);
        EXPECT_TRUE(r.sys.runtime.restartRegistered);
        EXPECT_EQ(r.view.tray.balloons.size(), c.missed ? 1u : 0u);
        if (c.missed) {
            EXPECT_EQ(r.view.tray.balloons[0], "Chimewell System|Alarm MISSED!  Date: 12/7/2026 Time: 10:00 AM");
        }
    }
}

}  // namespace
}  // namespace chw::testing
