// The player's menu commands: start, close (and snooze), load on start, and back to the tray.
#include <gtest/gtest.h>

#include "app/frmMain.h"
#include "fakes/FakePlatform.h"
#include "fakes/FakeViews.h"
#include "settings/SettingsSchema.h"

namespace chw {
namespace {

using fakes::FakeMainView;
using fakes::FakeSystem;
using fakes::ShownBox;

struct WinampRig {
    FakeSystem sys;
    FakeMainView view{sys.scheduler, {2026, 12, 7}};
    Winamp_Access winamp{sys.platform};
    frmMain form{sys.platform, view, winamp};
    WinampRig() { sys.registry.CreateKey(settings::kRoot, settings::kKey); }
};

TEST(WinampCommands, StartShowsARunningPlayerOrLaunchesOne) {
    const struct {
        const char* name;
        bool running;
        LaunchError error;
        bool fatal;
    } cases[] = {
        {"running", true, LaunchError::None, false},
        {"started", false, LaunchError::None, false},
        {"missing", false, LaunchError::FileNotFound, true},
        {"refused", false, LaunchError::Other, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WinampRig r;
        const WindowHandle player = c.running ? r.sys.windows.AddPlayer().handle : 0;
        r.sys.processes.onLaunch = [&](const std::string&, WindowStyle) {
            return LaunchResult{c.error == LaunchError::None ? 7 : 0, c.error};
        };

        r.form.mnuStartWinAmp_Click();

        EXPECT_EQ(r.winamp.WinampHwnd, player);
        if (c.running) {
            EXPECT_TRUE(r.sys.processes.launches.empty());
            ASSERT_EQ(r.sys.windows.shows.size(), 1u);
            EXPECT_EQ(r.sys.windows.shows[0], std::make_pair(player, ShowCommand::ShowDefault));
        } else {
            ASSERT_EQ(r.sys.processes.launches.size(), 1u);
            EXPECT_EQ(r.sys.processes.launches[0].commandLine, "c:\\Program Files\\WinAmp\\WinAmp.exe");
            EXPECT_EQ(r.sys.processes.launches[0].style, WindowStyle::NormalFocus);
        }
        EXPECT_EQ(r.sys.runtime.endCalls, c.fatal ? 1 : 0);
        if (c.fatal) {
            ASSERT_EQ(r.sys.boxes.shown.size(), 1u);  // no close questions on the way out
            EXPECT_EQ(r.sys.boxes.shown[0].title, "Fatal Error!");
            EXPECT_EQ(r.sys.boxes.shown[0].text, "WinAmp Not Found!");
            EXPECT_EQ(r.sys.boxes.shown[0].icon, MbIcon::Critical);
        } else {
            EXPECT_TRUE(r.sys.boxes.shown.empty());
        }
    }
}

TEST(WinampCommands, CloseAsksAndClosesEveryPlayerUnlessNo) {
    const struct {
        MbAnswer answer;
        int players;
        std::size_t left;
    } cases[] = {{MbAnswer::Yes, 2, 0}, {MbAnswer::No, 2, 2}, {MbAnswer::Yes, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.players) + (c.answer == MbAnswer::Yes ? " yes" : " no"));
        WinampRig r;
        for (int i = 0; i < c.players; ++i) r.sys.windows.AddPlayer(1);
        r.sys.boxes.answers = {c.answer};
        r.form.mnuCloseWinAmp_Click();
        ASSERT_EQ(r.sys.boxes.shown.size(), 1u);
        EXPECT_EQ(r.sys.boxes.shown[0].title, "Close WinAmp?");
        EXPECT_EQ(r.sys.boxes.shown[0].text,
                  "Are You Sure You Want To Close WinAmp?\r\nThis Will Close ALL OPEN INSTANCES OF WINAMP!");
        EXPECT_EQ(r.sys.windows.players.size(), c.left);
        EXPECT_EQ(r.view.Status(), "Look Here For Important Information");  // not ringing: status untouched
    }
}

TEST(WinampCommands, SnoozeStopsRingingBeforeAskingAndNoKeepsPlaying) {
    WinampRig r;
    r.sys.windows.AddPlayer(1);
    r.form.AlarmDate = "12/8/2026";
    r.form.AlarmTime = "7:05 PM";
    r.form.RingingMark = "Playing";
    r.form.FiredMark = "!";
    r.form.WinampWindowText = "4096";
    r.view.SetCaption(MainCtl::mnuCloseWinAmp, "Snoo&ze");
    std::string statusDuringQuestion;
    r.sys.boxes.onShow = [&](const ShownBox&) { statusDuringQuestion = r.view.Status(); };
    r.sys.boxes.answers = {MbAnswer::No};

    r.form.mnuCloseWinAmp_Click();

    const std::string summary = "Alarm Settings: OFF  Date: 12/8/2026 Time: 7:05 PM ALARM IS SET";
    EXPECT_EQ(statusDuringQuestion, summary);
    EXPECT_EQ(r.view.Status(), summary);
    EXPECT_EQ(r.form.RingingMark, "");
    EXPECT_EQ(r.form.WinampWindowText, "");
    EXPECT_EQ(r.form.FiredMark, "!");
    EXPECT_EQ(r.view.Caption(MainCtl::mnuCloseWinAmp), "Clos&e WinAmp");
    EXPECT_EQ(r.sys.windows.players.size(), 1u);
}

TEST(WinampCommands, LoadOnStartTogglesAndStoresTheOption) {
    WinampRig r;  // the item is checked at creation
    r.form.mnuLoadWinAmpOnStart_Click();
    EXPECT_FALSE(r.view.Checked(MainCtl::mnuLoadWinAmpOnStart));
    r.form.mnuLoadWinAmpOnStart_Click();
    EXPECT_TRUE(r.view.Checked(MainCtl::mnuLoadWinAmpOnStart));
    EXPECT_EQ(r.sys.registry.Writes(), (std::vector<std::string>{"WinAmpOnStart=No", "WinAmpOnStart=Yes"}));
    EXPECT_TRUE(r.sys.boxes.shown.empty());
}

TEST(WinampCommands, LoadOnStartWriteFailureAsksToClose) {
    const struct {
        MbAnswer close;
        int ended;
    } cases[] = {{MbAnswer::No, 0}, {MbAnswer::Yes, 1}};
    for (const auto& c : cases) {
        WinampRig r;
        r.sys.registry.fail = [](const std::string&, const std::string&, const std::string&) { return true; };
        r.sys.boxes.answers = {MbAnswer::Ok, c.close};
        r.form.mnuLoadWinAmpOnStart_Click();
        EXPECT_EQ(r.sys.boxes.Titles(), (std::vector<std::string>{"ERROR!", "Close Chimewell?"}));
        EXPECT_FALSE(r.view.Checked(MainCtl::mnuLoadWinAmpOnStart));  // keeps its new state
        EXPECT_EQ(r.sys.runtime.endCalls, c.ended);
    }
}

TEST(WinampCommands, ConfigureReturnsAWindowThatBelongsInTheTray) {
    const struct {
        const char* name;
        bool trayShown;
        const char* mark;
        bool hidden;
    } cases[] = {
        {"icon shown", true, "", true},
        {"marked from an earlier trip", false, "In Tray", true},
        {"on screen, never in tray", false, "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WinampRig r;
        r.view.visible = true;
        r.view.tray.shown = c.trayShown;
        r.form.InTrayMark = c.mark;
        r.view.timer.SetEnabled(false);

        r.form.mnuConfigureWinAmp_Click();

        EXPECT_EQ(r.view.visible, !c.hidden);
        EXPECT_EQ(r.view.tray.shown, c.hidden);
        EXPECT_EQ(r.view.showStates, c.hidden ? std::vector<int>{6} : std::vector<int>{});
        EXPECT_EQ(r.form.InTrayMark, "");
        EXPECT_TRUE(r.view.timer.Enabled());
        EXPECT_TRUE(r.sys.windows.messages.empty());  // nothing is sent to the player
    }
}

}  // namespace
}  // namespace chw
