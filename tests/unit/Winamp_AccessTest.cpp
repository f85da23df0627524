// The player messaging module against fake windows that answer like the player.
#include <gtest/gtest.h>

#include "fakes/FakePlatform.h"
#include "winamp/PlayerLocation.h"
#include "winamp/Winamp_Access.h"

namespace chw {
namespace {

using fakes::FakeSystem;
using fakes::SentMessage;

const std::string kClass = winamp::kClass;

struct WinampAccessTest : ::testing::Test {
    FakeSystem sys;
    Winamp_Access wa{sys.platform};
};

TEST_F(WinampAccessTest, WithoutAPlayerNothingIsSentOrReported) {
    wa.WinampHwnd = 0x777;
    EXPECT_EQ(wa.GetWinampStatus(kClass), 0);
    EXPECT_EQ(wa.Status(), PlayerStatus::None);
    wa.CloseAllWinamp(kClass);
    wa.SetWinampVolume(255, kClass);
    wa.PressWinampPlay(kClass, true);
    EXPECT_EQ(wa.WinampHwnd, 0);
    EXPECT_TRUE(sys.windows.messages.empty());
    EXPECT_TRUE(sys.boxes.shown.empty());
    EXPECT_TRUE(sys.runtime.pauses.empty());
}

TEST_F(WinampAccessTest, StatusAndVolumeMessages) {
    struct Case {
        int answer;
        PlayerStatus typed;
    };
    for (const Case c : {Case{0, PlayerStatus::Stopped}, Case{1, PlayerStatus::Playing}, Case{3, PlayerStatus::Paused},
                         Case{2, PlayerStatus::Stopped}}) {
        const int status = c.answer;
        SCOPED_TRACE(status);
        FakeSystem s;
        Winamp_Access w{s.platform};
        auto& player = s.windows.AddPlayer(status);
        EXPECT_EQ(w.Status(), c.typed);
        s.windows.messages.clear();
        EXPECT_EQ(w.GetWinampStatus(kClass), status);
        EXPECT_EQ(w.WinampHwnd, player.handle);
        for (int volume : {28, 255}) {
            w.SetWinampVolume(volume, kClass);
            EXPECT_EQ(player.volume, volume);
        }
        const auto sent = s.windows.MessagesTo(player.handle);
        ASSERT_EQ(sent.size(), 3u);
        EXPECT_EQ(sent[0].message, 0x400u);
        EXPECT_EQ(sent[0].wParam, 0u);
        EXPECT_EQ(sent[0].lParam, 104);
        EXPECT_EQ(sent[1].wParam, 28u);
        EXPECT_EQ(sent[1].lParam, 122);
        for (const SentMessage& m : sent) EXPECT_FALSE(m.posted);
    }
}

TEST_F(WinampAccessTest, CloseAllClosesEveryInstanceOnePerPass) {
    const auto first = sys.windows.AddPlayer().handle;
    const auto second = sys.windows.AddPlayer().handle;
    wa.CloseAllWinamp(kClass);
    EXPECT_FALSE(sys.windows.Exists(first));
    EXPECT_FALSE(sys.windows.Exists(second));
    ASSERT_EQ(sys.windows.messages.size(), 2u);
    EXPECT_EQ(sys.windows.messages[0].to, first);
    EXPECT_EQ(sys.windows.messages[1].to, second);
    for (const auto& m : sys.windows.messages) {
        EXPECT_EQ(m.message, 0x111u);
        EXPECT_EQ(m.wParam, 40001u);
        EXPECT_FALSE(m.posted);
    }
    EXPECT_EQ(wa.WinampHwnd, 0);
    EXPECT_TRUE(sys.runtime.pauses.empty());
}

TEST_F(WinampAccessTest, CloseAllGivesUpOnAPlayerThatStaysOpen) {
    auto& stubborn = sys.windows.AddPlayer();
    stubborn.refuseClose = true;
    const auto handle = stubborn.handle;
    wa.CloseAllWinamp(kClass);
    EXPECT_TRUE(sys.windows.Exists(handle));
    EXPECT_EQ(sys.windows.messages.size(), 1u);
    EXPECT_GE(sys.scheduler.nowMs, 2000);
    EXPECT_LE(sys.scheduler.nowMs, 2100);
}

TEST_F(WinampAccessTest, AHungPlayerIsWaitedForOnceAndTheStopStaysQuick) {
    auto& player = sys.windows.AddPlayer(1);
    sys.windows.windows[player.handle].hung = true;
    EXPECT_EQ(wa.GetWinampStatus(kClass), 0);  // no answer counts as not playing
    EXPECT_EQ(sys.scheduler.nowMs, 3000);
    EXPECT_EQ(wa.Status(), PlayerStatus::None);
    // The stop: volume, then close; neither waits again for the player that did not answer.
    wa.SetWinampVolume(28, kClass);
    sys.windows.messages.clear();
    wa.CloseAllWinamp(kClass);
    EXPECT_EQ(sys.scheduler.nowMs, 3000);
    // Still told to close, in its queue: a player that was only busy goes when it catches up.
    ASSERT_EQ(sys.windows.messages.size(), 1u);
    EXPECT_TRUE(sys.windows.messages[0].posted);
    EXPECT_EQ(sys.windows.messages[0].wParam, winamp::kCmdClose);
    EXPECT_EQ(wa.GetPlaylistLength(kClass), std::nullopt);
    // Once it answers again it is asked again.
    sys.windows.windows[player.handle].hung = false;
    sys.scheduler.Advance(winamp::kHungMemoryMs);
    EXPECT_EQ(wa.GetWinampStatus(kClass), 1);
    EXPECT_EQ(wa.GetPlaylistLength(kClass), 5);
}

TEST_F(WinampAccessTest, CloseAllStopsAfterABoundedNumberOfPasses) {
    // Every close brings up a new instance, as a relaunching player would.
    std::function<void()> addRespawning = [&] {
        auto& p = sys.windows.AddPlayer();
        const auto h = p.handle;
        sys.windows.windows[h].onSend = [&, h](unsigned, std::uintptr_t, std::intptr_t) -> std::intptr_t {
            sys.windows.Remove(h);
            addRespawning();
            return 0;
        };
    };
    addRespawning();
    wa.CloseAllWinamp(kClass);
    EXPECT_EQ(sys.windows.messages.size(), static_cast<std::size_t>(winamp::kCloseAllMaxPasses));
}

TEST_F(WinampAccessTest, PlayIsPostedAndQueuedAtOnce) {
    auto& player = sys.windows.AddPlayer();
    sys.windows.postFailuresLeft = 3;  // a busy queue for a moment
    wa.PressWinampPlay(kClass, true);
    EXPECT_EQ(player.playPresses, 1);
    const auto sent = sys.windows.MessagesTo(player.handle);
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_TRUE(sent.back().posted);
    EXPECT_EQ(sent.back().message, 0x111u);
    EXPECT_EQ(sent.back().wParam, 40045u);
    EXPECT_NE(wa.WinampReply, 0);
    EXPECT_TRUE(sys.boxes.shown.empty());
}

TEST_F(WinampAccessTest, PostThatNeverQueuesIsReportedAfterFiveSeconds) {
    struct Case {
        const char* name;
        bool withWindow;  // false: WinampHwnd 0, which must not count as a queued post
    };
    for (const Case c : {Case{"refusing window", true}, Case{"no window", false}}) {
        SCOPED_TRACE(c.name);
        FakeSystem s;
        Winamp_Access w{s.platform};
        if (c.withWindow) {
            w.WinampHwnd = s.windows.AddPlayer().handle;
            s.windows.postFailuresLeft = -1;
        }
        w.PostWinampCommand(40045);
        ASSERT_EQ(s.boxes.shown.size(), 1u);
        EXPECT_EQ(s.boxes.shown[0].text, "Couldn't queue message for 5 seconds: 40045");
        EXPECT_EQ(s.boxes.shown[0].title, "Chimewell System");
        EXPECT_EQ(s.boxes.shown[0].icon, MbIcon::None);
        EXPECT_EQ(s.boxes.shown[0].buttons, MbButtons::Ok);
        EXPECT_GT(s.scheduler.nowMs, 5000);
        EXPECT_LE(s.scheduler.nowMs, 5100);
        EXPECT_EQ(w.WinampReply, 0);
        if (!c.withWindow) {
            EXPECT_TRUE(s.windows.messages.empty());
        }
    }
}

TEST_F(WinampAccessTest, GreySystemMenuItemReplacesTheItemAtThePosition) {
    const auto window = sys.windows.Add("ThunderRT6FormDC");
    wa.GreySystemMenuItem(window, "&Close", 6);
    const auto& w = sys.windows.windows[window];
    EXPECT_EQ(w.greyedSystemMenu, (std::map<int, std::string>{{6, "&Close"}}));
}

// Each place the player's file may be, and the order they are tried in.
TEST(PlayerLocation, FindsTheFileInEachPlaceInOrder) {
    const std::string classic = "c:\\Program Files\\Winamp\\Winamp.exe";
    const std::string x86 = "C:\\Program Files (x86)\\Winamp\\Winamp.exe";
    const std::string appPaths = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\winamp.exe";
    const std::string wow = "SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\App Paths\\winamp.exe";
    const std::string machine = "D:\\Media\\Winamp\\winamp.exe", user = "E:\\Mine\\winamp.exe";
    struct Registered {
        std::string key, path;
    };
    const struct {
        const char* name;
        std::vector<std::string> files;
        std::vector<Registered> registered;
        std::optional<std::string> found;
    } cases[] = {
        {"classic folder", {classic}, {}, classic},
        {"32-bit programs folder", {x86}, {}, x86},
        {"classic before 32-bit", {x86, classic}, {}, classic},
        {"folders before the registered path", {x86, machine}, {{appPaths, machine}}, x86},
        {"machine, quoted", {machine}, {{appPaths, '"' + machine + '"'}}, machine},
        {"machine, 32-bit view", {machine}, {{wow, machine}}, machine},
        {"user", {user}, {{"HKCU\\" + appPaths, user}}, user},
        {"user, 32-bit view", {user}, {{"HKCU\\" + wow, user}}, user},
        {"machine before user", {machine, user}, {{"HKCU\\" + appPaths, user}, {wow, machine}}, machine},
        {"registered file gone, the next one taken", {user}, {{appPaths, machine}, {"HKCU\\" + appPaths, user}}, user},
        {"nowhere", {}, {{appPaths, machine}}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeSystem sys;
        for (const auto& f : c.files) sys.files.AddFile(f);
        for (const auto& r : c.registered) sys.registry.Put(r.key, "", r.path);
        EXPECT_EQ(winamp::FindPlayer(sys.files, sys.registry), c.found);
        EXPECT_EQ(winamp::PlayerInstalled(sys.files, sys.registry), c.found.has_value());
    }
}

// The folders looked in, as the missing-player box names them: two on a 64-bit Windows, one where the
// 32-bit programs folder is the programs folder itself or cannot be told.
TEST(PlayerLocation, FoldersAndTheirNamesFollowTheSystem) {
    const struct {
        const char* x86;
        std::vector<std::string> folders;
        const char* named;
    } cases[] = {
        {"C:\\Program Files (x86)", {"c:\\Program Files\\Winamp", "C:\\Program Files (x86)\\Winamp"},
         "'C:\\Program Files\\Winamp' or 'C:\\Program Files (x86)\\Winamp'"},
        {"D:\\Programme (x86)", {"c:\\Program Files\\Winamp", "D:\\Programme (x86)\\Winamp"},
         "'C:\\Program Files\\Winamp' or 'D:\\Programme (x86)\\Winamp'"},
        {"C:\\PROGRAM FILES", {"c:\\Program Files\\Winamp"}, "'C:\\Program Files\\Winamp'"},
        {"", {"c:\\Program Files\\Winamp"}, "'C:\\Program Files\\Winamp'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.x86);
        FakeSystem sys;
        sys.files.programFilesX86 = c.x86;
        EXPECT_EQ(winamp::PlayerFolders(sys.files), c.folders);
        EXPECT_EQ(winamp::LooksInText(sys.files), c.named);
        // A folder alone passes the start-up's test, in any of the places.
        sys.files.AddFolder(c.folders.back());
        EXPECT_TRUE(winamp::PlayerInstalled(sys.files, sys.registry));
    }
}

}  // namespace
}  // namespace chw
