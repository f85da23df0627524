// The tray: which picture and tooltip the icon gets, going to the tray and back, and the icon's clicks.
#include "AlarmFixture.h"
#include "tray/TrayTexts.h"

namespace chw::testing {
namespace {

constexpr const char* kOn = "Turn &On";
constexpr const char* kOff = "Turn &Off";
constexpr const char* kSnooze = "Snoo&ze";

// What shows from the state: the set button's caption, the inputs locked while an armed alarm waits or
// rings, and the tray's picture and tooltip: the lit bulb while the status line shows the alarm's
// summary, the watch while an armed alarm waits under another text, else the unlit bulb.
TEST(AlarmPresenter, ShowsTheState) {
    // The options tooltip goes on with the state in words.
    const std::string unset = std::string(tray::kTipOptions) + " - Alarm Is Not Set.";
    const std::string chosen = std::string(tray::kTipOptions) + " - Alarm Is Set, But Not Activated.";
    const std::string armed = std::string(tray::kTipOptions) + " - Alarm Is Set, And Activated.";
    const std::string ringing = std::string(tray::kTipOptions) + " - Alarm Is Ringing!";
    using P = AlarmPhase;
    const struct {
        const char* name;
        P phase;
        bool armed;
        const char *date, *time;
        bool summary;  // the status line shows the alarm's summary, else "Ready."
        const char* caption;
        bool locked, clearOn;  // the day and time locked; the clear button enabled
        std::string tip;
        int icon;
    } cases[] = {
        {"nothing chosen", P::Idle, false, "", "", false, kOn, false, false, unset, 1},
        {"a time but no date: its summary", P::Idle, false, "", "7:05 PM", true, kOn, false, false, unset, 2},
        {"a date but no time", P::Idle, false, "12/8/2026", "", false, kOn, false, true, unset, 1},
        {"chosen, plain status", P::Idle, false, "12/8/2026", "7:05 PM", false, kOn, false, true, chosen, 1},
        {"chosen, summary", P::Idle, false, "12/8/2026", "7:05 PM", true, kOn, false, true, chosen, 2},
        {"armed, summary beats watch", P::Armed, true, "12/8/2026", "7:05 PM", true, kOff, true, false, armed, 2},
        {"armed, other status", P::Armed, true, "12/8/2026", "7:05 PM", false, kOff, true, false, armed, 3},
        {"stopped: armed until the next press", P::Idle, true, "12/8/2026", "7:05 PM", true, kOn, false, true, armed, 2},
        {"ringing", P::Ringing, true, "12/8/2026", "7:05 PM", false, kSnooze, true, false, ringing, 1},
        {"ringing, not armed", P::Ringing, false, "12/8/2026", "7:05 PM", false, kSnooze, false, true, ringing, 1},
        {"snoozed from the tray", P::Halted, true, "12/8/2026", "7:05 PM", true, kSnooze, true, false, ringing, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MainFormRig r;
        AlarmState& s = r.form.State();
        s.phase = c.phase;
        s.armed = c.armed;
        s.activated = true;  // the button's first caption is gone
        s.AlarmDate = c.date;
        s.AlarmTime = c.time;
        if (c.summary)
            r.form.Presenter().ShowSummary(Summary::Chosen);
        else
            r.form.Presenter().ShowStatus("Ready.");
        r.form.Presenter().ShowState();
        EXPECT_EQ(r.view.Caption(MainCtl::cmdSet), c.caption);
        EXPECT_EQ(r.view.Enabled(MainCtl::txtTime), !c.locked);
        EXPECT_EQ(r.view.Enabled(MainCtl::MonthView), !c.locked);
        EXPECT_EQ(r.view.Enabled(MainCtl::cmdReset), c.clearOn);
        const TrayPicture got = r.form.Presenter().TrayPictureNow();
        EXPECT_EQ(got.toolTip, c.tip);
        EXPECT_EQ(got.iconNumber, c.icon);
    }
}

// Armed, stopped or ringing while the window is in the tray: the tooltip follows in words, and a
// tooltip a handler set for an unchanged state stays.
TEST(Tray, TheTooltipFollowsTheStateWhileInTheTray) {
    MainFormRig r;
    SetAlarm(r.form, "12/8/2026", "7:05 PM");
    r.form.mnuMinimizeToTray_Click();
    const std::string first = r.view.tray.toolTip;
    const struct {
        const char* name;
        bool armed;
        AlarmPhase phase;
        const char* tipSetByHandler;  // nullptr: none
        std::string tip;
    } steps[] = {
        {"nothing changed", false, AlarmPhase::Idle, nullptr, first},
        {"a handler's own tooltip", false, AlarmPhase::Idle, "Alarm Is Not Set.  Awaiting Selection.", "Alarm Is Not Set.  Awaiting Selection."},
        {"armed from the tray", true, AlarmPhase::Armed, nullptr, std::string(tray::kTipOptions) + " - Alarm Is Set, And Activated."},
        {"ringing", true, AlarmPhase::Ringing, nullptr, std::string(tray::kTipOptions) + " - Alarm Is Ringing!"},
        {"stopped", false, AlarmPhase::Idle, nullptr, std::string(tray::kTipOptions) + " - Alarm Is Set, But Not Activated."},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.name);
        r.form.State().armed = s.armed;
        r.form.State().phase = s.phase;
        if (s.tipSetByHandler) r.view.tray.toolTip = s.tipSetByHandler;
        r.form.RefreshTrayTip();
        EXPECT_EQ(r.view.tray.toolTip, s.tip);
    }
    r.form.mnuShowApp_Click();
    Given(r.form).Armed();
    r.form.RefreshTrayTip();
    EXPECT_EQ(r.view.tray.toolTip, std::string(tray::kTipOptions) + " - Alarm Is Set, But Not Activated.")
        << "no icon, nothing to tell";
}

TEST(Tray, MinimizeAndShowRoundTrip) {
    MainFormRig r;
    r.view.visible = true;
    r.view.timer.SetEnabled(false);
    SetAlarm(r.form, "12/8/2026", "7:05 PM");
    Given(r.form).RangAndDisarmed();
    r.view.SetCaption(MainCtl::cmdSet, kOn);

    r.form.mnuMinimizeToTray_Click();
    EXPECT_FALSE(r.view.visible);
    EXPECT_EQ(r.view.showStates, std::vector<ShowCommand>{ShowCommand::Minimize});
    EXPECT_TRUE(r.form.State().inTray);
    EXPECT_TRUE(r.view.tray.shown);
    EXPECT_EQ(r.view.tray.toolTip, std::string(tray::kTipOptions) + " - Alarm Is Set, But Not Activated.");
    EXPECT_EQ(r.view.tray.iconNumber, 1);
    EXPECT_TRUE(r.view.timer.Enabled());  // on, whatever the alarm's state
    EXPECT_FALSE(r.view.Enabled(MainCtl::mnuSetAlarm));

    r.view.timer.SetEnabled(false);
    r.form.mnuShowApp_Click();
    EXPECT_TRUE(r.view.visible);
    EXPECT_TRUE(r.view.active);
    EXPECT_FALSE(r.view.tray.shown);
    EXPECT_EQ(r.view.showStates.back(), ShowCommand::Normal);
    EXPECT_TRUE(r.form.State().inTray);
    EXPECT_FALSE(r.view.Enabled(MainCtl::mnuSetAlarm));  // Show leaves these alone
    EXPECT_FALSE(r.view.timer.Enabled());
}

// The first time the program goes to the tray on this PC, a balloon says where the icon may hide.
TEST(Tray, TheFirstTimeInTheTrayABalloonSaysWhereTheIconIs) {
    const std::string hint =
        "hint Chimewell System|Chimewell Is Here: Click ^ On The Taskbar If You Do Not See Its Icon.";
    const struct {
        const char* name;
        std::optional<std::string> stored;
        bool refused;
        Strings balloons;
        std::optional<std::string> after;
    } cases[] = {
        {"never shown", std::nullopt, false, {hint}, "Yes"},
        {"shown before", "Yes", false, {}, "Yes"},
        {"anything else", "No", false, {hint}, "Yes"},
        {"the write refused: no box, the hint comes again", std::nullopt, true, {hint, hint}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MainFormRig r;
        if (c.stored) r.sys.registry.Put(settings::kKey, "TrayHintShown", *c.stored);
        if (c.refused)
            r.sys.registry.fail = [](const std::string& op, const std::string&, const std::string&) { return op == "write"; };
        for (int i = 0; i < 2; ++i) {
            r.form.mnuMinimizeToTray_Click();
            r.form.mnuShowApp_Click();
        }
        EXPECT_EQ(r.view.tray.balloons, c.balloons);
        EXPECT_EQ(r.sys.registry.Value(settings::kKey, "TrayHintShown"), c.after);
        EXPECT_TRUE(r.sys.boxes.shown.empty());
    }
}

TEST(Tray, OnlyTheRightButtonOpensTheMenu) {
    for (int button : {0, 1, 2, 3, 4}) {
        SCOPED_TRACE(button);
        MainFormRig r;
        r.form.mnuMinimizeToTray_Click();
        r.form.SysTray_MouseDown(button);
        EXPECT_EQ(r.view.popUps, button == 2 ? 1 : 0);
        EXPECT_FALSE(r.view.visible);  // no click restores the window
    }
}

}  // namespace
}  // namespace chw::testing
