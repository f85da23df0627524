// The player messaging module against fake windows that answer like the player.
#include <gtest/gtest.h>

#include "fakes/FakePlatform.h"
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
    wa.CloseAllWinamp(kClass);
    wa.SetWinampVolume(255, kClass);
    wa.PressWinampPlay(kClass, true);
    EXPECT_EQ(wa.WinampHwnd, 0);
    EXPECT_TRUE(sys.windows.messages.empty());
    EXPECT_TRUE(sys.boxes.shown.empty());
    EXPECT_TRUE(sys.runtime.pauses.empty());
}

TEST_F(WinampAccessTest, StatusAndVolumeMessages) {
    for (int status : {0, 1, 3}) {
        FakeSystem s;
        Winamp_Access w{s.platform};
        auto& player = s.windows.AddPlayer(status);
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
    // The stop: volume, then close; neither waits again for the player that did not answer.
    wa.SetWinampVolume(28, kClass);
    wa.CloseAllWinamp(kClass);
    EXPECT_EQ(sys.scheduler.nowMs, 3000);
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

}  // namespace
}  // namespace chw
