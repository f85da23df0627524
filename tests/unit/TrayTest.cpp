// The tray: which picture and tooltip the icon gets, going to the tray and back, and the icon's clicks.
#include "MainFormRig.h"
#include "tray/TrayPicture.h"

namespace chw::testing {
namespace {

constexpr const char* kOn = "Turn &On";
constexpr const char* kOff = "Turn &Off";
constexpr const char* kSetDot = "Alarm Settings: OFF  Date: 12/8/2026 Time: 7:05 PM ALARM IS SET.";
constexpr const char* kSet = "Alarm Settings: ON  Date: 12/8/2026 Time: 7:05 PM ALARM IS SET";
constexpr const char* kNotSet = "Alarm Settings: OFF  Date: No Date Selected Yet. Time: 7:05 PM ALARM NOT SET.";

TEST(TrayPicture, ChoosesTooltipAndPictureFromTheAlarmState) {
    const char* notActivated = tray::kTipNotActivated;
    const char* activated = tray::kTipActivated;
    // The options tooltip goes on with the state in words.
    const std::string unset = std::string(tray::kTipOptions) + " - Alarm Is Not Set.";
    const std::string chosen = std::string(tray::kTipOptions) + " - Alarm Is Set, But Not Activated.";
    const std::string armed = std::string(tray::kTipOptions) + " - Alarm Is Set, And Activated.";
    const std::string ringing = std::string(tray::kTipOptions) + " - Alarm Is Ringing!";
    const struct {
        const char* name;
        TrayPictureInput in;  // caption, set enabled, reset enabled, time, date, armed, status, icon before
        std::string tip;
        int icon;
    } cases[] = {
        {"chosen, clear off", {kOn, true, false, "7:05 PM", "12/8/2026", "", "Ready.", 1}, notActivated, 2},
        {"chosen but no date", {kOn, true, false, "7:05 PM", "", "", "Ready.", 1}, unset, 1},
        {"chosen but no time", {kOn, true, false, "", "12/8/2026", "", "Ready.", 1}, unset, 1},
        {"clear on, plain status", {kOn, true, true, "7:05 PM", "12/8/2026", "", "Ready.", 3}, chosen, 1},
        {"clear on, summary", {kOn, true, true, "7:05 PM", "12/8/2026", "", kSetDot, 1}, chosen, 2},
        {"lower-case ending", {kOn, true, true, "", "", "", "alarm is set", 1}, unset, 2},
        {"not-set summary", {"&Activate", true, true, "7:05 PM", "", "", kNotSet, 1}, unset, 2},
        {"armed, summary beats watch", {kOff, true, true, "7:05 PM", "12/8/2026", "Set", kSet, 1}, armed, 2},
        {"armed, other status", {kOff, true, true, "7:05 PM", "12/8/2026", "Set", "Ready.", 1}, armed, 3},
        {"armed mark is exact", {kOff, true, true, "", "", "set", "Ready.", 2}, armed, 2},
        {"off, not armed: kept", {kOff, true, true, "", "", "", "Ready.", 2}, unset, 2},
        {"ringing", {"Snoo&ze", true, true, "7:05 PM", "12/8/2026", "Set", "!!!!! ALARM !!!!!!", 3}, ringing, 1},
        {"status shorter than ending", {kOn, true, true, "", "", "", "ET", 2}, unset, 1},
        {"status exactly Set", {kOn, true, true, "", "", "", "Set", 1}, unset, 2},
        {"armed, button locked", {kOff, false, false, "7:05 PM", "12/8/2026", "Set", "Ready.", 1}, activated, 3},
        {"locked beats not-activated", {kOn, false, false, "7:05 PM", "12/8/2026", "Set", kSetDot, 1}, activated, 3},
        {"locked, not armed", {kOff, false, true, "", "", "", "Ready.", 2}, unset, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TrayPicture got = ChooseTrayPicture(c.in);
        EXPECT_EQ(got.toolTip, c.tip);
        EXPECT_EQ(got.iconNumber, c.icon);
    }
}

// Armed, stopped or ringing while the window is in the tray: the tooltip follows in words, and a
// tooltip a handler set for an unchanged state stays.
TEST(Tray, TheTooltipFollowsTheStateWhileInTheTray) {
    MainFormRig r;
    r.form.AlarmDate = "12/8/2026";
    r.form.AlarmTime = "7:05 PM";
    r.view.SetCaption(MainCtl::cmdSet, kOn);
    r.form.mnuMinimizeToTray_Click();
    const std::string first = r.view.tray.toolTip;
    const struct {
        const char* name;
        const char* armedMark;
        const char* caption;
        const char* tipSetByHandler;  // nullptr: none
        std::string tip;
    } steps[] = {
        {"nothing changed", "", kOn, nullptr, first},
        {"a handler's own tooltip", "", kOn, "Alarm Is Not Set.  Awaiting Selection.", "Alarm Is Not Set.  Awaiting Selection."},
        {"armed from the tray", "Set", kOff, nullptr, std::string(tray::kTipOptions) + " - Alarm Is Set, And Activated."},
        {"ringing", "Set", "Snoo&ze", nullptr, std::string(tray::kTipOptions) + " - Alarm Is Ringing!"},
        {"stopped", "", kOn, nullptr, std::string(tray::kTipOptions) + " - Alarm Is Set, But Not Activated."},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.name);
        r.form.ArmedMark = s.armedMark;
        r.view.SetCaption(MainCtl::cmdSet, s.caption);
        if (s.tipSetByHandler) r.view.tray.toolTip = s.tipSetByHandler;
        r.form.RefreshTrayTip();
        EXPECT_EQ(r.view.tray.toolTip, s.tip);
    }
    r.form.mnuShowApp_Click();
    r.form.ArmedMark = "Set";
    r.form.RefreshTrayTip();
    EXPECT_EQ(r.view.tray.toolTip, std::string(tray::kTipOptions) + " - Alarm Is Set, But Not Activated.")
        << "no icon, nothing to tell";
}

TEST(Tray, MinimizeAndShowRoundTrip) {
    MainFormRig r;
    r.view.visible = true;
    r.view.timer.SetEnabled(false);
    r.form.AlarmDate = "12/8/2026";
    r.form.AlarmTime = "7:05 PM";
    r.form.FiredMark = "!";
    r.view.SetCaption(MainCtl::cmdSet, kOn);
    r.view.SetEnabled(MainCtl::cmdReset, false);

    r.form.mnuMinimizeToTray_Click();
    EXPECT_FALSE(r.view.visible);
    EXPECT_EQ(r.view.showStates, std::vector<ShowCommand>{ShowCommand::Minimize});
    EXPECT_EQ(r.form.InTrayMark, "In Tray");
    EXPECT_TRUE(r.view.tray.shown);
    EXPECT_EQ(r.view.tray.toolTip, tray::kTipNotActivated);
    EXPECT_EQ(r.view.tray.iconNumber, 2);
    EXPECT_TRUE(r.view.timer.Enabled());  // on, whatever the alarm's state
    EXPECT_FALSE(r.view.Enabled(MainCtl::mnuSetAlarm));

    r.view.timer.SetEnabled(false);
    r.form.mnuShowApp_Click();
    EXPECT_TRUE(r.view.visible);
    EXPECT_TRUE(r.view.active);
    EXPECT_FALSE(r.view.tray.shown);
    EXPECT_EQ(r.view.showStates.back(), ShowCommand::Normal);
    EXPECT_EQ(r.form.InTrayMark, "In Tray");
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
