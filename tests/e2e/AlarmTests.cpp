// The alarm through the real windows: choosing a day and a time, arming with the stand-in player,
// the ringing at the minute, the snooze, and the refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "AlarmClock.h"
#include "AroundRig.h"
#include "Driver.h"

using namespace e2e;

namespace {

constexpr const char* kBanner =
    "!!!!! ALARM !!!!!! !!!!! ALARM !!!!!! !!!!! ALARM !!!!!! !!!!! ALARM !!!!!! !!!!! ALARM !!!!!! "
    "!!!!! ALARM !!!!!!";

std::vector<std::string> PlayerLog() {
    std::vector<std::string> lines;
    std::stringstream ss(ReadFileText(PlayerLogPath()));
    std::string line;
    while (std::getline(ss, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}

// Index of the first line equal to `what` at or after `from`; -1 when there is none.
int FindLine(const std::vector<std::string>& lines, const std::string& what, int from = 0) {
    for (size_t i = static_cast<size_t>(from); i < lines.size(); ++i)
        if (lines[i] == what) return static_cast<int>(i);
    return -1;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string s;
    for (const auto& l : lines) s += l + "\n";
    return s;
}

class Alarm : public AroundRig {
protected:
    void StartWith(bool player, bool x86Only = false) { ASSERT_NO_FATAL_FAILURE(Start(player, x86Only)); }

    // A real click on a day of the calendar.
    void ClickDay(const SYSTEMTIME& day, bool currentMonthOnly = true) {
        ASSERT_TRUE(e2e::ClickDay(c_, day, currentMonthOnly))
            << "the calendar does not show " << day.wMonth << "/" << day.wDay;
    }

    // A real click into the time box, the old text selected and the new one typed, then Tab away.
    void TypeTimeAndLeave(const std::string& typed) {
        ASSERT_TRUE(e2e::TypeTimeAndLeave(c_, typed)) << "the click should make the time box editable and focused";
    }

    // The player's misbehaviour, read by the stand-in player the program starts.
    static void PlayerFaults(const wchar_t* faults) { SetEnvironmentVariableW(L"CHW_STANDIN_FAULTS", faults); }

    // The first whole minute at least `lead` seconds ahead, or a skip near midnight.
    static std::optional<SYSTEMTIME> MinuteAhead(int lead) {
        SYSTEMTIME t = AddSeconds(Now(), lead + 59);
        t.wSecond = 0;
        t.wMilliseconds = 0;
        if (t.wDay != Now().wDay) return std::nullopt;
        return t;
    }

    // Today at that minute through the calendar, the time box and the AM/PM question.
    void Choose(const SYSTEMTIME& target) {
        ASSERT_TRUE(BringToFront(c_.main));
        ASSERT_NO_FATAL_FAILURE(PickToday());
        ASSERT_NO_FATAL_FAILURE(TypeTimeAndLeave(TypedText(target)));
        Answer("AM/PM Query:", target.wHour < 12 ? IDYES : IDNO);
        ASSERT_TRUE(WaitUntil([&] { return Text(c_.txtTime) == AlarmText(target); }, 5000)) << Text(c_.txtTime);
    }

    // The ringing, then the built-in sound where the player stays silent: the status bar's second part
    // names it and the captured sound is more than silence. Returns the capture's size at that moment.
    void ExpectTheBuiltInSound(int withinMs) {
        ASSERT_TRUE(WaitUntil([&] { return TextOf(c_.statusBar, 500).value_or("") == kBanner; }, withinMs, 250))
            << "no banner; status line: " << StatusText(c_);
        EXPECT_TRUE(WaitUntil([&] { return StatusText(c_, 1) == "Built-In Alarm Sound"; }, 15000))
            << "second part: \"" << StatusText(c_, 1) << "\"";
        Screenshot("built-in-sound");
        if (SoundCaptured()) {
            EXPECT_TRUE(WaitUntil([] { return LoudSince(0); }, 5000)) << "no sound came out";
            std::printf("checked: the built-in sound is heard (%llu bytes played)\n",
                        static_cast<unsigned long long>(SoundBytes()));
        }
    }

    // The stop on the button, within `withinMs`; the built-in sound ends with it.
    void StopAndExpectSilence(const SYSTEMTIME& target, int withinMs) {
        const std::string off =
            "Alarm Settings: OFF  Date: " + ShortDate(target) + " Time: " + AlarmText(target) + " ALARM IS SET";
        const ULONGLONG pressed = GetTickCount64();
        PostClick(c_.cmdSet);
        ASSERT_TRUE(WaitUntil([&] { return TextOf(c_.statusBar, 250).value_or("") == off; }, withinMs, 100))
            << "the stop took too long; status line: " << StatusText(c_);
        const double seconds = static_cast<double>(GetTickCount64() - pressed) / 1000.0;
        EXPECT_EQ(StatusText(c_, 1), "");
        EXPECT_EQ(Text(c_.cmdSet), "Turn &On");
        if (SoundCaptured()) {
            Pause(1000);  // what was already on its way out
            const std::uint64_t stoppedAt = SoundBytes();
            Pause(2000);
            EXPECT_FALSE(LoudSince(stoppedAt)) << "the built-in sound went on after the stop";
        }
        std::printf("checked: the stop took %.1f s and the built-in sound ended with it\n", seconds);
    }
};

}  // namespace

TEST_F(Alarm, ArmFireAndSnooze) {
    // The alarm minute: the first one that leaves the ~17 s of arming, the steps before it and the
    // player's restart by the watch time to finish, so at most about two and a quarter minutes ahead.
    SYSTEMTIME target = AddSeconds(Now(), 75);
    target.wSecond = 0;
    target.wMilliseconds = 0;
    target = AddSeconds(target, 60);
    if (target.wDay != Now().wDay) GTEST_SKIP() << "too close to midnight for a same-day alarm";
    const std::string alarmTime = AlarmText(target);

    // The player where a 64-bit Windows installs it, and nowhere else: the start-up finds it without a box.
    ASSERT_NO_FATAL_FAILURE(StartWith(true, true));
    ASSERT_EQ(GetFileAttributesW(Wide(kWinampDir).c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(WaitMsgBox(app_.Id(), 500)) << "the player under the 32-bit programs folder needs no box";
    SYSTEMTIME today = Now();
    const std::string date = ShortDate(today);

    ASSERT_NO_FATAL_FAILURE(PickToday());

    ASSERT_NO_FATAL_FAILURE(TypeTimeAndLeave(TypedText(target)));
    auto ampm = WaitMsgBox(app_.Id(), 10000);
    ASSERT_TRUE(ampm) << "no AM/PM question";
    EXPECT_EQ(ampm->title, "AM/PM Query:");
    EXPECT_EQ(ampm->text, "Click 'Yes' For 'AM' and 'No' For 'PM'");
    PressButton(ampm->hwnd, target.wHour < 12 ? IDYES : IDNO);
    ASSERT_TRUE(WaitGone(ampm->hwnd, 5000));
    EXPECT_TRUE(WaitUntil([&] { return Text(c_.txtTime) == alarmTime; }, 5000)) << Text(c_.txtTime);
    EXPECT_EQ(StatusText(c_), "Alarm Settings: OFF  Date: " + date + " Time: " + alarmTime + " ALARM IS SET.");
    Screenshot("alarm-chosen");

    // Arm, and answer No to starting with Windows.
    PostClick(c_.cmdSet);
    auto withWindows = WaitMsgBox(app_.Id(), 10000);
    ASSERT_TRUE(withWindows) << "no start-with-Windows question";
    EXPECT_EQ(withWindows->title, "Start Chimewell With Windows?");
    EXPECT_EQ(withWindows->text,
              "Should Chimewell Start With Windows?\r\nThis Will Ensure That Your Alarm Initiates\r\n"
              "In The Event This PC Is Restarted.");
    PressButton(withWindows->hwnd, IDNO);
    ULONGLONG armedAt = GetTickCount64();

    // The take-over: the player starts, the status line counts down, then the player is hidden.
    HWND player = nullptr;
    EXPECT_TRUE(WaitUntil([&] { player = FindPlayerWindow(); return player != nullptr; }, 10000))
        << "arming should start the player";
    Pause(4000);
    Screenshot("arming-countdown-early");
    Pause(6000);
    Screenshot("arming-countdown-late");
    ASSERT_TRUE(WaitUntil([&] { return player && !Visible(player); }, 25000))
        << "the player's window should be hidden after the take-over";
    double seconds = static_cast<double>(GetTickCount64() - armedAt) / 1000.0;
    EXPECT_GT(seconds, 15.0) << "the take-over waits about 17 s";
    EXPECT_LT(seconds, 30.0);
    ASSERT_TRUE(WaitUntil([&] { return TextOf(c_.statusBar, 500).has_value(); }, 10000));
    EXPECT_EQ(StatusText(c_), "Alarm Settings: ON  Date: " + date + " Time: " + alarmTime + " ALARM IS SET");
    EXPECT_EQ(Text(c_.cmdSet), "Turn &Off");
    EXPECT_FALSE(Enabled(c_.cmdReset));
    EXPECT_FALSE(Enabled(c_.monthView));
    EXPECT_FALSE(Enabled(c_.txtTime));
    EXPECT_EQ(ReadValue("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", "Chimewell"), std::nullopt)
        << "No to starting with Windows writes no Run entry";
    Screenshot("armed");

    // The user closes the hidden player: the watch starts a new one and hides it again.
    PostMessageW(player, WM_CLOSE, 0, 0);
    HWND again = nullptr;
    EXPECT_TRUE(WaitUntil([&] { again = FindPlayerWindow(); return again && again != player; }, 15000))
        << "the watch should start the player again";
    EXPECT_TRUE(WaitUntil([&] { return again && !Visible(again); }, 8000)) << "the new player should be hidden";
    std::printf("checked: the player closed while armed is started again by the watch and hidden\n");
    ASSERT_TRUE(WaitUntil([&] { return TextOf(c_.statusBar, 500).has_value(); }, 10000));

    // The minute comes.
    long long msToGo = MsBetween(Now(), target);
    ASSERT_GT(msToGo, 0) << "arming took past the alarm minute";
    ASSERT_TRUE(WaitUntil([&] { return TextOf(c_.statusBar, 500).value_or("") == kBanner; },
                          static_cast<int>(msToGo) + 30000, 250))
        << "no banner; status line: " << StatusText(c_);
    Screenshot("ringing");
    EXPECT_EQ(Text(c_.cmdSet), "Snoo&ze");

    auto log = PlayerLog();
    int query = FindLine(log, "WM_USER 0 104");
    int play = FindLine(log, "WM_COMMAND 40045 0", query < 0 ? 0 : query);
    int loud = FindLine(log, "WM_USER 255 122", play < 0 ? 0 : play);
    EXPECT_GE(query, 0) << "the status query must come first\n" << Joined(log);
    EXPECT_GT(play, query) << "then Play\n" << Joined(log);
    EXPECT_GT(loud, play) << "then the volume at 255\n" << Joined(log);
    EXPECT_EQ(FindLine(log, "WM_COMMAND 40045 0", play + 1), -1) << "Play only once\n" << Joined(log);
    EXPECT_EQ(StatusText(c_, 1), "") << "a playing player needs no built-in sound";

    // Snooze on the button: volume down, the player closed, the OFF summary.
    PostClick(c_.cmdSet);
    EXPECT_TRUE(WaitUntil([&] { return FindPlayerWindow() == nullptr; }, 15000)) << "the player should be closed";
    const std::string off = "Alarm Settings: OFF  Date: " + date + " Time: " + alarmTime + " ALARM IS SET";
    EXPECT_TRUE(WaitUntil([&] { return TextOf(c_.statusBar, 500).value_or("") == off; }, 10000))
        << StatusText(c_);
    log = PlayerLog();
    int quiet = FindLine(log, "WM_USER 28 122", loud < 0 ? 0 : loud);
    int close = FindLine(log, "WM_COMMAND 40001 0", quiet < 0 ? 0 : quiet);
    EXPECT_GT(quiet, loud) << "the snooze turns the volume to 28\n" << Joined(log);
    EXPECT_GT(close, quiet) << "then closes the player\n" << Joined(log);
    EXPECT_EQ(Text(c_.cmdSet), "Turn &On");
    EXPECT_TRUE(Enabled(c_.cmdReset));
    EXPECT_TRUE(Enabled(c_.monthView));
    Screenshot("snoozed");
    std::printf("checked: ring, then Snooze: volume 28, the player closed, \"%s\"\n", off.c_str());

    // The next press, though captioned "Turn &On", disarms, and switches an enabled start-in-tray
    // option off (never on). Made after the alarm minute, or the watch it restarts would ring again.
    ASSERT_TRUE(WaitUntil([&] { return MsBetween(target, Now()) > 61000; }, 70000));
    ASSERT_TRUE(BringToFront(c_.main));
    RealKey(VK_F2);
    ASSERT_TRUE(WaitUntil([&] { return ReadValue(kSettingsKey, "StartInTray").value_or("") == "Yes"; }, 10000));
    PostClick(c_.cmdSet);
    EXPECT_TRUE(WaitUntil([&] { return ReadValue(kSettingsKey, "StartInTray").value_or("") == "No"; }, 10000))
        << "the disarm should switch start-in-tray off";
    EXPECT_EQ(ReadValue(kRunKey, "Chimewell").value_or("<missing>"), "-c:\\Program Files\\Tallowmer\\CHWL\\CHWLU.EXE");
    EXPECT_TRUE(WaitUntil([&] { return TextOf(c_.statusBar, 500).value_or("") == off; }, 5000)) << StatusText(c_);
    EXPECT_EQ(Text(c_.cmdSet), "Turn &On");
    EXPECT_TRUE(Enabled(c_.cmdReset));
    EXPECT_TRUE(Enabled(c_.txtTime));
    EXPECT_FALSE(WaitMsgBox(app_.Id(), 1000)) << "the disarm asks nothing";
    std::printf("checked: the next press disarms: \"%s\", start-in-tray switched off (StartInTray=No, Run \"-...\")\n",
                off.c_str());

    // And the press after it would arm again, but the alarm's minute is over: refused, nothing armed.
    PostClick(c_.cmdSet);
    auto passed = WaitMsgBox(app_.Id(), 10000);
    ASSERT_TRUE(passed) << "arming a time that has passed should be refused";
    EXPECT_EQ(passed->title, "Chimewell System");
    EXPECT_EQ(passed->text, "That Time Has Already Passed Today!\r\nPlease Choose A Later Time Or Another Day.");
    PressButton(passed->hwnd, IDOK);
    ASSERT_TRUE(WaitGone(passed->hwnd, 5000));
    Pause(500);
    EXPECT_EQ(Text(c_.cmdSet), "Turn &On");
    EXPECT_EQ(FindPlayerWindow(), nullptr) << "nothing was armed";
    std::printf("checked: arming the same time after its minute is refused with \"That Time Has Already Passed Today!\"\n");
}

// During the take-over's 17 s the window keeps answering: a probe with a short timeout, the countdown
// drawn step by step, and a second start that brings this instance forward and ends.
TEST_F(Alarm, TakeOverAnswersAndASecondStartBringsTheFirstForward) {
    if (TooLateForTheAlarm()) GTEST_SKIP() << "too close to midnight for a same-day alarm";
    ASSERT_NO_FATAL_FAILURE(StartWith(true));
    ASSERT_NO_FATAL_FAILURE(ChooseAlarmForToday());
    PostClick(c_.cmdSet);
    ASSERT_FALSE(Answer("Start Chimewell With Windows?", IDNO).empty());

    const std::string counting = "Process Will Be Complete In: ";
    auto counts = [&](const std::string& text) { return text.rfind(counting, 0) == 0; };
    ASSERT_TRUE(WaitUntil([&] { return counts(StatusText(c_)); }, 15000)) << StatusText(c_);
    DWORD_PTR reply = 0;
    EXPECT_TRUE(SendMessageTimeoutW(c_.main, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &reply))
        << "a probe with a one-second timeout should be answered during the countdown";
    const std::string step = StatusText(c_);
    EXPECT_TRUE(WaitUntil([&] { std::string now = StatusText(c_); return counts(now) && now != step; }, 3000))
        << "the countdown should move on: " << StatusText(c_);
    Screenshot("take-over-countdown");

    ShowWindow(c_.main, SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(c_.main) != 0; }, 3000)) << "minimising is answered too";
    Process second;
    ASSERT_TRUE(StartProgram(second));
    EXPECT_TRUE(WaitUntil([&] { return !second.Running(); }, 15000)) << "the second start should end by itself";
    EXPECT_TRUE(WaitUntil([&] { return !IsIconic(c_.main) && GetForegroundWindow() == c_.main; }, 3000))
        << "the first instance should be restored and in front";
    const std::string after = StatusText(c_);
    EXPECT_TRUE(counts(after)) << "still within the countdown: " << after;
    Screenshot("take-over-second-start");
    std::printf("checked: during the take-over a WM_NULL probe is answered, the countdown moves, a second start "
                "brings the window forward (\"%s\")\n", after.c_str());

    // The take-over itself goes on as designed.
    const std::string on = "Alarm Settings: ON  Date: " + ShortDate(Today()) + " Time: " + kAlarmTime + " ALARM IS SET";
    EXPECT_TRUE(WaitUntil([&] { return StatusText(c_) == on; }, 25000)) << StatusText(c_);
    // Hidden right after the summary comes back; the player's own thread may take a moment to do it.
    EXPECT_TRUE(WaitUntil([] { HWND player = FindPlayerWindow(); return player && !Visible(player); }, 5000))
        << "the player is hidden after the take-over";
}

TEST_F(Alarm, RefusedWithoutTime) {
    ASSERT_NO_FATAL_FAILURE(StartWith(true));
    ClickDay(Now());  // a date alone is not enough
    PostClick(c_.cmdSet);
    auto box = WaitMsgBox(app_.Id(), 10000);
    ASSERT_TRUE(box) << "no refusal";
    EXPECT_EQ(box->title, "Alarm Not Set!");
    EXPECT_EQ(box->text, "You Must Set The Alarm Before You Can Activate It!");
    PressButton(box->hwnd, IDOK);
    ASSERT_TRUE(WaitGone(box->hwnd, 5000));
    Pause(500);
    EXPECT_EQ(Text(c_.cmdSet), "&Activate") << "the refusal leaves the caption";
    EXPECT_EQ(FindPlayerWindow(), nullptr) << "nothing was armed";
}

TEST_F(Alarm, PastDateIsRefused) {
    ASSERT_NO_FATAL_FAILURE(StartWith(false));
    SYSTEMTIME today = Now();
    SYSTEMTIME yesterday = AddSeconds(today, -86400);
    // On the first of a month, yesterday is one of the greyed days of the month before.
    ClickDay(yesterday, yesterday.wMonth == today.wMonth);
    auto box = WaitMsgBox(app_.Id(), 10000);
    ASSERT_TRUE(box) << "no refusal of a past date";
    EXPECT_EQ(box->title, "Date Selected Has Passed Already!");
    EXPECT_EQ(box->text, "You Cannot Choose A Date In The Past!");
    Screenshot("past-date");
    PressButton(box->hwnd, IDOK);
    ASSERT_TRUE(WaitGone(box->hwnd, 5000));
    Pause(500);
    EXPECT_EQ(Text(c_.lblDate), "") << "the refused date is not taken";
    EXPECT_FALSE(Enabled(c_.cmdReset));

    ASSERT_NO_FATAL_FAILURE(PickToday());  // today itself is allowed
    EXPECT_TRUE(Enabled(c_.cmdReset));
}

TEST_F(Alarm, MalformedTimeRetriedThenCancelled) {
    ASSERT_NO_FATAL_FAILURE(StartWith(false));
    const std::string status = "Validating Input. . .";

    // "7:30": its first two characters are no number.
    ASSERT_NO_FATAL_FAILURE(TypeTimeAndLeave("7:30"));
    auto box = WaitMsgBox(app_.Id(), 10000);
    ASSERT_TRUE(box) << "no format error";
    EXPECT_EQ(box->title, "Validation Results:");
    EXPECT_EQ(box->text, "Incorrect Format!  Click OK To Try Again, Cancel To Exit");
    Screenshot("malformed-time");
    PressButton(box->hwnd, IDOK);
    ASSERT_TRUE(WaitGone(box->hwnd, 5000));
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(c_.main) == c_.txtTime; }, 3000))
        << "OK keeps the caret in the time box";
    EXPECT_EQ(StatusText(c_), status);
    Pause(1500);
    EXPECT_EQ(Text(c_.txtTime), "7:30") << "the watch stays off while the user types";

    // Leaving again with the same text: this time Cancel.
    RealKey(VK_TAB);
    box = WaitMsgBox(app_.Id(), 10000);
    ASSERT_TRUE(box) << "no format error on the second try";
    EXPECT_EQ(box->title, "Validation Results:");
    PressButton(box->hwnd, IDCANCEL);
    ASSERT_TRUE(WaitGone(box->hwnd, 5000));
    EXPECT_TRUE(WaitUntil([&] { return StatusText(c_) == "Ready."; }, 5000)) << StatusText(c_);
    EXPECT_NE(FocusOf(c_.main), c_.txtTime) << "Cancel lets the focus go";
    // The watch runs again: the box shows the clock, not the refused text.
    EXPECT_TRUE(WaitUntil([&] { return Text(c_.txtTime) != "7:30"; }, 5000));
}

TEST_F(Alarm, ClearWithdrawsTheSavedAlarm) {
    const std::string date = ShortDate(Now());
    ASSERT_TRUE(WriteValue(kSettingsKey, "StartInTray", "No"));
    ASSERT_TRUE(WriteValue(kSettingsKey, "WinAmpOnStart", "No"));
    ASSERT_TRUE(WriteValue(kSettingsKey, "SettingsSaved", "Yes"));
    ASSERT_TRUE(WriteValue(kSettingsKey, "Date:", date));
    ASSERT_TRUE(WriteValue(kSettingsKey, "Time:", "11:59 PM"));
    ASSERT_NO_FATAL_FAILURE(StartWith(false));

    // Restored at start.
    EXPECT_EQ(Text(c_.lblDate), date);
    EXPECT_EQ(StatusText(c_), "Alarm Settings: OFF  Date: " + date + " Time: 11:59 PM ALARM IS SET.");
    ASSERT_TRUE(Enabled(c_.cmdReset)) << "a restored alarm can be cleared";

    PostClick(c_.cmdReset);
    EXPECT_TRUE(WaitUntil([&] { return ReadValue(kSettingsKey, "SettingsSaved").value_or("") == "No"; }, 5000))
        << "SettingsSaved: " << ReadValue(kSettingsKey, "SettingsSaved").value_or("<missing>");
    EXPECT_TRUE(WaitUntil([&] { return StatusText(c_) == "Ready."; }, 5000)) << StatusText(c_);
    EXPECT_EQ(Text(c_.lblDate), "");
    EXPECT_FALSE(Enabled(c_.cmdReset));
    // The saved texts stay; only the flag withdraws them.
    EXPECT_EQ(ReadValue(kSettingsKey, "Date:").value_or(""), date);
    EXPECT_EQ(ReadValue(kSettingsKey, "Time:").value_or(""), "11:59 PM");
    Screenshot("cleared");
}

// A player that hangs as soon as its window is up: the window goes on through the arming and the alarm
// minute (its clock keeps ticking, probes are answered), the alarm rings with the built-in sound, the stop
// is quick because the hung player is waited for only once, and Exit ends the program.
TEST_F(Alarm, PlayerHungAtStartFreezesNothingAndTheBuiltInSoundRings) {
    if (!MinuteAhead(90)) GTEST_SKIP() << "too close to midnight for a same-day alarm";
    PlayerFaults(L"hang-at-start");
    ASSERT_NO_FATAL_FAILURE(StartWith(true));
    // Time to choose it and for the take-over (about 20 s with the hung player) before the minute begins.
    const std::optional<SYSTEMTIME> target = MinuteAhead(45);
    ASSERT_TRUE(target);
    ASSERT_NO_FATAL_FAILURE(Choose(*target));
    PostClick(c_.cmdSet);
    Answer("Start Chimewell With Windows?", IDNO);

    int unanswered = 0;
    auto answers = [&] {
        DWORD_PTR reply = 0;
        const bool ok = SendMessageTimeoutW(c_.main, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &reply) != 0;
        if (!ok) ++unanswered;
        return ok;
    };
    // The clock in the time box moves only while posted messages are handled: a thread stuck in a wait
    // on the player would still answer the probe, but not tick.
    auto ticksWithin = [&](int ms) {
        const std::string clock = Text(c_.txtTime);
        return WaitUntil([&] { answers(); return Text(c_.txtTime) != clock; }, ms, 200);
    };
    const std::string on =
        "Alarm Settings: ON  Date: " + ShortDate(*target) + " Time: " + AlarmText(*target) + " ALARM IS SET";
    ASSERT_TRUE(WaitUntil([&] { answers(); return TextOf(c_.statusBar, 500).value_or("") == on; }, 45000, 250))
        << StatusText(c_);
    EXPECT_NE(ReadFileText(PlayerLogPath()).find("# window ready\r\n# hanging"), std::string::npos)
        << "the player should hang right after its window came up\n" << ReadFileText(PlayerLogPath());
    // The arming ends with the playlist question to the hung player: up to the 3 s send limit.
    EXPECT_TRUE(ticksWithin(6000)) << "the watch should tick after the arming";
    if (SoundCaptured()) {
        EXPECT_FALSE(LoudSince(0)) << "nothing should sound before the alarm";
    }

    const long long msToGo = MsBetween(Now(), *target);
    ASSERT_GT(msToGo, 0) << "arming took past the alarm minute";
    ASSERT_TRUE(WaitUntil([&] { answers(); return MsBetween(*target, Now()) >= 0; }, static_cast<int>(msToGo) + 2000));
    ASSERT_NO_FATAL_FAILURE(ExpectTheBuiltInSound(15000));
    const double late = static_cast<double>(MsBetween(*target, Now())) / 1000.0;
    EXPECT_LE(late, 15.0) << "the built-in sound should start within 15 s of the minute";
    EXPECT_TRUE(ticksWithin(5000)) << "the watch should tick on while it rings";
    EXPECT_EQ(unanswered, 0) << "the window should answer every probe through the arming and the minute";
    std::printf("checked: a player hung at start froze nothing; the built-in sound came %.1f s into the minute\n",
                late);
    ASSERT_NO_FATAL_FAILURE(StopAndExpectSilence(*target, 6000));

    PostMenuCommand(c_.main, IDM_EXITAPP);
    Answer(kCloseTitle, IDYES);
    Answer("Save Settings?", IDNO);
    Answer("Close WinAmp?", IDYES);
    EXPECT_TRUE(app_.WaitExit(20000)) << "Exit should end the program even with the hung player";
    std::printf("checked: Exit ended the program\n");
}

// The Exit question open across the alarm minute: Play arrives at once under it and the box stays. Then
// the ringing stays heard: a player stopped gets Play again, and a player closed is started again, hidden,
// and plays.
TEST_F(Alarm, TheExitQuestionOpenAcrossTheMinuteRingsAndAStoppedOrClosedPlayerPlaysAgain) {
    if (!MinuteAhead(90)) GTEST_SKIP() << "too close to midnight for a same-day alarm";
    PlayerFaults(L"playlist=0");
    ASSERT_NO_FATAL_FAILURE(StartWith(true));
    const std::optional<SYSTEMTIME> target = MinuteAhead(45);
    ASSERT_TRUE(target);
    ASSERT_NO_FATAL_FAILURE(Choose(*target));
    PostClick(c_.cmdSet);
    Answer("Start Chimewell With Windows?", IDNO);
    auto warning = WaitMsgBoxTitled(app_.Id(), "Chimewell System", 40000);
    ASSERT_TRUE(warning) << "no warning about the empty playlist";
    EXPECT_EQ(warning->text, "WinAmp's Playlist Is Empty!\r\nAdd Music To It, Or The Alarm Will Use Its Built-In Sound.");
    PressButton(warning->hwnd, IDOK);
    ASSERT_TRUE(WaitGone(warning->hwnd, 5000));
    std::printf("checked: the empty playlist is reported at arming\n");

    auto plays = [] {
        const auto log = PlayerLog();
        return std::count(log.begin(), log.end(), std::string("WM_COMMAND 40045 0"));
    };
    ASSERT_GT(MsBetween(Now(), *target), 2000) << "the question should open before the minute";
    PostMenuCommand(c_.main, IDM_EXITAPP);
    auto ask = WaitMsgBoxTitled(app_.Id(), kCloseTitle, 10000);
    ASSERT_TRUE(ask) << "Exit should ask first";
    ASSERT_EQ(plays(), 0);
    ASSERT_TRUE(WaitUntil([&] { return plays() > 0; }, static_cast<int>(MsBetween(Now(), *target)) + 5000, 50))
        << "no Play under the Exit question\n" << Joined(PlayerLog());
    const long long late = MsBetween(*target, Now());
    EXPECT_LE(late, 1000) << "Play should arrive within a second of the minute";
    EXPECT_TRUE(IsWindow(ask->hwnd) && Visible(ask->hwnd)) << "the question stays open";
    EXPECT_TRUE(WaitUntil([&] { return TextOf(c_.statusBar, 500).value_or("") == kBanner; }, 5000)) << StatusText(c_);
    Screenshot("rings-under-exit-question");
    std::printf("checked: Play arrived %lld ms into the minute under the open Exit question\n", late);
    PressButton(ask->hwnd, IDNO);
    ASSERT_TRUE(WaitGone(ask->hwnd, 5000));
    EXPECT_TRUE(WaitUntil([&] { return TextOf(c_.statusBar, 500).value_or("") == kBanner; }, 3000))
        << "No keeps the banner: " << StatusText(c_);

    // The player stops: after a few silent seconds it gets Play again.
    const HWND player = FindPlayerWindow();
    ASSERT_TRUE(player);
    const auto beforeStop = plays();
    PostMessageW(player, WM_COMMAND, 40047, 0);
    EXPECT_TRUE(WaitUntil([&] { return plays() > beforeStop; }, 10000)) << "Play again\n" << Joined(PlayerLog());
    std::printf("checked: a player stopped while ringing got Play again\n");

    // The player is closed: started again, hidden, and it plays, which is heard.
    const auto beforeClose = plays();
    PostMessageW(player, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { HWND p = FindPlayerWindow(); return p && p != player; }, 15000)) << "no new player";
    const std::uint64_t bytesBefore = SoundBytes();  // the old player is gone, the new one not yet pressed
    ASSERT_EQ(plays(), beforeClose) << "Play comes once the new player is up and hidden";
    EXPECT_TRUE(WaitUntil([&] { return plays() > beforeClose; }, 15000)) << "Play for the new player\n"
                                                                       << Joined(PlayerLog());
    EXPECT_TRUE(WaitUntil([] { HWND p = FindPlayerWindow(); return p && !Visible(p); }, 5000)) << "hidden";
    if (SoundCaptured()) {
        // A new player may start the capture file afresh.
        EXPECT_TRUE(WaitUntil([&] { const auto now = SoundBytes(); return LoudSince(now < bytesBefore ? 0 : bytesBefore); },
                              5000))
            << "the new player should be heard";
    }
    EXPECT_EQ(StatusText(c_, 1), "") << "the player plays: no built-in sound";
    EXPECT_EQ(TextOf(c_.statusBar, 500).value_or(""), kBanner);
    std::printf("checked: a player closed while ringing was started again, hidden, and played\n");
    ASSERT_NO_FATAL_FAILURE(StopAndExpectSilence(*target, 10000));
}

// What happens around an armed alarm: a time already over is refused and stays silent; killed while
// armed, the next start arms it again by itself and it rings at its minute; killed while it rings, the
// next start (within its minute) neither rings it again nor calls it missed.
TEST_F(Alarm, KilledWhileArmedComesBackAndRingsOnceOnly) {
    const std::optional<SYSTEMTIME> past = MinuteAhead(-180);
    if (!past || !MinuteAhead(150)) GTEST_SKIP() << "too close to midnight for a same-day alarm";
    ASSERT_NO_FATAL_FAILURE(StartWith(true));
    auto plays = [] {
        const auto log = PlayerLog();
        return std::count(log.begin(), log.end(), std::string("WM_COMMAND 40045 0"));
    };

    // Two minutes ago: refused, and nothing of it rings or is called missed afterwards.
    ASSERT_NO_FATAL_FAILURE(Choose(*past));
    PostClick(c_.cmdSet);
    EXPECT_EQ(Answer("Chimewell System", IDOK),
              "That Time Has Already Passed Today!\r\nPlease Choose A Later Time Or Another Day.");
    Pause(3000);
    EXPECT_NE(StatusText(c_), kBanner);
    EXPECT_EQ(StatusText(c_).rfind("Alarm MISSED!", 0), std::string::npos) << StatusText(c_);
    EXPECT_EQ(FindPlayerWindow(), nullptr) << "nothing was armed";
    std::printf("checked: a time already over is refused and stays silent (\"%s\")\n", StatusText(c_).c_str());

    // Time for the arming, a start and the start's own take-over before the minute.
    const std::optional<SYSTEMTIME> target = MinuteAhead(60);
    ASSERT_TRUE(target);
    ASSERT_NO_FATAL_FAILURE(Choose(*target));
    PostClick(c_.cmdSet);
    Answer("Start Chimewell With Windows?", IDNO);
    const std::string on =
        "Alarm Settings: ON  Date: " + ShortDate(*target) + " Time: " + AlarmText(*target) + " ALARM IS SET";
    ASSERT_TRUE(WaitUntil([&] { return TextOf(c_.statusBar, 500).value_or("") == on; }, 40000)) << StatusText(c_);
    EXPECT_EQ(Setting("Armed"), "Yes");
    EXPECT_EQ(Setting("Armed Time:"), AlarmText(*target));

    app_.Kill();
    ASSERT_NO_FATAL_FAILURE(StartAgain());
    ASSERT_TRUE(WaitUntil([&] { return TextOf(c_.statusBar, 500).value_or("") == on; }, 40000)) << StatusText(c_);
    EXPECT_FALSE(WaitMsgBox(app_.Id(), 500)) << "the start arms it again without asking";
    EXPECT_EQ(Text(c_.cmdSet), "Turn &Off");
    Screenshot("armed-again-after-kill");
    std::printf("checked: killed while armed, the next start shows \"%s\"\n", on.c_str());

    const long long msToGo = MsBetween(Now(), *target);
    ASSERT_GT(msToGo, 0) << "the start took past the alarm minute";
    const auto playsBefore = plays();
    ASSERT_TRUE(WaitUntil([&] { return TextOf(c_.statusBar, 500).value_or("") == kBanner; },
                          static_cast<int>(msToGo) + 20000, 250))
        << "no banner; status line: " << StatusText(c_);
    EXPECT_TRUE(WaitUntil([&] { return plays() > playsBefore; }, 5000)) << "Play\n" << Joined(PlayerLog());
    EXPECT_EQ(Setting("Rung Time:"), AlarmText(*target));
    std::printf("checked: it rang %.1f s after its minute began\n",
                static_cast<double>(MsBetween(*target, Now())) / 1000.0);

    // Killed while it rings, and started again within its minute: silent, and not missed.
    app_.Kill();
    const auto playsAtKill = plays();
    ASSERT_NO_FATAL_FAILURE(StartAgain());
    ASSERT_LT(MsBetween(*target, Now()), 60000) << "the start should come within the alarm's minute";
    Pause(4000);
    EXPECT_NE(StatusText(c_), kBanner);
    EXPECT_EQ(StatusText(c_).rfind("Alarm MISSED!", 0), std::string::npos) << StatusText(c_);
    EXPECT_EQ(plays(), playsAtKill) << "no Play after the start\n" << Joined(PlayerLog());
    EXPECT_EQ(Text(c_.cmdSet), "&Activate");
    EXPECT_EQ(Setting("Armed"), "No");
    Screenshot("started-after-it-rang");
    std::printf("checked: started again after it rang: silent, \"%s\"\n", StatusText(c_).c_str());
}

// Every Day chosen by the keys, armed for the next minute: it rings, Ring Again pauses the player and
// says when it rings again, a start after a crash brings the snooze back, and the stop moves it on to
// tomorrow.
TEST_F(Alarm, EveryDayMovesOnAfterTheStopAndRingAgainPausesThePlayer) {
    const std::optional<SYSTEMTIME> target = MinuteAhead(50);
    if (!target || !MinuteAhead(50 + 11 * 60)) GTEST_SKIP() << "too close to midnight for a same-day alarm";
    ASSERT_NO_FATAL_FAILURE(StartWith(true));
    const std::string repeats = "  Repeats: Every Day.";
    auto on = [&](const SYSTEMTIME& day) {
        return "Alarm Settings: ON  Date: " + ShortDate(day) + " Time: " + AlarmText(*target) + " ALARM IS SET" +
               repeats;
    };
    auto statusIs = [&](const std::string& text) {
        return [&, text] { return TextOf(c_.statusBar, 500).value_or("") == text; };
    };

    // Alt+E, R, D: Every Day, saved at once.
    ASSERT_TRUE(OpenSettingsMenu(c_.main));
    RealKey('R');
    Pause(300);
    RealKey('D');
    ASSERT_TRUE(WaitUntil([&] { return Setting("Repeat") == "Every Day"; }, 5000)) << Setting("Repeat");

    ASSERT_NO_FATAL_FAILURE(Choose(*target));
    PostClick(c_.cmdSet);
    Answer("Start Chimewell With Windows?", IDNO);
    ASSERT_TRUE(WaitUntil(statusIs(on(*target)), 40000)) << StatusText(c_);
    const long long msToGo = MsBetween(Now(), *target);
    ASSERT_GT(msToGo, 0) << "the arming took past the alarm minute";
    ASSERT_TRUE(WaitUntil(statusIs(kBanner), static_cast<int>(msToGo) + 20000, 250)) << StatusText(c_);

    // Alt+E, 1: Ring Again In 10 Minutes.
    ASSERT_TRUE(OpenSettingsMenu(c_.main));
    RealKey('1');
    const std::string snoozing = "Snoozing: Ringing Again At " + AlarmText(AddSeconds(*target, 600)) + ".";
    ASSERT_TRUE(WaitUntil(statusIs(snoozing), 10000)) << StatusText(c_);
    EXPECT_TRUE(WaitUntil([] { return FindLine(PlayerLog(), "WM_COMMAND 40046 0") >= 0; }, 5000))
        << "no Pause\n" << Joined(PlayerLog());
    EXPECT_NE(FindPlayerWindow(), nullptr) << "paused, not closed";
    EXPECT_EQ(Text(c_.cmdSet), "Turn &Off");
    Screenshot("ring-again-snoozing");
    std::printf("checked: Ring Again paused the player: \"%s\"\n", snoozing.c_str());

    // Killed while it waits: the next start brings the snooze back, and the rule with it.
    app_.Kill();
    ASSERT_NO_FATAL_FAILURE(StartAgain());
    ASSERT_TRUE(WaitUntil(statusIs(snoozing), 40000)) << StatusText(c_);

    // The stop ends this day's ringing: armed for tomorrow, the player taken over again.
    const SYSTEMTIME tomorrow = AddSeconds(*target, 24 * 3600);
    PostClick(c_.cmdSet);
    ASSERT_TRUE(WaitUntil(statusIs(on(tomorrow)), 40000)) << StatusText(c_);
    EXPECT_EQ(Setting("Armed"), "Yes");
    EXPECT_EQ(Setting("Armed Date:"), ShortDate(tomorrow));
    EXPECT_EQ(Setting("Repeat"), "Every Day");
    EXPECT_EQ(Text(c_.cmdSet), "Turn &Off");
    EXPECT_NE(FindPlayerWindow(), nullptr);
    Screenshot("repeat-moved-on");
    std::printf("checked: moved on: \"%s\"\n", StatusText(c_).c_str());

    // The rule's tick in Settings > Repeat.
    ASSERT_TRUE(OpenSettingsMenu(c_.main));
    RealKey('R');
    Pause(500);
    Screenshot("repeat-menu-after-restart");
    for (int i = 0; i < 3; ++i) RealKey(VK_ESCAPE);
}
