// The tray: which picture and tooltip the icon gets, going to the tray and back, and the icon's clicks.
#include <gtest/gtest.h>

#include "app/frmMain.h"
#include "fakes/FakePlatform.h"
#include "fakes/FakeViews.h"
#include "tray/TrayPicture.h"

namespace chw {
namespace {

using fakes::FakeMainView;
using fakes::FakeSystem;

struct PictureCase {
    const char* name;
    TrayPictureInput in;
    TrayPicture expected;
};

constexpr const char* kOn = "Turn &On";
constexpr const char* kOff = "Turn &Off";
constexpr const char* kSetDot = "Alarm Settings: OFF  Date: 12/8/2026 Time: 7:05 PM ALARM IS SET.";
constexpr const char* kSetNoDot = "Alarm Settings: ON  Date: 12/8/2026 Time: 7:05 PM ALARM IS SET";
constexpr const char* kNotSet = "Alarm Settings: OFF  Date: No Date Selected Yet. Time: 7:05 PM ALARM NOT SET.";

// caption, set enabled, reset enabled, time, date, armed, status, icon before
TrayPictureInput In(const char* caption, bool setEnabled, bool resetEnabled, const char* time, const char* date,
                    const char* armed, const char* status, int iconBefore = 1) {
    return {caption, setEnabled, resetEnabled, time, date, armed, status, iconBefore};
}

TEST(TrayPicture, ChoosesTooltipAndPictureFromTheAlarmState) {
    const TrayPicture notActivated{tray::kTipNotActivated, 2};
    const auto options = [](int icon) { return TrayPicture{tray::kTipOptions, icon}; };
    const TrayPicture activated{tray::kTipActivated, 3};

    const PictureCase cases[] = {
        {"chosen, clear button off", In(kOn, true, false, "7:05 PM", "12/8/2026", "", "Ready."), notActivated},
        {"chosen but no date", In(kOn, true, false, "7:05 PM", "", "", "Ready."), options(1)},
        {"chosen but no time", In(kOn, true, false, "", "12/8/2026", "", "Ready."), options(1)},
        {"clear enabled, plain status", In(kOn, true, true, "7:05 PM", "12/8/2026", "", "Ready.", 3), options(1)},
        {"clear enabled, summary with stop", In(kOn, true, true, "7:05 PM", "12/8/2026", "", kSetDot), options(2)},
        {"status in lower case", In(kOn, true, true, "", "", "", "alarm is set"), options(2)},
        {"not-set summary lights too", In("&Activate", true, true, "7:05 PM", "", "", kNotSet), options(2)},
        {"armed: status overrides watch", In(kOff, true, true, "7:05 PM", "12/8/2026", "Set", kSetNoDot), options(2)},
        {"armed, other status: watch", In(kOff, true, true, "7:05 PM", "12/8/2026", "Set", "Ready."), options(3)},
        {"armed mark compared exactly", In(kOff, true, true, "7:05 PM", "12/8/2026", "set", "Ready.", 2), options(2)},
        {"off caption, not armed: icon kept", In(kOff, true, true, "", "", "", "Ready.", 2), options(2)},
        {"ringing caption", In("Snoo&ze", true, true, "7:05 PM", "12/8/2026", "Set", "!!!!! ALARM !!!!!!"), options(1)},
        {"status shorter than the ending", In(kOn, true, true, "", "", "", "ET", 2), options(1)},
        {"status exactly SET", In(kOn, true, true, "", "", "", "Set"), options(2)},
        {"empty status", In(kOff, true, true, "", "", "", "", 3), options(3)},
        {"armed and button locked", In(kOff, false, false, "7:05 PM", "12/8/2026", "Set", "Ready."), activated},
        {"locked button overrides not-activated", In(kOn, false, false, "7:05 PM", "12/8/2026", "Set", kSetDot),
         activated},
        {"locked button, not armed", In(kOff, false, true, "", "", "", "Ready.", 2), options(2)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TrayPicture got = ChooseTrayPicture(c.in);
        EXPECT_EQ(got.toolTip, c.expected.toolTip);
        EXPECT_EQ(got.iconNumber, c.expected.iconNumber);
    }
}

struct TrayRig {
    FakeSystem sys;
    FakeMainView view{sys.scheduler, {2026, 12, 7}};
    Winamp_Access winamp{sys.platform};
    frmMain form{sys.platform, view, winamp};
};

TEST(Tray, MinimizeHidesTheWindowAndShowsTheIconWithTheWatchOn) {
    TrayRig r;
    r.view.visible = true;
    r.view.timer.SetEnabled(false);
    r.form.AlarmDate = "12/8/2026";
    r.form.AlarmTime = "7:05 PM";
    r.view.SetCaption(MainCtl::cmdSet, kOn);
    r.view.SetEnabled(MainCtl::cmdReset, false);

    r.form.mnuMinimizeToTray_Click();

    EXPECT_FALSE(r.view.visible);
    EXPECT_EQ(r.view.showStates, std::vector<int>{6});
    EXPECT_EQ(r.form.InTrayMark, "In Tray");
    EXPECT_TRUE(r.view.tray.shown);
    EXPECT_EQ(r.view.tray.toolTip, tray::kTipNotActivated);
    EXPECT_EQ(r.view.tray.iconNumber, 2);
    EXPECT_TRUE(r.view.timer.Enabled());
    EXPECT_TRUE(r.view.Enabled(MainCtl::mnuSetAlarm));  // nothing fired
}

TEST(Tray, FiredAlarmLocksSetAlarmAndShowKeepsTrayMark) {
    TrayRig r;
    r.view.visible = true;
    r.form.FiredMark = "!";
    r.form.mnuMinimizeToTray_Click();
    EXPECT_FALSE(r.view.Enabled(MainCtl::mnuSetAlarm));

    r.view.timer.SetEnabled(false);
    r.form.mnuShowApp_Click();
    EXPECT_TRUE(r.view.visible);
    EXPECT_TRUE(r.view.active);
    EXPECT_FALSE(r.view.tray.shown);
    EXPECT_EQ(r.view.showStates.back(), 1);
    EXPECT_EQ(r.form.InTrayMark, "In Tray");
    EXPECT_FALSE(r.view.Enabled(MainCtl::mnuSetAlarm));  // Show does not unlock it
    EXPECT_FALSE(r.view.timer.Enabled());                // nor touch the watch
}

TEST(Tray, OnlyTheRightButtonOpensTheMenu) {
    const struct {
        int button;
        int popUps;
    } cases[] = {{1, 0}, {2, 1}, {3, 0}, {4, 0}, {0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        TrayRig r;
        r.form.mnuMinimizeToTray_Click();
        r.form.SysTray_MouseDown(c.button);
        EXPECT_EQ(r.view.popUps, c.popUps);
        EXPECT_FALSE(r.view.visible);  // no click restores the window
        EXPECT_TRUE(r.view.tray.shown);
    }
}

TEST(Tray, PopUpHelpOpensTheHelpDocument) {
    TrayRig r;
    r.form.mnuPopUpHelp_Click();
    ASSERT_EQ(r.sys.boxes.shown.size(), 1u);
    EXPECT_EQ(r.sys.boxes.shown[0].text, "Document Could Not Be Found!");
}

}  // namespace
}  // namespace chw
