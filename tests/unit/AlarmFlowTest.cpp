// The alarm's life: arming, the watch firing it, stop, disarm and clear, and the waits in between.
#include <algorithm>
#include <functional>

#include <gtest/gtest.h>

#include "alarm/AlarmMoment.h"
#include "alarm/AlarmTexts.h"
#include "AlarmFixture.h"

namespace chw::testing {
namespace {

const char* const kBanner =
    "!!!!! ALARM !!!!!! !!!!! ALARM !!!!!! !!!!! ALARM !!!!!! !!!!! ALARM !!!!!! !!!!! ALARM !!!!!! !!!!! ALARM !!!!!!";
const Date kToday{2026, 12, 7};

struct AlarmFlow : AlarmFixture {
    // What the window and the marks look like in one state.
    struct Look {
        const char* name;
        const char* caption;
        const char* tip;
        bool inputsEnabled;  // calendar, time box, cmdReset, mnuSetAlarm
        bool armed, fired, ringing, takenOver, watch;
        std::string status;
    };

    void Expect(const Look& l) {
        SCOPED_TRACE(l.name);
        EXPECT_EQ(view.Caption(MainCtl::cmdSet), l.caption);
        EXPECT_EQ(view.ToolTip(MainCtl::cmdSet), l.tip);
        for (MainCtl c : {MainCtl::MonthView, MainCtl::txtTime, MainCtl::cmdReset, MainCtl::mnuSetAlarm})
            EXPECT_EQ(view.Enabled(c), l.inputsEnabled) << static_cast<int>(c);
        EXPECT_EQ(form.State().armed, l.armed);
        EXPECT_EQ(form.State().fired, l.fired);
        EXPECT_EQ(form.State().snoozeInMenu, l.ringing);
        EXPECT_EQ(form.State().player.has_value(), l.takenOver);
        EXPECT_EQ(view.timer.Enabled(), l.watch);
        EXPECT_EQ(view.Status(), l.status);
        EXPECT_EQ(view.statusUrgent, l.status == kBanner) << "only the banner interrupts a screen reader";
    }
};

TEST_F(AlarmFlow, UsualCourseFromUnsetToArmedTwice) {
    const std::string off = "Alarm Settings: OFF  Date: 12/7/2026 Time: 9:02 AM ALARM IS SET";
    const std::string on = "Alarm Settings: ON  Date: 12/7/2026 Time: 9:02 AM ALARM IS SET";

    form.cmdSet_Click();  // nothing chosen: refused
    Expect({"refused", "&Activate", "Click Here To Activate The Alarm.", true, false, false, false, false, false,
            "Look Here For Important Information"});

    Choose(kToday, "09:02", true);
    Expect({"chosen", "&Activate", "Click Here To Activate The Alarm.", true, false, false, false, false, false,
            off + "."});

    form.cmdSet_Click();
    Expect({"armed", "Turn &Off", "Turn The Alarm OFF.", false, true, false, false, true, true, on});
    EXPECT_EQ(view.tray.iconNumber, 1);
    const WindowHandle player = *form.State().player;
    EXPECT_FALSE(sys.windows.windows.at(player).visible);

    RunUntil(9, 2);
    Expect({"ringing", "Snoo&ze", "Turn The Alarm OFF.", false, true, true, true, true, true, kBanner});
    EXPECT_EQ(view.Caption(MainCtl::mnuCloseWinAmp), "Snoo&ze");
    EXPECT_EQ(sys.windows.players.at(player).volume, 255);

    form.cmdSet_Click();  // the stop
    Expect({"halted", "Turn &On", "Turn The Alarm OFF.", true, true, false, true, false, false, off});
    EXPECT_FALSE(sys.windows.Exists(player));
    const auto toPlayer = sys.windows.MessagesTo(player);
    ASSERT_GE(toPlayer.size(), 2u);
    EXPECT_EQ(toPlayer[toPlayer.size() - 2].wParam, 28u);  // quietened, then closed
    EXPECT_EQ(toPlayer.back().wParam, 40001u);

    form.cmdSet_Click();  // the disarm, although the button reads "Turn &On"
    Expect({"chosen again", "Turn &On", "Accept Settings And Turn Alarm On.", true, false, false, true, false, true,
            off});
    EXPECT_EQ(view.tray.iconNumber, 2);
    EXPECT_EQ(view.Caption(MainCtl::txtTime), "9:02 AM");

    form.cmdSet_Click();
    Expect({"armed again", "Turn &Off", "Turn The Alarm OFF.", false, true, false, true, true, true, on});
}

TEST_F(AlarmFlow, ArmingTakesOverThePlayerWithACountdown) {
    Choose(kToday, "10:00", true);
    sys.runtime.pauses.clear();
    view.statusHistory.clear();
    const auto startMs = sys.scheduler.nowMs;

    form.cmdSet_Click();

    ASSERT_EQ(sys.processes.launches.size(), 1u);
    EXPECT_EQ(sys.processes.launches[0].commandLine, "\"c:\\Program Files\\Winamp\\Winamp.exe\"");
    EXPECT_EQ(sys.processes.launches[0].style, WindowStyle::MinimizedFocus);
    ASSERT_EQ(sys.boxes.shown.size(), 2u);  // the AM/PM question, then this one
    EXPECT_EQ(sys.boxes.shown[1].title, "Start Chimewell With Windows?");
    EXPECT_EQ(sys.boxes.shown[1].text,
              "Should Chimewell Start With Windows?\r\nThis Will Ensure That Your Alarm Initiates\r\n"
              "In The Event This PC Is Restarted.");
    EXPECT_EQ(sys.boxes.shown[1].icon, MbIcon::Question);

    std::vector<int> expectedPauses(16, 1000);
    expectedPauses[0] = 2000;
    EXPECT_EQ(sys.runtime.pauses, expectedPauses);
    EXPECT_EQ(sys.scheduler.nowMs - startMs, 17000);

    const std::string on = "Alarm Settings: ON  Date: 12/7/2026 Time: 10:00 AM ALARM IS SET";
    std::vector<std::string> expectedStatus{on, "Assuming Control Of WinAmp Executable. . .Please Wait. . ."};
    for (int n = 14; n >= 0; --n) expectedStatus.push_back("Process Will Be Complete In: " + std::to_string(n) + " Seconds. . . ");
    expectedStatus.push_back(on);
    EXPECT_EQ(view.statusHistory, expectedStatus);
    EXPECT_EQ(view.repaints, 15);

    const WindowHandle player = sys.windows.Find(winamp::kClass, std::nullopt);
    EXPECT_EQ(form.State().player, player);
    EXPECT_EQ(sys.windows.shows.back(), std::make_pair(player, ShowCommand::Hide));
    EXPECT_TRUE(view.active);  // the keyboard comes back from the player that was started with the focus
}

TEST_F(AlarmFlow, APlayerWindowLaterThanTheCountdownIsTakenOverWhenItComes) {
    sys.processes.onLaunch = [](const std::string&, WindowStyle) { return LaunchResult{1, LaunchError::None}; };
    Choose(kToday, "10:00", true);
    form.cmdSet_Click();
    EXPECT_EQ(form.State().player, WindowHandle{0});
    EXPECT_TRUE(sys.windows.shows.empty());

    const WindowHandle late = sys.windows.AddPlayer().handle;
    sys.runtime.DoEvents();
    EXPECT_EQ(form.State().player, late);
    EXPECT_FALSE(sys.windows.windows.at(late).visible);
    EXPECT_EQ(sys.processes.launches.size(), 1u) << "no second player for the one that came late";
}

TEST_F(AlarmFlow, StartWithWindowsYesSwitchesBothOptionsOnAndNeverOff) {
    struct Case {
        MbAnswer answer;
        bool trayBefore, loadBefore;
        bool trayAfter, loadAfter;
    };
    const Case cases[] = {{MbAnswer::Yes, false, false, true, true},
                          {MbAnswer::Yes, true, true, true, true},
                          {MbAnswer::Yes, true, false, true, true},
                          {MbAnswer::No, false, true, false, true}};
    for (const Case& c : cases) {
        AlarmRig r;
        auto& s = r.sys;
        auto& v = r.view;
        auto& f = r.form;
        v.SetChecked(MainCtl::mnuStartInSystemTray, c.trayBefore);
        v.SetChecked(MainCtl::mnuLoadWinAmpOnStart, c.loadBefore);
        SetAlarm(f, "12/7/2026", "10:00 AM");
        s.boxes.answers = {c.answer};

        f.cmdSet_Click();

        EXPECT_EQ(v.Checked(MainCtl::mnuStartInSystemTray), c.trayAfter);
        EXPECT_EQ(v.Checked(MainCtl::mnuLoadWinAmpOnStart), c.loadAfter);
        EXPECT_TRUE(f.State().armed);
    }
}

TEST_F(AlarmFlow, DisarmSwitchesStartInTrayOffButNeverOn) {
    for (bool checked : {true, false}) {
        view.SetChecked(MainCtl::mnuStartInSystemTray, checked);
        SetAlarm(form, "12/7/2026", "10:00 AM");
        Given(form).Armed();
        form.cmdSet_Click();
        EXPECT_FALSE(view.Checked(MainCtl::mnuStartInSystemTray));
        EXPECT_TRUE(!form.State().armed);
    }
}

TEST_F(AlarmFlow, RefusedWithoutBothDateAndTime) {
    struct Case {
        const char* date;
        const char* time;
    };
    for (const Case c : {Case{"12/7/2026", ""}, Case{"", "10:00 AM"}, Case{"", ""}}) {
        sys.boxes.shown.clear();
        form.State().AlarmDate = c.date;
        form.State().AlarmTime = c.time;
        view.timer.SetEnabled(true);
        form.cmdSet_Click();
        ASSERT_EQ(sys.boxes.shown.size(), 1u);
        EXPECT_EQ(sys.boxes.shown[0].title, "Alarm Not Set!");
        EXPECT_EQ(sys.boxes.shown[0].text, "You Must Set The Alarm Before You Can Activate It!");
        EXPECT_EQ(sys.boxes.shown[0].icon, MbIcon::Exclamation);
        EXPECT_FALSE(view.timer.Enabled());  // the watch stays stopped
        EXPECT_EQ(view.Caption(MainCtl::cmdSet), "&Activate");
        EXPECT_TRUE(!form.State().armed);
        EXPECT_TRUE(sys.processes.launches.empty());
    }
}

TEST_F(AlarmFlow, MissingPlayerShowsItsFiveBoxesAndEnds) {
    sys.files.RemoveFile(winamp::kFileTested);
    SetAlarm(form, "12/7/2026", "10:00 AM");
    form.cmdSet_Click();
    const std::vector<std::string> titles = sys.boxes.Titles();
    ASSERT_GE(titles.size(), 6u);
    const std::vector<std::string> five(titles.begin() + 1, titles.begin() + 6);
    EXPECT_EQ(five, (std::vector<std::string>{"WinAmp Is Not Installed!", "Chimewell\u2122",
                                              "Making WinAmp The Default Media Player", "Make Necessary Changes",
                                              "ERROR!"}));
    EXPECT_EQ(sys.boxes.shown[5].text, "WinAmp Detection Failure!");
    EXPECT_EQ(view.timer.Interval(), 0);
    EXPECT_TRUE(sys.runtime.ended);
    EXPECT_TRUE(sys.processes.launches.empty());
}

TEST_F(AlarmFlow, PlayerThatCannotStartIsReportedAndEnds) {
    sys.processes.onLaunch = [](const std::string&, WindowStyle) { return LaunchResult{0, LaunchError::Other}; };
    SetAlarm(form, "12/7/2026", "10:00 AM");
    form.cmdSet_Click();
    ASSERT_GE(sys.boxes.shown.size(), 2u);
    EXPECT_EQ(sys.boxes.shown[1].text, "WinAmp Could Not Be Loaded, And Therefore The Alarm Could Not Execute!");
    EXPECT_EQ(sys.boxes.shown[1].title, "Chimewell System");
    EXPECT_EQ(sys.boxes.shown[1].icon, MbIcon::Critical);
    EXPECT_TRUE(sys.runtime.ended);
    EXPECT_TRUE(sys.runtime.pauses.empty());
    EXPECT_EQ(sys.registry.Value(settings::kKey, "Armed"), "No") << "nothing to bring back at the next start";
}

TEST_F(AlarmFlow, FiringMakesSureSomethingIsHeard) {
    using TF = fakes::FakeClock::TimeFormat;
    enum Player { None, Stopped, Paused, Playing, IgnoresPlay, Hung, RefusesPosts };
    struct Case {
        const char* name;
        Player player;
        TF format;
        long plays;  // Play commands sent
        std::vector<int> pauses;
        bool builtIn;
        bool device = true;
    };
    const Case cases[] = {{"stopped", Stopped, TF::US, 1, {2000}, false},
                          {"paused", Paused, TF::US, 1, {2000}, false},
                          {"already playing: no Play, full volume", Playing, TF::US, 0, {}, false},
                          {"no player: our own sound at once", None, TF::US, 0, {}, true},
                          {"Play cannot be posted: our own sound, then the box", RefusesPosts, TF::US, 0, {}, true},
                          {"ignores Play: once more, then our own sound", IgnoresPlay, TF::US, 2, {2000, 1000}, true},
                          {"hung", Hung, TF::US, 2, {2000, 1000}, true},
                          {"no sound device either", IgnoresPlay, TF::US, 2, {2000, 1000}, false, false},
                          {"24-hour clock", Stopped, TF::H24, 1, {2000}, false},
                          {"leading zero", Stopped, TF::LeadingZero12, 1, {2000}, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AlarmRig r;
        auto& s = r.sys;
        auto& v = r.view;
        auto& f = r.form;
        s.clock.timeFormat = c.format;
        s.clock.Set({kToday, 9, 2, 0});
        s.sound.device = c.device;
        v.tray.shown = true;
        SetAlarm(f, "12/7/2026", "9:02 AM");
        fakes::FakePlayer* player = nullptr;
        if (c.player != None) {
            player = &s.windows.AddPlayer(c.player == Playing ? 1 : c.player == Paused ? 3 : 0);
            player->ignorePlay = c.player == IgnoresPlay;
            s.windows.windows.at(player->handle).hung = c.player == Hung;
            s.windows.windows.at(player->handle).acceptPosts = c.player != RefusesPosts;
        }
        std::vector<bool> soundAtBoxes;
        s.boxes.onShow = [&](const fakes::ShownBox&) { soundAtBoxes.push_back(s.sound.playing); };
        const auto start = s.scheduler.nowMs;

        f.MyTimer_Timer();

        EXPECT_TRUE(f.State().fired);
        EXPECT_EQ(v.Status(), kBanner);
        EXPECT_EQ(v.Caption(MainCtl::cmdSet), "Snoo&ze");
        EXPECT_EQ(v.Caption(MainCtl::mnuCloseWinAmp), "Snoo&ze");
        EXPECT_TRUE(f.State().snoozeInMenu);
        if (c.player == RefusesPosts) {
            EXPECT_EQ(s.boxes.Titles(), std::vector<std::string>{"Chimewell System"});
            EXPECT_EQ(s.boxes.shown.at(0).text, "Couldn't queue message for 5 seconds: 40045");
            EXPECT_EQ(soundAtBoxes, std::vector<bool>{true});
            s.runtime.pauses.erase(std::remove(s.runtime.pauses.begin(), s.runtime.pauses.end(), 10),
                                   s.runtime.pauses.end());  // the post's retries
        } else {
            EXPECT_EQ(r.PlayMessages(), c.plays);
            EXPECT_TRUE(s.boxes.shown.empty());
        }
        EXPECT_EQ(s.runtime.pauses, c.pauses);
        if (player && c.player != Hung) {
            EXPECT_EQ(player->volume, 255);
        }
        // A hung player is waited for once (3 s), not at every message.
        if (c.player == Hung) {
            EXPECT_LE(s.scheduler.nowMs - start, 3000 + 2000 + 1000);
        }
        EXPECT_EQ(s.sound.playing, c.builtIn);
        EXPECT_EQ(v.Caption(MainCtl::StatusBar1Panel2), c.builtIn ? "Built-In Alarm Sound" : "");
        // Not even our own sound: the window comes out of the tray, to the front, flashing.
        EXPECT_EQ(v.flashes, c.device ? 0 : 1);
        EXPECT_EQ(v.flashing, !c.device);
        EXPECT_EQ(v.visible, !c.device);
        EXPECT_EQ(v.active, !c.device);
        EXPECT_EQ(v.tray.balloons.size(), c.device ? 0u : 1u);
        EXPECT_TRUE(s.power.awake);

        // Every road out of the ringing silences it. This alarm was never armed: Snooze stops it, and
        // does not arm it instead.
        f.cmdSet_Click();
        EXPECT_TRUE(!f.State().armed);
        EXPECT_EQ(v.Caption(MainCtl::cmdSet), "Turn &On");
        EXPECT_FALSE(s.sound.playing);
        EXPECT_EQ(v.Caption(MainCtl::StatusBar1Panel2), "");
        EXPECT_FALSE(s.power.awake);
        EXPECT_FALSE(v.flashing);
    }
}

// From the firing to the stop the watch keeps the alarm heard, and leaves the banner and the captions be.
TEST_F(AlarmFlow, WhileItRingsTheSoundGoesOnUntilTheStop) {
    enum Event { Plays, Stops, StopsAndIgnoresPlay, StopsTwice, Closes, ClosesAndNoWindowComes, Hangs, TraySnoozed };
    struct Case {
        const char* name;
        Event event;
        long plays;  // Play commands in all, the firing's included
        bool builtIn;
        std::size_t launches;  // the arming's included
    };
    const Case cases[] = {
        {"plays on: nothing to do", Plays, 1, false, 1},
        {"stopped: Play again, and it plays", Stops, 2, false, 1},
        {"stopped, and ignores Play: our own sound", StopsAndIgnoresPlay, 2, true, 1},
        {"stopped again after its one Play again: our own sound", StopsTwice, 2, true, 1},
        {"closed: started again, hidden, Play at full volume", Closes, 2, false, 2},
        {"closed, and the new one shows no window: our own sound", ClosesAndNoWindowComes, 1, true, 2},
        {"hangs: our own sound", Hangs, 1, true, 1},
        {"stopped after the tray's snooze: left alone", TraySnoozed, 1, false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AlarmRig r;
        auto& s = r.sys;
        auto runFor = [&](int ms) {
            const auto end = s.scheduler.nowMs + ms;
            while (s.scheduler.nowMs < end) s.runtime.DoEvents();
        };
        s.clock.Set({kToday, 9, 1, 0});
        r.Choose(kToday, "09:02", true);
        r.form.cmdSet_Click();
        s.clock.Set({kToday, 9, 2, 0});
        s.runtime.DoEvents();
        ASSERT_TRUE(r.form.State().fired);
        const WindowHandle first = *r.form.State().player;
        fakes::FakePlayer& player = s.windows.players.at(first);
        ASSERT_EQ(player.status, 1);

        switch (c.event) {
            case Plays: break;
            case StopsAndIgnoresPlay: player.ignorePlay = true; [[fallthrough]];
            case Stops:
            case StopsTwice: player.status = 0; break;
            case ClosesAndNoWindowComes:
                s.processes.onLaunch = [](const std::string&, WindowStyle) { return LaunchResult{1, LaunchError::None}; };
                [[fallthrough]];
            case Closes: s.windows.Remove(first); break;
            case Hangs: s.windows.windows.at(first).hung = true; break;
            case TraySnoozed:
                s.boxes.answers.push_back(MbAnswer::No);  // the player stays
                r.form.mnuCloseWinAmp_Click();
                player.status = 0;
                break;
        }
        runFor(20000);
        if (c.event == StopsTwice) {
            ASSERT_EQ(s.windows.players.at(first).status, 1);
            s.windows.players.at(first).status = 0;
            runFor(20000);
        }

        EXPECT_EQ(r.PlayMessages(), c.plays);
        EXPECT_EQ(s.sound.playing, c.builtIn);
        EXPECT_EQ(s.processes.launches.size(), c.launches);
        if (c.event == Closes) {
            const WindowHandle second = s.windows.Find(winamp::kClass, std::nullopt);
            EXPECT_FALSE(s.windows.windows.at(second).visible);
            EXPECT_EQ(s.windows.players.at(second).volume, 255);
        }
        if (c.event != TraySnoozed) {
            EXPECT_EQ(r.view.Status(), kBanner);
            EXPECT_EQ(r.view.Caption(MainCtl::cmdSet), "Snoo&ze");
            EXPECT_TRUE(r.form.State().fired);
        }
        // Our own sound loops until the stop, then ends with it.
        r.form.cmdSet_Click();
        EXPECT_FALSE(s.sound.playing);
        EXPECT_EQ(r.view.Caption(MainCtl::StatusBar1Panel2), "");
    }
}

TEST_F(AlarmFlow, OnlyAnAlarmSeenAheadCatchesUpTenMinutesOrIsCalledMissed) {
    enum Seen { AtATick, ChosenLate, RefusedLate };
    enum Outcome { Rings, Missed, Silent };
    struct Case {
        int hour, minute, second;  // when the watch looks after 9:02 AM
        Seen seen;                 // a tick at 9:01 saw it ahead; chosen only then; or its arming refused then
        Outcome outcome;
    };
    for (const Case c : {Case{9, 2, 0, AtATick, Rings}, Case{9, 2, 59, AtATick, Rings},
                         Case{9, 7, 30, AtATick, Rings}, Case{9, 12, 0, AtATick, Rings},
                         Case{9, 12, 1, AtATick, Missed}, Case{11, 0, 0, AtATick, Missed},
                         Case{9, 2, 30, ChosenLate, Rings},  // its own minute rings as ever
                         Case{9, 3, 0, ChosenLate, Silent}, Case{9, 12, 0, ChosenLate, Silent},
                         Case{11, 0, 0, ChosenLate, Silent}, Case{9, 5, 0, RefusedLate, Silent},
                         Case{9, 20, 0, RefusedLate, Silent}}) {
        SCOPED_TRACE(std::to_string(c.hour) + ":" + std::to_string(c.minute) + ":" + std::to_string(c.second) +
                     " seen " + std::to_string(c.seen));
        AlarmRig r;
        auto& f = r.form;
        auto& v = r.view;
        v.tray.shown = true;
        r.sys.windows.AddPlayer();
        if (c.seen == AtATick) {
            SetAlarm(f, "12/7/2026", "9:02 AM");
            Given(f).Armed();
            f.State().player = r.sys.windows.Find(winamp::kClass, std::nullopt);
            r.sys.clock.Set({kToday, 9, 1, 0});
            f.MyTimer_Timer();
            r.sys.clock.Set({kToday, c.hour, c.minute, c.second});
        } else {
            // Refused: chosen ahead, but armed too late.
            const DateTime looked{kToday, c.hour, c.minute, c.second};
            r.sys.clock.Set(c.seen == RefusedLate ? DateTime{kToday, 9, 1, 0} : looked);
            r.Choose(kToday, "09:02", true);
            if (c.seen == RefusedLate) {
                r.sys.clock.Set({kToday, c.hour, c.minute, c.second});
                r.form.cmdSet_Click();
                ASSERT_EQ(r.sys.boxes.Titles().back(), "Chimewell System");  // already passed
            }
        }
        const std::string before = v.Status();
        f.MyTimer_Timer();
        EXPECT_EQ(v.Status() == kBanner, c.outcome == Rings);
        EXPECT_EQ(r.PlayMessages(), c.outcome == Rings ? 1 : 0);
        const std::string missed = "Alarm MISSED!  Date: 12/7/2026 Time: 9:02 AM";
        if (c.outcome == Silent) {
            EXPECT_EQ(v.Status(), before);
            EXPECT_TRUE(v.tray.balloons.empty());
            EXPECT_TRUE(!f.State().fired);
        }
        if (c.outcome != Missed) continue;
        EXPECT_EQ(v.Status(), missed);
        EXPECT_EQ(v.tray.balloons, std::vector<std::string>{"Chimewell System|" + missed});
        // Left as the stop leaves it, and said only once.
        EXPECT_EQ(v.Caption(MainCtl::cmdSet), "Turn &On");
        EXPECT_TRUE(!f.State().player);
        EXPECT_TRUE(v.Enabled(MainCtl::cmdReset));
        f.MyTimer_Timer();
        EXPECT_EQ(v.tray.balloons.size(), 1u);
    }
}

TEST_F(AlarmFlow, ClockChangesAndZoneMovesNeitherSkipNorDoubleTheAlarmAndTheWakeFollows) {
    struct Case {
        const char* name;
        int changeMinutes;  // the clocks at 2:00 AM
        int zoneMinutes;    // a move to another zone when the local time first reads 1:30 AM
        const char* alarm;
        DateTime ringsAt;
    };
    const Case cases[] = {
        {"a time the clocks skip rings at the first minute after", 60, 0, "2:30 AM", {kToday, 3, 0, 0}},
        {"a time shown twice rings at its first showing", -60, 0, "1:30 AM", {kToday, 1, 30, 0}},
        {"a zone an hour back after the ringing: not again", 0, -60, "1:10 AM", {kToday, 1, 10, 0}},
        {"a zone an hour back before it: at its own local time", 0, -60, "3:00 AM", {kToday, 3, 0, 0}},
        {"a zone an hour on before it", 0, 60, "3:00 AM", {kToday, 3, 0, 0}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AlarmRig r;
        r.sys.clock.Set({kToday, 0, 0, 0});
        if (c.changeMinutes) r.sys.clock.AddClockChange({kToday, 2, 0, 0}, c.changeMinutes);
        SetAlarm(r.form, "12/7/2026", c.alarm);
        r.form.cmdSet_Click();  // armed: the wake is set
        const auto at = alarm::ParseAlarmTime(c.alarm);
        auto wakeDue = [&] { return r.sys.clock.MomentOf({kToday, at->hour, at->minute, 0}) - 60; };
        EXPECT_EQ(r.sys.power.wakeAt, wakeDue());
        int rings = 0;
        bool moved = false;
        DateTime rang{};
        for (int tick = 0; tick < 4 * 3600; ++tick) {
            r.sys.scheduler.Advance(1000);
            const DateTime now = r.sys.clock.Now();
            if (c.zoneMinutes && !moved && now.hour == 1 && now.minute == 30) {
                moved = true;
                r.sys.clock.zoneMinutes += c.zoneMinutes;
                r.form.Form_TimeChange();
                if (rings == 0) {
                    EXPECT_EQ(r.sys.power.wakeAt, wakeDue()) << "the wake moves with the alarm";
                }
            }
            r.form.MyTimer_Timer();
            if (r.form.State().fired && rings == 0) rang = r.sys.clock.Now();
            if (r.form.State().fired) {
                ++rings;
                Given(r.form).Stopped();
            }
        }
        EXPECT_EQ(rings, 1);
        EXPECT_EQ(rang.hour, c.ringsAt.hour);
        EXPECT_EQ(rang.minute, c.ringsAt.minute);
    }
}

// The watch goes on under every box the program opens: the alarm rings at its minute and the box stays.
TEST_F(AlarmFlow, TheAlarmRingsOnTimeUnderAnyBoxAndOnlyOnce) {
    struct Case {
        const char* name;
        const char* title;  // the box open across the minute
        bool armedFirst;    // otherwise the box is one of the arming's own
        int playlist;
        std::vector<MbAnswer> answers;
        std::function<void(frmMain&)> open;
        bool played;  // Play reached the player under the box (else our own sound: no player yet)
        bool ends;
    };
    const auto arm = [](frmMain& f) { f.cmdSet_Click(); };
    const Case cases[] = {
        {"start-with-Windows question", "Start Chimewell With Windows?", false, 5, {}, arm, false, false},
        {"empty playlist warning", "Chimewell System", false, 0, {}, arm, true, false},
        {"About", "About Chimewell(tm)", true, 5, {}, [](frmMain& f) { f.mnuAbout_Click(); }, true, false},
        {"Exit question, then No", "Close Chimewell?", true, 5, {MbAnswer::No},
         [](frmMain& f) { f.mnuExitApp_Click(); }, true, false},
        {"save question", "Save Settings?", true, 5, {MbAnswer::Yes, MbAnswer::No, MbAnswer::No},
         [](frmMain& f) { f.Unload(); }, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AlarmRig r;
        r.sys.processes.onLaunch = [&](const std::string&, WindowStyle) {
            r.sys.windows.AddPlayer().playlistLength = c.playlist;
            return LaunchResult{1, LaunchError::None};
        };
        r.sys.clock.Set({kToday, 9, 1, 0});
        r.Choose(kToday, "09:02", true);
        if (c.armedFirst) r.form.cmdSet_Click();
        bool rangUnder = false;
        long playsUnder = -1;
        r.sys.boxes.onShow = [&](const fakes::ShownBox& b) {
            if (b.title != c.title || playsUnder >= 0) return;
            r.sys.clock.Set({kToday, 9, 2, 0});
            for (int i = 0; i < 3 && !r.form.State().fired; ++i) r.sys.runtime.DoEvents();
            rangUnder = r.form.State().fired && r.view.Status() == kBanner;
            playsUnder = r.PlayMessages();
        };
        r.sys.boxes.answers.assign(c.answers.begin(), c.answers.end());

        c.open(r.form);

        EXPECT_TRUE(rangUnder);
        EXPECT_EQ(playsUnder, c.played ? 1 : 0);
        EXPECT_EQ(r.sys.sound.playing, !c.played);
        EXPECT_EQ(r.sys.runtime.ended, c.ends);
        if (c.ends) continue;
        // The box closed: still ringing, the player taken over, and no second firing.
        EXPECT_EQ(r.view.Status(), kBanner);
        EXPECT_EQ(r.view.Caption(MainCtl::cmdSet), "Snoo&ze");
        EXPECT_FALSE(!r.form.State().player);
        for (int i = 0; i < 10; ++i) r.sys.runtime.DoEvents();
        EXPECT_EQ(r.PlayMessages(), c.played ? 1 : 0);
    }
}

TEST_F(AlarmFlow, TickInsideTheFiringsOwnBoxKeepsRingingButDoesNotFireTwice) {
    sys.clock.Set({kToday, 9, 1, 0});
    Choose(kToday, "09:02", true);
    form.cmdSet_Click();
    sys.clock.Set({kToday, 9, 2, 0});

    // Inside the firing, the box of a refused Play is open while ticks arrive, and the user closes the
    // player meanwhile.
    sys.windows.postFailuresLeft = -1;
    int nestedTicks = 0;
    sys.boxes.onShow = [&](const fakes::ShownBox&) {
        ++nestedTicks;
        EXPECT_TRUE(sys.sound.playing);  // heard before the box
        sys.windows.Remove(sys.windows.Find(winamp::kClass, std::nullopt));
        form.MyTimer_Timer();
    };
    form.MyTimer_Timer();
    EXPECT_EQ(nestedTicks, 1);  // one box: the nested tick did not fire again
    EXPECT_TRUE(form.State().fired);
    EXPECT_EQ(sys.processes.launches.size(), 2u);  // but it went on: the closed player was started again
}

TEST_F(AlarmFlow, VanishedPlayerIsRestartedAndHidden) {
    struct Case {
        const char* name;
        int windowAfterMs;  // -1: the window never comes
    };
    for (const Case c : {Case{"window there at once", 0}, Case{"window after a second", 1000},
                         Case{"window never there", -1}}) {
        SCOPED_TRACE(c.name);
        AlarmRig r;
        auto& s = r.sys;
        auto& f = r.form;
        WindowHandle started = 0;
        int waited = 0;
        auto appear = [&] {
            if (c.windowAfterMs >= 0 && started == 0 && waited >= c.windowAfterMs) started = s.windows.AddPlayer().handle;
        };
        s.processes.onLaunch = [&](const std::string&, WindowStyle) {
            appear();
            return LaunchResult{1, LaunchError::None};
        };
        s.runtime.onPause = [&](int ms) {
            waited += ms;
            appear();
        };
        Given(f).Armed();
        f.State().player = 4096;  // the player arming took over, since closed by the user

        f.MyTimer_Timer();

        ASSERT_EQ(s.processes.launches.size(), 1u);
        EXPECT_EQ(s.processes.launches[0].commandLine, "\"c:\\Program Files\\Winamp\\Winamp.exe\"");
        EXPECT_EQ(s.processes.launches[0].style, WindowStyle::MinimizedFocus);
        EXPECT_EQ(f.State().player, started);
        EXPECT_EQ(waited, 5000);  // the pause keeps its length however soon the window comes
        if (started != 0) {
            EXPECT_FALSE(s.windows.windows.at(started).visible);
        }
        // Present now, or a start that showed no window and counts as failed: no second start at the
        // next tick.
        s.scheduler.Advance(1000);
        f.MyTimer_Timer();
        EXPECT_EQ(s.processes.launches.size(), 1u);
    }
}

TEST_F(AlarmFlow, FailedRestartIsRetriedOnceAMinuteWithoutFreezing) {
    sys.processes.onLaunch = [](const std::string&, WindowStyle) { return LaunchResult{0, LaunchError::FileNotFound}; };
    Given(form).Armed();
    form.State().player = 4096;
    RunUntil(9, 0, 59);
    EXPECT_EQ(sys.processes.launches.size(), 1u);
    EXPECT_TRUE(sys.runtime.pauses.empty());
    RunUntil(9, 1, 2);
    EXPECT_EQ(sys.processes.launches.size(), 2u);
    EXPECT_EQ(form.State().player, WindowHandle{4096});
}

TEST_F(AlarmFlow, ArmingRefusesAMomentAlreadyOverAndSetsTheWake) {
    struct Case {
        const char* name;
        const char* date;
        const char* time;
        bool armed;
    };
    // The fake clock reads 9:00:30 AM on 12/7/2026.
    const Case cases[] = {{"an earlier day", "12/6/2026", "10:00 AM", false},
                          {"a minute already over today", "12/7/2026", "8:59 AM", false},
                          {"the current minute", "12/7/2026", "9:00 AM", true},
                          {"later today", "12/7/2026", "9:01 AM", true},
                          {"another day", "12/8/2026", "6:00 AM", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AlarmRig r;
        r.sys.clock.Set({kToday, 9, 0, 30});
        SetAlarm(r.form, c.date, c.time);
        r.form.cmdSet_Click();
        EXPECT_EQ(!r.form.State().armed, !c.armed);
        EXPECT_EQ(r.sys.processes.launches.size(), c.armed ? 1u : 0u);
        if (c.armed) {
            const auto time = alarm::ParseAlarmTime(c.time);
            EXPECT_EQ(r.sys.power.wakeAt, r.sys.clock.MomentOf({r.form.State().AlarmDay, time->hour, time->minute, 0}) - 60);
            continue;
        }
        ASSERT_EQ(r.sys.boxes.shown.size(), 1u);
        EXPECT_EQ(r.sys.boxes.shown[0].title, "Chimewell System");
        EXPECT_EQ(r.sys.boxes.shown[0].text,
                  "That Time Has Already Passed Today!\r\nPlease Choose A Later Time Or Another Day.");
        EXPECT_EQ(r.sys.boxes.shown[0].icon, MbIcon::Exclamation);
        EXPECT_TRUE(r.view.timer.Enabled());  // the clock goes on
        EXPECT_FALSE(r.sys.power.wakeAt);
    }
}

// Arming judges whether this PC will wake for the alarm: each cause of doubt, on the power source in use.
TEST_F(AlarmFlow, ArmingTellsWhenThePcMustStayAwakeOrIsKeptAwake) {
    const std::string must = "PC Must Stay Awake", keeping = "Keeping PC Awake";
    const struct {
        const char* name;
        bool timerWorks, modernStandby;
        PowerSource source;
        std::optional<bool> onMains, onBattery;
        bool keepAwake, inTray;
        std::string note;
    } cases[] = {
        {"wakes", true, false, PowerSource::Mains, true, true, false, false, ""},
        {"timer not set", false, false, PowerSource::Mains, true, true, false, false, must},
        {"modern standby", true, true, PowerSource::Mains, true, true, false, false, must},
        {"wake timers off on mains", true, false, PowerSource::Mains, false, true, false, false, must},
        {"off on battery only, on mains", true, false, PowerSource::Mains, true, false, false, false, ""},
        {"off on battery, on battery", true, false, PowerSource::Battery, true, false, false, false, must},
        {"off on mains only, on battery", true, false, PowerSource::Battery, false, true, false, false, ""},
        {"the plan cannot be read", true, false, PowerSource::Mains, std::nullopt, std::nullopt, false, false, ""},
        {"kept awake, where it would not wake", false, false, PowerSource::Mains, true, true, true, false, keeping},
        {"kept awake, where it would wake", true, false, PowerSource::Mains, true, true, true, false, keeping},
        {"in the tray", true, true, PowerSource::Mains, true, true, false, true, must},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AlarmRig r;
        r.sys.power.timerWorks = c.timerWorks;
        r.sys.power.modernStandby = c.modernStandby;
        r.sys.power.source = c.source;
        r.sys.power.wakeTimersOnMains = c.onMains;
        r.sys.power.wakeTimersOnBattery = c.onBattery;
        r.view.SetChecked(MainCtl::mnuKeepAwake, c.keepAwake);
        r.Choose(kToday, "10:00", true);
        if (c.inTray) r.form.mnuMinimizeToTray_Click();

        r.form.cmdSet_Click();
        r.form.RefreshTrayTip();  // as the window does after each event

        EXPECT_EQ(r.view.Caption(MainCtl::StatusBar1Panel2), c.note);
        EXPECT_EQ(r.sys.power.systemAwake, c.keepAwake);
        if (c.inTray) {
            EXPECT_EQ(r.view.tray.toolTip,
                      "Chimewell(tm) - Right Click For Options - Alarm Is Set, And Activated. - " + c.note);
        }
        // At the alarm's minute it has nothing more to wait for.
        r.RunUntil(10, 0, 5);
        EXPECT_TRUE(r.form.State().snoozeInMenu);
        EXPECT_EQ(r.view.Caption(MainCtl::StatusBar1Panel2), "");
        EXPECT_EQ(r.sys.power.systemAwake, c.keepAwake) << "kept awake until the stop";
    }
}

// Armed: the wake, the alarm's own record in the settings and the restart by Windows; every road out of
// the armed alarm withdraws all three.
TEST_F(AlarmFlow, TheWakeAndTheArmedRecordGoWhenTheAlarmIsNoLongerArmed) {
    struct Road {
        const char* name;
        std::function<void(AlarmRig&)> take;
        bool recordKept;  // Windows ending the session: the next start brings the alarm back
    };
    const Road roads[] = {
        {"the stop", [](AlarmRig& r) { r.form.cmdSet_Click(); }, false},
        {"exit", [](AlarmRig& r) {
             r.sys.boxes.answers = {MbAnswer::Yes, MbAnswer::No, MbAnswer::No};
             r.form.mnuExit_Click();
         }, false},
        {"the tray's snooze, then the disarm", [](AlarmRig& r) {
             r.RunUntil(10, 0, 5);
             r.sys.boxes.answers = {MbAnswer::No};
             r.form.mnuCloseWinAmp_Click();
             r.form.cmdSet_Click();
         }, false},
        {"Windows ending", [](AlarmRig& r) {
             r.sys.boxes.answers = {MbAnswer::Yes, MbAnswer::No, MbAnswer::No};
             bool cancel = false;
             r.form.Form_QueryUnload(cancel, 2);
         }, true}};
    for (const Road& road : roads) {
        SCOPED_TRACE(road.name);
        AlarmRig r;
        r.sys.clock.Set({kToday, 9, 58, 0});
        r.view.SetChecked(MainCtl::mnuKeepAwake, true);
        r.Choose(kToday, "10:00", true);
        r.form.cmdSet_Click();
        ASSERT_TRUE(r.sys.power.wakeAt);
        ASSERT_TRUE(r.sys.power.systemAwake);
        EXPECT_EQ(r.sys.registry.Value(settings::kKey, "Armed"), "Yes");
        EXPECT_EQ(r.sys.registry.Value(settings::kKey, "Armed Date:"), "12/7/2026");
        EXPECT_EQ(r.sys.registry.Value(settings::kKey, "Armed Time:"), "10:00 AM");
        EXPECT_TRUE(r.sys.runtime.restartRegistered);
        road.take(r);
        EXPECT_FALSE(r.sys.power.wakeAt);
        EXPECT_FALSE(r.sys.power.systemAwake);
        EXPECT_EQ(r.view.Caption(MainCtl::StatusBar1Panel2), "");
        EXPECT_EQ(r.sys.registry.Value(settings::kKey, "Armed"), road.recordKept ? "Yes" : "No");
        EXPECT_EQ(r.sys.runtime.restartRegistered, road.recordKept);
    }
    // The disarm and the clear, after the stop.
    Choose(kToday, "10:00", true);
    form.cmdSet_Click();
    form.cmdSet_Click();
    sys.power.log.clear();
    form.cmdSet_Click();
    form.cmdReset_Click();
    EXPECT_EQ(sys.power.log, (std::vector<std::string>{"cancel", "cancel"}));
    EXPECT_EQ(sys.registry.Value(settings::kKey, "Armed"), "No");
}

// The Settings item: saved as "KeepAwake", and an armed alarm follows it at once.
TEST_F(AlarmFlow, KeepAwakeItemIsSavedAndTakesEffectWhileArmed) {
    Choose(kToday, "10:00", true);
    form.mnuKeepAwake_Click();
    EXPECT_TRUE(view.Checked(MainCtl::mnuKeepAwake));
    EXPECT_EQ(sys.registry.Value(settings::kKey, "KeepAwake"), "Yes");
    EXPECT_FALSE(sys.power.systemAwake) << "nothing armed yet";
    form.cmdSet_Click();
    EXPECT_TRUE(sys.power.systemAwake);
    form.mnuKeepAwake_Click();
    EXPECT_EQ(sys.registry.Value(settings::kKey, "KeepAwake"), "No");
    EXPECT_FALSE(sys.power.systemAwake);
    EXPECT_EQ(view.Caption(MainCtl::StatusBar1Panel2), "");
    sys.power.timerWorks = false;
    form.ScheduleWake();  // as a restore of the armed alarm would
    EXPECT_EQ(view.Caption(MainCtl::StatusBar1Panel2), "PC Must Stay Awake");
    form.mnuKeepAwake_Click();
    EXPECT_EQ(view.Caption(MainCtl::StatusBar1Panel2), "Keeping PC Awake");
    // A refused write is the registry error, as for the other options.
    sys.registry.fail = [](const std::string& op, const std::string&, const std::string&) { return op == "write"; };
    sys.boxes.answers = {MbAnswer::Ok, MbAnswer::No};
    form.mnuKeepAwake_Click();
    EXPECT_EQ(sys.boxes.Titles().back(), "Close Chimewell?");
}

TEST_F(AlarmFlow, AnEmptyPlaylistIsToldAtArmingAndTheAlarmStaysArmed) {
    for (int tracks : {0, 3}) {
        SCOPED_TRACE(tracks);
        AlarmRig r;
        r.sys.processes.onLaunch = [&r, tracks](const std::string&, WindowStyle) {
            r.sys.windows.AddPlayer().playlistLength = tracks;
            return LaunchResult{1, LaunchError::None};
        };
        r.Choose(kToday, "10:00", true);
        // The box waits for a user who may be asleep by now: the alarm rings all the same.
        r.sys.boxes.onShow = [&r](const fakes::ShownBox& b) {
            if (b.title != "Chimewell System") return;
            r.sys.clock.Set({kToday, 10, 0, 5});
            r.form.MyTimer_Timer();
        };
        r.form.cmdSet_Click();
        EXPECT_TRUE(r.form.State().armed);
        EXPECT_EQ(r.view.Status() == kBanner, tracks == 0);
        const auto titles = r.sys.boxes.Titles();
        EXPECT_EQ(titles.back() == "Chimewell System", tracks == 0);
        if (tracks == 0) {
            EXPECT_EQ(r.sys.boxes.shown.back().text,
                      "WinAmp's Playlist Is Empty!\r\nAdd Music To It, Or The Alarm Will Use Its Built-In Sound.");
        }
    }
}

TEST_F(AlarmFlow, ReArmingAfterTheTraySnoozeRingsAgainWhateverTheDateFormatDoes) {
    Choose(kToday, "09:02", true);
    form.cmdSet_Click();
    RunUntil(9, 2, 30);
    ASSERT_TRUE(form.State().fired);
    sys.boxes.answers = {MbAnswer::No};
    form.mnuCloseWinAmp_Click();  // the tray's snooze, leaving the player
    form.cmdSet_Click();          // the disarm
    Choose(kToday, "09:20", true);
    form.cmdSet_Click();
    ASSERT_TRUE(form.State().armed);
    sys.clock.dateFormat = fakes::FakeClock::DateFormat::German;  // changed while armed
    RunUntil(9, 20, 30);
    EXPECT_EQ(view.Status(), kBanner);
}

// A start after a run that ended without its Exit (a crash, a power cut), or after an Exit that saved the
// alarm: the armed one is armed again without a question, rings up to ten minutes late or is called missed
// once; an alarm that rang before is never rung or called missed again.
TEST_F(AlarmFlow, AStartBringsBackTheArmedAlarmAndNeverRingsOneThatRang) {
    enum Stored { Armed, SavedAtExit };
    enum Outcome { Rings, Missed, Silent };
    struct Case {
        const char* name;
        Stored stored;
        bool rung;  // recorded as rung (or called missed) before the last run ended
        DateTime start;
        Outcome outcome;
    };
    const Case cases[] = {
        {"armed, started ahead: taken over, rings at its minute", Armed, false, {kToday, 8, 55, 0}, Rings},
        {"armed, started 3 minutes late: rings at once", Armed, false, {kToday, 9, 5, 0}, Rings},
        {"armed, started almost 10 minutes late: rings", Armed, false, {kToday, 9, 11, 50}, Rings},
        {"armed, started later: called missed once", Armed, false, {kToday, 9, 20, 0}, Missed},
        {"armed, rang before the crash", Armed, true, {kToday, 9, 5, 0}, Silent},
        {"saved after it rang, started in its minute", SavedAtExit, true, {kToday, 9, 2, 20}, Silent},
        {"saved, started late: never seen ahead", SavedAtExit, false, {kToday, 9, 5, 0}, Silent},
        {"saved, started ahead", SavedAtExit, false, {kToday, 9, 0, 0}, Rings},
    };
    const std::string missed = "Alarm MISSED!  Date: 12/7/2026 Time: 9:02 AM";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AlarmRig r;
        auto& reg = r.sys.registry;
        for (auto [name, data] : {std::pair{"StartInTray", "No"}, {"WinAmpOnStart", "No"}})
            reg.Put(settings::kKey, name, data);
        const char* prefix = c.stored == Armed ? "Armed" : "SettingsSaved";
        reg.Put(settings::kKey, prefix, "Yes");
        reg.Put(settings::kKey, c.stored == Armed ? "Armed Date:" : "Date:", "12/7/2026");
        reg.Put(settings::kKey, c.stored == Armed ? "Armed Time:" : "Time:", "9:02 AM");
        if (c.rung) {
            reg.Put(settings::kKey, "Rung Date:", "12/7/2026");
            reg.Put(settings::kKey, "Rung Time:", "9:02 AM");
        }
        r.view.tray.shown = true;
        r.sys.clock.Set(c.start);

        r.form.Form_Load();
        r.form.ResumeArmedAlarm();

        const bool rearmed = c.stored == Armed && c.outcome == Rings;
        EXPECT_EQ(r.form.State().armed, rearmed);
        EXPECT_TRUE(r.sys.boxes.shown.empty()) << "nothing is asked";
        EXPECT_EQ(r.sys.runtime.restartRegistered, rearmed);
        EXPECT_EQ(reg.Value(settings::kKey, "Armed").value_or(""), c.stored == Armed ? (rearmed ? "Yes" : "No") : "");
        if (rearmed) {
            EXPECT_EQ(r.view.Status(), "Alarm Settings: ON  Date: 12/7/2026 Time: 9:02 AM ALARM IS SET");
            EXPECT_EQ(r.sys.power.wakeAt, r.sys.clock.MomentOf({kToday, 9, 2, 0}) - 60);
            // The take-over's wait only for a moment still to come.
            EXPECT_EQ(r.sys.processes.launches.size(), c.start.hour == 8 ? 1u : 0u);
        }
        r.RunUntil(9, 25);
        EXPECT_EQ(r.view.Status() == kBanner, c.outcome == Rings);
        EXPECT_EQ(r.view.Status() == missed, c.outcome == Missed);
        EXPECT_EQ(r.view.tray.balloons.size(), c.outcome == Missed ? 1u : 0u);
        EXPECT_EQ(r.PlayMessages(), rearmed ? 1 : 0);  // a saved alarm is not armed: no player to play
        if (c.outcome != Silent) {
            EXPECT_EQ(reg.Value(settings::kKey, "Rung Date:"), "12/7/2026");
            EXPECT_EQ(reg.Value(settings::kKey, "Rung Time:"), "9:02 AM");
        }
        if (c.outcome == Missed) {
            EXPECT_FALSE(r.sys.power.wakeAt);
        }
    }
}

TEST_F(AlarmFlow, ClearEmptiesTheAlarmAndWithdrawsASavedOne) {
    struct Case {
        std::optional<std::string> saved;
        std::vector<std::string> writes;
    };
    const Case cases[] = {{"Yes", {"SettingsSaved=No"}}, {"Yesterday", {"SettingsSaved=No"}},
                          {"No", {}},                     {std::nullopt, {}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.saved.value_or("(missing)"));
        AlarmRig r;
        auto& s = r.sys;
        auto& v = r.view;
        auto& f = r.form;
        if (c.saved) s.registry.Put(settings::kKey, settings::kSettingsSaved, *c.saved);
        SetAlarm(f, "12/9/2026", "7:05 AM");
        Given(f).Armed();
        f.State().fired = true;
        v.SetCaption(MainCtl::lblDate, f.State().AlarmDate);
        v.calendar = {2026, 12, 9};
        v.timer.SetEnabled(false);

        f.cmdReset_Click();

        EXPECT_TRUE(f.State().AlarmDate.empty());
        EXPECT_TRUE(f.State().AlarmTime.empty());
        EXPECT_EQ(v.Caption(MainCtl::lblDate), "");
        EXPECT_EQ(v.Caption(MainCtl::txtTime), "");
        EXPECT_EQ(v.Status(), "Ready.");
        EXPECT_EQ(v.tray.iconNumber, 1);
        EXPECT_EQ(v.tray.toolTip, "Alarm Is Not Set.  Awaiting Selection.");
        EXPECT_FALSE(v.Enabled(MainCtl::cmdReset));
        EXPECT_EQ(v.calendar, kToday);
        EXPECT_EQ(v.focusHistory.back(), MainCtl::cmdSet);
        EXPECT_EQ(s.registry.Writes(), c.writes);
        EXPECT_TRUE(f.State().armed);  // marks and the watch are not the clear's business
        EXPECT_TRUE(f.State().fired);
        EXPECT_FALSE(v.timer.Enabled());
    }
}

}  // namespace
}  // namespace chw::testing
