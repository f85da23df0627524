// The player's menu commands: start, close (and snooze), load on start, and back to the tray.
#include "MainFormRig.h"

namespace chw::testing {
namespace {

TEST(WinampCommands, StartShowsARunningPlayerOrLaunchesOne) {
    const struct {
        const char* name;
        bool running;
        LaunchError error;
        bool file = true;
    } cases[] = {{"running", true, LaunchError::None},
                 {"started", false, LaunchError::None},
                 {"missing", false, LaunchError::FileNotFound},
                 {"refused", false, LaunchError::Other},
                 {"nowhere", false, LaunchError::FileNotFound, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MainFormRig r;
        const WindowHandle player = c.running ? r.sys.windows.AddPlayer().handle : 0;
        r.Launches(c.error);
        if (!c.file) r.sys.files.RemoveFile(winamp::kFileTested);
        const bool fatal = c.error != LaunchError::None;

        r.form.mnuStartWinAmp_Click();

        EXPECT_EQ(r.winamp.WinampHwnd, player);
        using Shows = std::vector<std::pair<WindowHandle, ShowCommand>>;
        EXPECT_EQ(r.sys.windows.shows, (c.running ? Shows{{player, ShowCommand::ShowDefault}} : Shows{}));
        ASSERT_EQ(r.sys.processes.launches.size(), c.running || !c.file ? 0u : 1u);
        if (!c.running && c.file) {
            EXPECT_EQ(r.sys.processes.launches[0].commandLine, "\"c:\\Program Files\\Winamp\\Winamp.exe\"");
            EXPECT_EQ(r.sys.processes.launches[0].style, WindowStyle::NormalFocus);
        }
        // A failure ends at once, without the close questions.
        EXPECT_EQ(r.sys.boxes.Titles(), (fatal ? Strings{"Fatal Error!"} : Strings{}));
        if (fatal) {
            EXPECT_EQ(r.sys.boxes.shown[0].text, "WinAmp Not Found!");
        }
        EXPECT_EQ(r.sys.runtime.endCalls, fatal ? 1 : 0);
    }
}

TEST(WinampCommands, CloseClosesEveryPlayerUnlessNo) {
    for (MbAnswer answer : {MbAnswer::Yes, MbAnswer::No}) {
        MainFormRig r;
        r.sys.windows.AddPlayer(1);
        r.sys.windows.AddPlayer(1);
        r.Answer({answer});
        r.form.mnuCloseWinAmp_Click();
        ASSERT_EQ(r.sys.boxes.Titles(), Strings{"Close WinAmp?"});
        EXPECT_EQ(r.sys.boxes.shown[0].text,
                  "Are You Sure You Want To Close WinAmp?\r\nThis Will Close ALL OPEN INSTANCES OF WINAMP!");
        EXPECT_EQ(r.sys.windows.players.size(), answer == MbAnswer::Yes ? 0u : 2u);
        EXPECT_TRUE(r.view.statusHistory.empty());  // not ringing: no snooze
    }
}

TEST(WinampCommands, SnoozeStopsRingingBeforeAskingAndNoKeepsPlaying) {
    MainFormRig r;
    r.sys.windows.AddPlayer(1);
    r.form.State().AlarmDate = "12/8/2026";
    r.form.State().AlarmTime = "7:05 PM";
    Given(r.form).Ringing(4096);
    r.view.SetCaption(MainCtl::mnuCloseWinAmp, "Snoo&ze");
    std::string statusDuringQuestion;
    r.sys.boxes.onShow = [&](const fakes::ShownBox&) { statusDuringQuestion = r.view.Status(); };
    r.Answer({MbAnswer::No});

    r.form.mnuCloseWinAmp_Click();

    EXPECT_EQ(statusDuringQuestion, "Alarm Settings: OFF  Date: 12/8/2026 Time: 7:05 PM ALARM IS SET");
    EXPECT_FALSE(r.form.State().snoozeInMenu);
    EXPECT_FALSE(r.form.State().player);
    EXPECT_TRUE(r.form.State().fired);  // only the stop clears it
    EXPECT_EQ(r.view.Caption(MainCtl::mnuCloseWinAmp), "Clos&e WinAmp");
    EXPECT_EQ(r.sys.windows.players.size(), 1u);
}

TEST(WinampCommands, LoadOnStartTogglesAndAWriteFailureAsksToClose) {
    MainFormRig r;  // checked at creation
    r.form.mnuLoadWinAmpOnStart_Click();
    r.form.mnuLoadWinAmpOnStart_Click();
    EXPECT_TRUE(r.view.Checked(MainCtl::mnuLoadWinAmpOnStart));
    EXPECT_EQ(r.sys.registry.Writes(), (Strings{"WinAmpOnStart=No", "WinAmpOnStart=Yes"}));
    EXPECT_TRUE(r.sys.boxes.shown.empty());

    r.FailWrite(0);
    r.Answer({MbAnswer::Ok, MbAnswer::No});
    r.form.mnuLoadWinAmpOnStart_Click();
    EXPECT_EQ(r.sys.boxes.Titles(), (Strings{"ERROR!", "Close Chimewell?"}));
    EXPECT_FALSE(r.view.Checked(MainCtl::mnuLoadWinAmpOnStart));  // keeps its new state
    EXPECT_FALSE(r.sys.runtime.ended);
}

TEST(WinampCommands, ConfigureReturnsAWindowThatBelongsInTheTray) {
    const struct {
        const char* name;
        bool trayShown;
        bool marked;
        bool hidden;
    } cases[] = {{"icon shown", true, false, true},
                 {"marked from an earlier trip", false, true, true},
                 {"never in the tray", false, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MainFormRig r;
        r.view.visible = true;
        r.view.tray.shown = c.trayShown;
        r.form.State().inTray = c.marked;
        r.view.timer.SetEnabled(false);

        r.form.mnuConfigure_Click();

        EXPECT_EQ(r.view.visible, !c.hidden);
        EXPECT_EQ(r.view.tray.shown, c.hidden);
        EXPECT_EQ(r.view.showStates, c.hidden ? std::vector<ShowCommand>{ShowCommand::Minimize} : std::vector<ShowCommand>{});
        EXPECT_FALSE(r.form.State().inTray);
        EXPECT_TRUE(r.view.timer.Enabled());
        EXPECT_TRUE(r.sys.windows.messages.empty());  // nothing goes to the player
    }
}

}  // namespace
}  // namespace chw::testing
