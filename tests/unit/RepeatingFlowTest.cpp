// A repeating alarm and the ten minutes more through the window's handlers: the rule saved, the day moved
// on when the ringing ends, and the ring again after a snooze.
#include <functional>

#include <gtest/gtest.h>

#include "AlarmFixture.h"

namespace chw::testing {
namespace {

const char* const kBanner =
    "!!!!! ALARM !!!!!! !!!!! ALARM !!!!!! !!!!! ALARM !!!!!! !!!!! ALARM !!!!!! !!!!! ALARM !!!!!! !!!!! ALARM !!!!!!";
const Date kMonday{2026, 12, 7};

std::string On(const std::string& date, const char* rule) {
    const std::string on = "Alarm Settings: ON  Date: " + date + " Time: 10:00 AM ALARM IS SET";
    return *rule ? on + "  Repeats: " + rule + "." : on;
}

// The rule chosen from the menu, then 10:00 AM on `day` armed with the clock at 9:50 that day.
void ArmRepeating(AlarmRig& r, void (frmMain::*rule)(), const Date& day) {
    r.sys.clock.Set({day, 9, 50, 0});
    (r.form.*rule)();
    r.Choose(day, "10:00", true);
    r.form.cmdSet_Click();
}

// Armed for a Saturday under Once, then Weekdays: Monday; then Every Day: still Monday, never back. Each
// choice is saved and ticked at once.
TEST(RepeatingFlow, ARuleChangedWhileArmedMovesTheAlarmToItsNextDay) {
    AlarmRig r;
    ArmRepeating(r, &frmMain::mnuRepeatOnce_Click, {2026, 12, 12});
    r.view.tray.shown = true;
    for (auto [rule, name] : {std::pair{&frmMain::mnuRepeatWeekdays_Click, "Weekdays"},
                              {&frmMain::mnuRepeatEveryDay_Click, "Every Day"}}) {
        SCOPED_TRACE(name);
        (r.form.*rule)();
        r.form.RefreshTrayTip();
        EXPECT_EQ(r.view.Caption(MainCtl::lblDate), "12/14/2026");
        EXPECT_EQ(r.view.CalendarDate(), (Date{2026, 12, 14}));
        EXPECT_EQ(r.view.Status(), On("12/14/2026", name));
        EXPECT_EQ(r.sys.registry.Value(settings::kKey, "Armed Date:"), "12/14/2026");
        EXPECT_EQ(r.sys.power.wakeAt, r.sys.clock.MomentOf({{2026, 12, 14}, 10, 0, 0}) - 60);
        EXPECT_EQ(r.view.tray.toolTip, std::string("Alarm Set: ") + name + ", Next: Mon 12/14/2026 10:00 AM");
        EXPECT_EQ(r.sys.registry.Value(settings::kKey, "Repeat"), name);
        EXPECT_TRUE(r.view.Checked(MainCtl::mnuRepeatEveryDay) == (*name == 'E'));
    }
    // A refused write is the registry error, as for the other options.
    r.sys.registry.fail = [](const std::string& op, const std::string&, const std::string&) { return op == "write"; };
    r.sys.boxes.answers = {MbAnswer::Ok, MbAnswer::No};
    r.sys.boxes.shown.clear();
    r.form.mnuRepeatOnce_Click();
    EXPECT_EQ(r.sys.boxes.Titles(), (Strings{"ERROR!", "Close Chimewell?"}));
}

// However its ringing ends, a repeating alarm stays armed for its next day, as an arming leaves it, and
// rings there.
TEST(RepeatingFlow, WhenItsRingingEndsTheAlarmMovesOnAndRingsOnItsNextDay) {
    struct Road {
        const char* name;
        void (frmMain::*rule)();
        Date day;
        std::function<void(AlarmRig&)> end;
        Date next;
        const char* repeats;
        bool missed;
    };
    const Road roads[] = {
        {"the stop", &frmMain::mnuRepeatEveryDay_Click, kMonday, [](AlarmRig& r) {
             r.RunUntil(10, 0, 5);
             r.form.cmdSet_Click();
         }, {2026, 12, 8}, "Every Day", false},
        {"the tray's Snooze, on a Friday", &frmMain::mnuRepeatWeekdays_Click, {2026, 12, 11}, [](AlarmRig& r) {
             r.RunUntil(10, 0, 5);
             r.sys.boxes.answers = {MbAnswer::Yes};  // and close the player
             r.form.mnuCloseWinAmp_Click();
         }, {2026, 12, 14}, "Weekdays", false},
        {"missed while the PC slept", &frmMain::mnuRepeatEveryWeek_Click, kMonday, [](AlarmRig& r) {
             r.sys.clock.Set({kMonday, 10, 20, 0});
             r.form.MyTimer_Timer();
         }, {2026, 12, 14}, "Every Week", true},
    };
    for (const Road& road : roads) {
        SCOPED_TRACE(road.name);
        AlarmRig r;
        r.view.tray.shown = true;
        ArmRepeating(r, road.rule, road.day);
        const std::string next = r.sys.clock.ShortDateText(road.next);

        road.end(r);

        EXPECT_EQ(r.view.Status(), On(next, road.repeats));
        EXPECT_EQ(r.sys.registry.Value(settings::kKey, "Armed"), "Yes");
        EXPECT_EQ(r.sys.registry.Value(settings::kKey, "Armed Date:"), next);
        EXPECT_EQ(r.sys.registry.Value(settings::kKey, "Rung Date:"), r.sys.clock.ShortDateText(road.day));
        EXPECT_EQ(r.view.tray.balloons.size(), road.missed ? 1u : 0u);
        const AlarmState& s = r.form.State();
        EXPECT_EQ(s.phase, AlarmPhase::Armed);
        EXPECT_EQ(r.view.Caption(MainCtl::cmdSet), "Turn &Off");
        EXPECT_EQ(r.view.CalendarDate(), road.next);
        EXPECT_EQ(r.sys.power.wakeAt, r.sys.clock.MomentOf({road.next, 10, 0, 0}) - 60);
        ASSERT_TRUE(s.player && *s.player != 0) << "a player taken over for the next day";
        EXPECT_FALSE(r.sys.windows.windows.at(*s.player).visible);
        const Strings titles = r.sys.boxes.Titles();
        EXPECT_EQ(std::count(titles.begin(), titles.end(), "Start Chimewell With Windows?"), 1) << "asked once";

        const long plays = r.PlayMessages();
        r.sys.clock.Set({road.next, 9, 59, 50});
        r.RunUntil(10, 0, 5);
        EXPECT_EQ(r.view.Status(), kBanner);
        EXPECT_EQ(r.PlayMessages(), plays + 1);
    }
}

// The armed record read back by a start: what rang, or was missed while the PC was off, goes on to the
// next day still ahead; a snooze that waited rings at its moment, or is missed.
TEST(RepeatingFlow, AStartMovesARepeatingAlarmOnOrRingsItsSnooze) {
    const std::string missed = "Chimewell System|Alarm MISSED!  Date: 12/7/2026 Time: 10:00 AM";
    struct Case {
        const char* repeat;
        bool rung;
        const char* snooze;  // the snooze's time, that day; empty: none
        DateTime start;
        std::string status;
        bool missed;
    };
    const Case cases[] = {
        {"Every Day", true, "", {kMonday, 10, 5, 0}, On("12/8/2026", "Every Day"), false},
        {"Every Day", false, "", {{2026, 12, 9}, 11, 0, 0}, On("12/10/2026", "Every Day"), true},
        {"Once", true, "10:13 AM", {kMonday, 10, 5, 0}, "Snoozing: Ringing Again At 10:13 AM.", false},
        {"Every Day", true, "10:13 AM", {kMonday, 10, 40, 0}, On("12/8/2026", "Every Day"), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status);
        AlarmRig r;
        for (auto [name, data] : {std::pair{"StartInTray", "No"}, {"WinAmpOnStart", "No"}, {"Repeat", c.repeat},
                                  {"Armed", "Yes"}, {"Armed Date:", "12/7/2026"}, {"Armed Time:", "10:00 AM"},
                                  {"Rung Date:", c.rung ? "12/7/2026" : ""}, {"Rung Time:", "10:00 AM"},
                                  {"Snooze Date:", "12/7/2026"}, {"Snooze Time:", c.snooze}})
            r.sys.registry.Put(settings::kKey, name, data);
        r.view.tray.shown = true;
        r.sys.clock.Set(c.start);
        r.form.Form_Load();
        r.form.ResumeArmedAlarm();
        EXPECT_EQ(r.view.Checked(MainCtl::mnuRepeatEveryDay), *c.repeat == 'E');
        EXPECT_TRUE(r.sys.boxes.shown.empty()) << "nothing is asked";
        EXPECT_EQ(r.view.Status(), c.status);
        EXPECT_EQ(r.view.tray.balloons, c.missed ? Strings{missed} : Strings{});
        EXPECT_EQ(r.sys.registry.Value(settings::kKey, "Armed"), "Yes");
        if (*c.snooze && !c.missed) {
            EXPECT_EQ(r.sys.power.wakeAt, r.sys.clock.MomentOf({kMonday, 10, 13, 0}) - 60);
            r.RunUntil(10, 13, 5);
            EXPECT_EQ(r.view.Status(), kBanner);
            EXPECT_GE(r.PlayMessages(), 1);
        }
        EXPECT_EQ(r.sys.registry.Value(settings::kKey, "Snooze Time:"), "") << "emptied once it has rung or gone";
    }
}

// Ten minutes more: quiet as the stop, the player paused and kept, armed for ten minutes after the minute
// it was asked in; then it rings as at first, and only the final stop moves a repeating alarm on.
TEST(RepeatingFlow, RingAgainPausesThePlayerAndRingsTenMinutesLater) {
    const std::string off = "Alarm Settings: OFF  Date: 12/7/2026 Time: 10:00 AM ALARM IS SET";
    struct Case {
        void (frmMain::*rule)();
        bool playerPlays;  // else our own sound rings
        void (frmMain::*ringAgain)();
        std::string afterStop;
    };
    const Case cases[] = {
        {&frmMain::mnuRepeatOnce_Click, true, &frmMain::mnuRingAgain_Click, off},
        {&frmMain::mnuRepeatEveryDay_Click, false, &frmMain::mnuPopUpRingAgain_Click, On("12/8/2026", "Every Day")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.afterStop);
        AlarmRig r;
        auto& v = r.view;
        ArmRepeating(r, c.rule, kMonday);
        const WindowHandle player = *r.form.State().player;
        r.sys.windows.players.at(player).ignorePlay = !c.playerPlays;
        EXPECT_FALSE(v.Enabled(MainCtl::mnuRingAgain));
        EXPECT_FALSE(v.Enabled(MainCtl::mnuPopUpRingAgain));

        r.RunUntil(10, 3, 30);  // asked in the minute 10:03: rings again at 10:13
        ASSERT_EQ(v.Status(), kBanner);
        EXPECT_TRUE(v.Enabled(MainCtl::mnuRingAgain));
        EXPECT_TRUE(v.Enabled(MainCtl::mnuPopUpRingAgain));
        (r.form.*c.ringAgain)();

        EXPECT_FALSE(r.sys.sound.playing);
        ASSERT_TRUE(r.sys.windows.Exists(player)) << "paused, not closed";
        EXPECT_EQ(r.sys.windows.players.at(player).volume, 28);
        EXPECT_EQ(r.sys.windows.players.at(player).status, c.playerPlays ? 3 : 0);
        EXPECT_EQ(v.Status(), "Snoozing: Ringing Again At 10:13 AM.");
        EXPECT_FALSE(v.Enabled(MainCtl::mnuRingAgain));
        EXPECT_EQ(r.sys.power.wakeAt, r.sys.clock.MomentOf({kMonday, 10, 13, 0}) - 60);
        EXPECT_EQ(r.sys.registry.Value(settings::kKey, "Armed Date:"), "12/7/2026") << "not moved on";
        EXPECT_EQ(r.sys.registry.Value(settings::kKey, "Snooze Time:"), "10:13 AM") << "for a start after a crash";

        const long plays = r.PlayMessages();
        r.RunUntil(10, 12, 59);
        EXPECT_EQ(v.Status(), "Snoozing: Ringing Again At 10:13 AM.");
        r.RunUntil(10, 13, 5);
        EXPECT_EQ(v.Status(), kBanner);
        EXPECT_EQ(r.sys.windows.players.at(player).volume, 255);
        EXPECT_GT(r.PlayMessages(), plays);
        EXPECT_EQ(r.sys.sound.playing, !c.playerPlays);
        EXPECT_EQ(r.sys.registry.Value(settings::kKey, "Snooze Time:"), "");

        r.form.cmdSet_Click();
        EXPECT_EQ(v.Status(), c.afterStop);
    }
}

}  // namespace
}  // namespace chw::testing
