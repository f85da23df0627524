// Closing the real program: a declined exit, an exit that saves the alarm for the next start, and
// an exit that closes the player the program started.
#include <cstdio>
#include <sstream>

#include "AroundRig.h"

using namespace e2e;

namespace {

class Shutdown : public AroundRig {};

constexpr const char* kSaveTitle = "Save Settings?";

}  // namespace

TEST_F(Shutdown, DeclinedExitKeepsWatching) {
    ASSERT_NO_FATAL_FAILURE(Start());
    // The watch shows the running clock in the time box.
    const std::string clock = Text(c_.txtTime);
    ASSERT_TRUE(WaitUntil([&] { return Text(c_.txtTime) != clock; }, 3000)) << "the watch should run: " << clock;

    PostMenuCommand(c_.main, IDM_EXITAPP);
    auto ask = WaitMsgBoxTitled(app_.Id(), kCloseTitle, 10000);
    ASSERT_TRUE(ask) << "Exit should ask first";
    EXPECT_EQ(StatusText(c_), "Shutdown Query Being Verified. . .");
    const std::string under = Text(c_.txtTime);
    EXPECT_TRUE(WaitUntil([&] { return Text(c_.txtTime) != under; }, 3000)) << "the watch goes on under the question";
    std::printf("checked: Exit asks \"%s\", the status reads the shutdown query, the watch goes on\n", kCloseTitle);

    PressButton(ask->hwnd, IDNO);
    ASSERT_TRUE(WaitGone(ask->hwnd, 5000));
    EXPECT_TRUE(WaitUntil([&] { return StatusText(c_) == "Ready."; }, 5000)) << StatusText(c_);
    const std::string after = Text(c_.txtTime);
    EXPECT_TRUE(WaitUntil([&] { return Text(c_.txtTime) != after; }, 3000)) << "the watch should still run";
    EXPECT_FALSE(WaitMsgBox(app_.Id(), 1500)) << "No asks nothing more";
    EXPECT_TRUE(app_.Running());
    EXPECT_TRUE(Visible(c_.main));
    std::printf("checked: No keeps the window, \"Ready.\", the watch runs again\n");
}

TEST_F(Shutdown, SavedAlarmComesBackAtTheNextStart) {
    if (TooLateForTheAlarm()) GTEST_SKIP() << "too close to midnight for a same-day alarm";
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(ChooseAlarmForToday());
    const std::string date = ShortDate(Today());

    PostMenuCommand(c_.main, IDM_EXITAPP);
    Answer(kCloseTitle, IDYES);
    EXPECT_EQ(Answer(kSaveTitle, IDYES), "You Have Set The Alarm, Would You Like To Save The Settings?");
    // No player runs: no further question, the program just ends.
    EXPECT_TRUE(app_.WaitExit(15000)) << "the program should end after the save";
    EXPECT_EQ(Setting("SettingsSaved"), "Yes");
    EXPECT_EQ(Setting("Date:"), date);
    EXPECT_EQ(Setting("Time:"), kAlarmTime);
    std::printf("checked: Exit, Yes, save Yes wrote SettingsSaved=Yes, Date:=%s, Time:=%s and ended\n",
                date.c_str(), kAlarmTime);

    app_.Kill();
    ASSERT_NO_FATAL_FAILURE(StartAgain());
    EXPECT_EQ(Text(c_.lblDate), date);
    EXPECT_EQ(StatusText(c_), ChosenSummary());
    EXPECT_TRUE(Enabled(c_.cmdReset)) << "a restored alarm can be cleared";
    Screenshot("restored");
    std::printf("checked: the next start shows the date and the summary \"%s\"\n", ChosenSummary().c_str());
}

TEST_F(Shutdown, ExitClosesThePlayerWhenAsked) {
    if (TooLateForTheAlarm()) GTEST_SKIP() << "too close to midnight for a same-day alarm";
    ASSERT_NO_FATAL_FAILURE(Start(true));
    // The pop-up menu's "Start WinAmp" starts the player.
    PostMenuCommand(c_.main, IDM_STARTWINAMP);
    HWND player = nullptr;
    ASSERT_TRUE(WaitUntil([&] { player = FindPlayerWindow(); return player != nullptr; }, 20000))
        << "Start WinAmp should start the player";
    // The new player takes the foreground when its window comes up: let it, then take it back.
    WaitUntil([&] { return Visible(player) && GetForegroundWindow() == player; }, 10000);
    ASSERT_TRUE(BringToFront(c_.main) || BringToFront(c_.main));
    ASSERT_NO_FATAL_FAILURE(ChooseAlarmForToday());

    // The pop-up menu's Exit: same questions as the Settings menu's.
    PostMenuCommand(c_.main, IDM_EXIT);
    Answer(kCloseTitle, IDYES);
    Answer(kSaveTitle, IDNO);
    EXPECT_EQ(Answer("Close WinAmp?", IDYES), "Do You Want To Close WinAmp?");
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(player); }, 15000)) << "the player should be closed";
    EXPECT_TRUE(app_.WaitExit(15000)) << "the program should end";

    std::stringstream log(ReadFileText(PlayerLogPath()));
    bool closed = false;
    for (std::string line; std::getline(log, line);)
        if (line.rfind("WM_COMMAND 40001 0", 0) == 0) closed = true;
    EXPECT_TRUE(closed) << "the player should get the close command\n" << ReadFileText(PlayerLogPath());
    EXPECT_EQ(Setting("SettingsSaved"), "No") << "save declined";
    EXPECT_EQ(Setting("Date:"), "<missing>");
    EXPECT_EQ(Setting("Time:"), "<missing>");
    std::printf("checked: Start WinAmp started the player; Exit, Yes, save No wrote SettingsSaved=No only; "
                "\"Close WinAmp?\" Yes sent 40001, the player and the program ended\n");
}
