// Whole journeys a user takes through the installed program: the player missing when arming, the
// tray's pop-up menu, the menus walked by their access keys, refused registry writes, and one alarm
// chosen and armed by keyboard alone.
#include <algorithm>
#include <cctype>
#include <cstdio>

#include "AroundRig.h"

#include <oleacc.h>

using namespace e2e;

namespace {

class Keyboard : public AroundRig {};
class RegistryRefused : public AroundRig {};

constexpr const char* kErrorTitle = "ERROR!";
constexpr const char* kRegistryError = "There was an error writing to the registry!\r\nPlease restart your computer!";
constexpr const char* kSaveTitle = "Save Settings?";
constexpr const char* kCloseWinampTitle = "Close WinAmp?";

std::string ArmedSummary() {
    return "Alarm Settings: ON  Date: " + ShortDate(Today()) + " Time: " + kAlarmTime + " ALARM IS SET";
}

std::string HaltedSummary() {
    return "Alarm Settings: OFF  Date: " + ShortDate(Today()) + " Time: " + kAlarmTime + " ALARM IS SET";
}

SYSTEMTIME DaysFromToday(int days) {
    SYSTEMTIME t = Today();
    FILETIME f;
    SystemTimeToFileTime(&t, &f);
    ULARGE_INTEGER n{{f.dwLowDateTime, f.dwHighDateTime}};
    n.QuadPart += static_cast<ULONGLONG>(days) * 24 * 3600 * 10000000ULL;
    f = FILETIME{n.LowPart, n.HighPart};
    FileTimeToSystemTime(&f, &t);
    return t;
}

POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

class Journey : public AroundRig {
protected:
    // Opens the tray icon's menu with a real right click and chooses an item by its access key.
    bool ChooseFromTray(char accessKey) {
        std::optional<TrayIconInfo> icon;
        if (!WaitUntil([&] { return (icon = TrayIconWithTip(kTrayTip)).has_value(); }, 10000)) {
            ADD_FAILURE() << "no tray icon";
            return false;
        }
        const POINT at = Centre(icon->rect);
        if (!Confirmed("the right click on the tray icon", [&] { RealRightClick(icon->tray, at.x, at.y); },
                       [&] { return FindPopupMenu(app_.Id()) != nullptr; }, 5000, 1)) {
            ADD_FAILURE() << "the right click opened no menu";
            return false;
        }
        Pause(300);
        RealKey(static_cast<WORD>(std::toupper(static_cast<unsigned char>(accessKey))));  // a virtual key
        if (WaitUntil([&] { return FindPopupMenu(app_.Id()) == nullptr; }, 5000)) return true;
        Screenshot(std::string("tray-menu-stuck-") + accessKey);
        ADD_FAILURE() << "the key '" << accessKey << "' did not choose an item; foreground \""
                      << TitleOf(GetForegroundWindow()) << "\"";
        return false;
    }

    // The viewer takes the front once it has opened: a menu opened before that would lose it.
    static void AwaitViewerInFront() {
        WaitUntil([] { return ClassOf(GetForegroundWindow()) == "WORDPADTOP"; }, 5000);
    }
};

}  // namespace

TEST_F(Journey, ArmingWithoutThePlayerShowsTheFiveBoxesThenCloses) {
    if (TooLateForTheAlarm()) GTEST_SKIP() << "too close to midnight for a same-day alarm";
    ASSERT_NO_FATAL_FAILURE(Start(false));  // the player's folder, no player in it
    ASSERT_NO_FATAL_FAILURE(ChooseAlarmForToday());

    PostClick(c_.cmdSet);
    Answer("Start Chimewell With Windows?", IDNO);
    const char* titles[] = {"WinAmp Is Not Installed!", "Chimewell\u2122", "Making WinAmp The Default Media Player",
                            "Make Necessary Changes", "ERROR!"};
    for (const char* title : titles) {
        auto box = WaitMsgBox(app_.Id(), 15000);
        ASSERT_TRUE(box) << "no box where \"" << title << "\" was due";
        EXPECT_EQ(box->title, title);
        PressButton(box->hwnd, IDOK);
        ASSERT_TRUE(WaitGone(box->hwnd, 5000));
        std::printf("checked: arming without the player shows \"%s\"\n", title);
    }
    Answer(kCloseTitle, IDYES);
    Answer(kSaveTitle, IDNO);
    EXPECT_TRUE(app_.WaitExit(15000)) << "the program should end after the close sequence";
    EXPECT_EQ(Setting("SettingsSaved"), "No");
    EXPECT_TRUE(WindowsOfClass(kPlayerClass).empty());
    std::printf("checked: then \"%s\", the save declined (SettingsSaved=No), and the program ended\n", kCloseTitle);
}

// Runs inside a Wine desktop: the icon's menu is opened by a real right click and its items are
// chosen by their access keys.
TEST_F(Journey, TrayMenuItemsDoWhatTheirNamesSay) {
    ASSERT_NO_FATAL_FAILURE(Start(true));
    ASSERT_TRUE(FindWindowW(L"Shell_TrayWnd", nullptr)) << "no taskbar: this scenario needs the Wine desktop";
    Shortcut(VK_F4);
    ASSERT_TRUE(WaitUntil([&] { return !Visible(c_.main); }, 10000)) << "F4 should hide the window";


    // Start WinAmp: no player runs, so one is started, in sight.
    ASSERT_TRUE(ChooseFromTray('W'));
    HWND player = nullptr;
    ASSERT_TRUE(WaitUntil([&] { player = FindPlayerWindow(); return Visible(player); }, 15000))
        << "Start WinAmp should start the player";
    std::printf("checked: tray \"Start WinAmp\" starts the player in sight\n");

    // With one running (hidden here), it only shows that one.
    ShowWindow(player, SW_HIDE);
    ASSERT_TRUE(WaitUntil([&] { return !Visible(player); }, 5000));
    ASSERT_TRUE(ChooseFromTray('W'));
    EXPECT_TRUE(WaitUntil([&] { return Visible(player); }, 10000)) << "the running player should be shown";
    Pause(2000);
    int players = 0;
    for (HWND h : TopLevelWindows(0))
        if (ClassOf(h) == kPlayerClass) ++players;
    EXPECT_EQ(players, 1) << "no second player may start";
    std::printf("checked: with a player running, \"Start WinAmp\" shows it and starts no other\n");

    // Close WinAmp asks, Yes closes it.
    ASSERT_TRUE(ChooseFromTray('e'));
    EXPECT_EQ(Answer(kCloseWinampTitle, IDYES),
              "Are You Sure You Want To Close WinAmp?\r\nThis Will Close ALL OPEN INSTANCES OF WINAMP!");
    EXPECT_TRUE(WaitUntil([&] { return FindPlayerWindow() == nullptr; }, 15000)) << "Yes should close the player";
    std::printf("checked: tray \"Close WinAmp\" asks \"%s\" and Yes closes the player\n", kCloseWinampTitle);

    // Set Alarm is the arm button: without an alarm, its refusal.
    ASSERT_TRUE(ChooseFromTray('t'));
    EXPECT_EQ(Answer("Alarm Not Set!", IDOK), "You Must Set The Alarm Before You Can Activate It!");
    EXPECT_TRUE(WindowsOfClass(kPlayerClass).empty()) << "nothing was armed";
    std::printf("checked: tray \"Set Alarm\" without an alarm gives the arm button's refusal\n");

    // Help is the Help menu's Contents: the installed document opens in the viewer.
    ASSERT_TRUE(ChooseFromTray('H'));
    EXPECT_TRUE(WaitUntil([&] { return StatusText(c_) == "Help Document Was Started.  Ready."; }, 10000))
        << StatusText(c_);
    EXPECT_TRUE(WaitUntil([&] { return !WindowsOfClass("WORDPADTOP").empty(); }, 30000)) << "WordPad should start";
    std::printf("checked: tray \"Help\" opens the help document, as F1 does\n");
    AwaitViewerInFront();

    // Exit is the close request.
    ASSERT_TRUE(ChooseFromTray('x'));
    Answer(kCloseTitle, IDYES);
    EXPECT_TRUE(app_.WaitExit(15000)) << "Yes should end the program";
    std::printf("checked: tray \"Exit\" asks \"%s\" and Yes ends the program\n", kCloseTitle);
}

// The tray's "Snoo&ze" while the alarm rings (a chosen alarm rings without arming): it leaves the
// ringing state, asks whether to close the player, and No leaves the player playing.
TEST_F(Journey, TraySnoozeWhileRingingAsksAndNoLeavesThePlayerPlaying) {
    const SYSTEMTIME now = Today();
    // The first whole minute at least 20 s ahead: time enough to choose the day and the time.
    const int minuteOfDay = (now.wHour * 3600 + now.wMinute * 60 + now.wSecond + 20) / 60 + 1;
    // Then armed for the minute after it.
    if (minuteOfDay + 1 >= 24 * 60) GTEST_SKIP() << "too close to midnight for a same-day alarm";
    struct Minute {
        int hour;
        char typed[8], text[16];
    };
    auto minuteAt = [](int ofDay) {
        Minute m{ofDay / 60, {}, {}};
        const int hour12 = m.hour % 12 == 0 ? 12 : m.hour % 12;
        std::snprintf(m.typed, sizeof m.typed, "%02d:%02d", hour12, ofDay % 60);
        std::snprintf(m.text, sizeof m.text, "%d:%02d %s", hour12, ofDay % 60, m.hour < 12 ? "AM" : "PM");
        return m;
    };
    const Minute first = minuteAt(minuteOfDay), second = minuteAt(minuteOfDay + 1);
    const int hour = first.hour;
    const char* typed = first.typed;
    const char* alarmTime = first.text;

    ASSERT_NO_FATAL_FAILURE(Start(true));
    ASSERT_TRUE(FindWindowW(L"Shell_TrayWnd", nullptr)) << "no taskbar: this scenario needs the Wine desktop";
    PostMenuCommand(c_.main, IDM_STARTWINAMP);
    HWND player = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (player = FindPlayerWindow()) != nullptr; }, 15000)) << "no player started";
    ASSERT_TRUE(BringToFront(c_.main));

    // The time first: a validated time leaves the watch stopped, and the day's click starts it again.
    ASSERT_TRUE(TypeTimeAndLeave(c_, typed));
    Answer("AM/PM Query:", hour < 12 ? IDYES : IDNO);
    ASSERT_TRUE(BringToFront(c_.main));
    ASSERT_NO_FATAL_FAILURE(PickToday());

    const std::string banner =
        "!!!!! ALARM !!!!!! !!!!! ALARM !!!!!! !!!!! ALARM !!!!!! !!!!! ALARM !!!!!! !!!!! ALARM !!!!!! "
        "!!!!! ALARM !!!!!!";
    ASSERT_TRUE(WaitUntil([&] { return TextOf(c_.statusBar, 500).value_or("") == banner; }, 100000, 250))
        << "no banner; status line: " << StatusText(c_);
    EXPECT_EQ(Text(c_.cmdSet), "Snoo&ze");
    std::printf("checked: a chosen alarm rings at %s without arming\n", alarmTime);

    Shortcut(VK_F4);
    ASSERT_TRUE(WaitUntil([&] { return !Visible(c_.main); }, 10000)) << "F4 should hide the window";
    ASSERT_TRUE(ChooseFromTray('z'));
    EXPECT_EQ(Answer(kCloseWinampTitle, IDNO),
              "Are You Sure You Want To Close WinAmp?\r\nThis Will Close ALL OPEN INSTANCES OF WINAMP!");
    Pause(1000);
    EXPECT_TRUE(IsWindow(player)) << "No must leave the player running";
    EXPECT_EQ(ReadFileText(PlayerLogPath()).find("WM_COMMAND 40001"), std::string::npos) << "no close was sent";
    const std::string halted =
        "Alarm Settings: OFF  Date: " + ShortDate(now) + " Time: " + alarmTime + " ALARM IS SET";
    EXPECT_EQ(StatusText(c_), halted);
    EXPECT_EQ(Text(c_.cmdSet), "Snoo&ze") << "the tray's snooze leaves the button as it was";
    std::printf("checked: the tray's Snooze leaves the ringing (\"%s\"), asks \"%s\", and No leaves the player\n",
                halted.c_str(), kCloseWinampTitle);
    Screenshot("tray-snoozed");

    // Back to the window: the button stops what rang, then a new time is armed and rings too.
    ASSERT_TRUE(ChooseFromTray('s'));
    ASSERT_TRUE(WaitUntil([&] { return Visible(c_.main); }, 10000)) << "Show should bring the window back";
    ASSERT_TRUE(BringToFront(c_.main));
    PostClick(c_.cmdSet);
    ASSERT_TRUE(WaitUntil([&] { return Text(c_.cmdSet) == "Turn &On" && FindPlayerWindow() == nullptr; }, 15000))
        << "the button's snooze should stop and close the player; caption " << Text(c_.cmdSet);
    const size_t before = ReadFileText(PlayerLogPath()).size();
    ASSERT_TRUE(BringToFront(c_.main));
    ASSERT_TRUE(TypeTimeAndLeave(c_, second.typed));
    Answer("AM/PM Query:", second.hour < 12 ? IDYES : IDNO);
    ASSERT_TRUE(WaitUntil([&] { return Text(c_.txtTime) == second.text; }, 5000)) << Text(c_.txtTime);
    PostClick(c_.cmdSet);
    Answer("Start Chimewell With Windows?", IDNO);
    const std::string armed = "Alarm Settings: ON  Date: " + ShortDate(now) + " Time: " + second.text + " ALARM IS SET";
    EXPECT_TRUE(WaitUntil([&] { return TextOf(c_.statusBar, 500).value_or("") == armed; }, 40000)) << StatusText(c_);
    ASSERT_TRUE(WaitUntil([&] { return TextOf(c_.statusBar, 500).value_or("") == banner; }, 90000, 250))
        << "the alarm armed after the tray's snooze did not ring; status line: " << StatusText(c_);
    EXPECT_NE(ReadFileText(PlayerLogPath()).find("WM_COMMAND 40045 0", before), std::string::npos)
        << "the second ring should press Play";
    std::printf("checked: armed again for %s after the tray's snooze, it rings again\n", second.text);
    Screenshot("rang-again");
}

// The menu bar walked by its access keys (the shortcuts have scenarios of their own).
TEST_F(Journey, MenuItemsByTheirAccessKeys) {
    ASSERT_NO_FATAL_FAILURE(Start(false));
    // The viewer and the updater start asynchronously and may take the foreground just after the main
    // window got it: the item's key is sent only once its menu shows.
    auto item = [&](char menu, char accessKey) {
        bool again = false;
        const bool open = Confirmed("the menu key", [&] {
            if (again) RealKey(VK_ESCAPE);
            again = true;
            EXPECT_TRUE(BringToFront(c_.main));
            RealChord(static_cast<WORD>(menu), {VK_MENU});
        }, [&] { return FindPopupMenu(app_.Id()) != nullptr; }, 2000, 3);
        ASSERT_TRUE(open) << "Alt+" << menu << " opened no menu";
        RealKey(static_cast<WORD>(accessKey));
    };

    item('E', 'S');
    EXPECT_TRUE(WaitUntil([&] { return Setting("StartInTray") == "Yes"; }, 5000)) << Setting("StartInTray");
    EXPECT_EQ(ReadValue(kRunKey, "Chimewell").value_or("<missing>"), kProgramCommand);
    std::printf("checked: Settings > Start In System Tray wrote StartInTray=Yes and the Run entry\n");

    item('E', 'W');
    EXPECT_TRUE(WaitUntil([&] { return Setting("WinAmpOnStart") == "Yes"; }, 5000)) << Setting("WinAmpOnStart");
    std::printf("checked: Settings > Load Winamp On Start wrote WinAmpOnStart=Yes\n");

    EXPECT_EQ(Setting("KeepAwake"), "<missing>");
    item('E', 'A');
    EXPECT_TRUE(WaitUntil([&] { return Setting("KeepAwake") == "Yes"; }, 5000)) << Setting("KeepAwake");
    std::printf("checked: Settings > Keep PC Awake While Armed wrote KeepAwake=Yes\n");

    item('H', 'A');
    auto about = WaitMsgBox(app_.Id(), 10000);
    if (!about) Screenshot("about-missing");
    ASSERT_TRUE(about) << "Help > About should open the About box; foreground \"" << TitleOf(GetForegroundWindow())
                       << "\"";
    EXPECT_EQ(about->title, "About Chimewell(tm)");
    PressButton(about->hwnd, IDOK);
    Answer("For Your Information!", IDOK);
    std::printf("checked: Help > About shows the About box, then the support address\n");

    item('H', 'U');
    HWND updater = nullptr;
    EXPECT_TRUE(WaitUntil([&] {
        for (HWND h : TopLevelWindows(0)) {
            DWORD pid = 0;
            GetWindowThreadProcessId(h, &pid);
            if (pid != app_.Id() && pid != GetCurrentProcessId() && Visible(h) && TitleOf(h) == "Chimewell Update")
                updater = h;
        }
        return updater != nullptr;
    }, 30000)) << "the installed updater should start";
    std::printf("checked: Help > Check For An Update starts the installed updater\n");
    // Out of the way, or it takes the keyboard from the next item.
    if (updater) {
        PostMessageW(updater, WM_CLOSE, 0, 0);
        EXPECT_TRUE(WaitGone(updater, 5000));
    }


    item('H', 'C');
    EXPECT_TRUE(WaitUntil([&] { return StatusText(c_) == "Help Document Was Started.  Ready."; }, 10000))
        << StatusText(c_);
    EXPECT_TRUE(WaitUntil([&] { return !WindowsOfClass("WORDPADTOP").empty(); }, 30000)) << "WordPad should start";
    std::printf("checked: Help > Contents opens the installed help document\n");
    AwaitViewerInFront();

    item('E', 'M');
    EXPECT_TRUE(WaitUntil([&] { return !Visible(c_.main); }, 10000)) << "Minimize To System Tray hides the window";
    std::printf("checked: Settings > Minimize To System Tray hides the window\n");

    // Back on screen for the last item: the Exit question.
    ShowWindow(c_.main, SW_SHOWNORMAL);
    ASSERT_TRUE(WaitUntil([&] { return Visible(c_.main); }, 5000));
    item('E', 'X');
    Answer(kCloseTitle, IDNO);
    EXPECT_TRUE(WaitUntil([&] { return StatusText(c_) == "Ready."; }, 5000)) << StatusText(c_);
    EXPECT_TRUE(app_.Running());
    std::printf("checked: Settings > Exit asks \"%s\", No keeps the program\n", kCloseTitle);
}

// Every write path with the settings key unwritable: the error box, the close question, and no
// value half-saved once the key can be read again.
TEST_F(RegistryRefused, EachWritePathReportsAndNothingIsHalfSaved) {
    if (TooLateForTheAlarm()) GTEST_SKIP() << "too close to midnight for a same-day alarm";
    ASSERT_NO_FATAL_FAILURE(Start(false));
    ASSERT_NO_FATAL_FAILURE(ChooseAlarmForToday());
    KeyLock lock;
    ASSERT_TRUE(lock.Lock(kSettingsKey)) << "could not make the settings key unwritable";
    ASSERT_FALSE(WriteValue(kSettingsKey, "Probe", "x")) << "the key should refuse writes now";

    // A kept program goes on with the toggle's remaining steps: F2 still writes the Run entry (another
    // key) and still shows its status text.
    struct Toggle {
        WORD key;
        const char* name;
        const char* status;
    };
    const Toggle toggles[] = {
        {VK_F2, "F2 (Start In System Tray)", "CHWL Will Minimize To The System Tray Upon Start.  Ready."},
        {VK_F3, "F3 (Load Winamp On Start)", "Ready."},
    };
    for (const Toggle& t : toggles) {
        Shortcut(t.key);
        EXPECT_EQ(Answer(kErrorTitle, IDOK), kRegistryError) << t.name;
        Answer(kCloseTitle, IDNO);
        EXPECT_TRUE(WaitUntil([&] { return StatusText(c_) == t.status; }, 5000)) << t.name << ": " << StatusText(c_);
        EXPECT_FALSE(WaitMsgBox(app_.Id(), 1000)) << t.name << ": no further box";
        EXPECT_TRUE(app_.Running());
        std::printf("checked: %s refused: the registry error, then \"%s\", No keeps the program (\"%s\")\n", t.name,
                    kCloseTitle, t.status);
    }
    EXPECT_EQ(ReadValue(kRunKey, "Chimewell").value_or("<missing>"), kProgramCommand);

    PostMenuCommand(c_.main, IDM_EXITAPP);
    Answer(kCloseTitle, IDYES);
    Answer(kSaveTitle, IDYES);
    EXPECT_EQ(Answer(kErrorTitle, IDOK), kRegistryError) << "the refused save";
    EXPECT_TRUE(app_.WaitExit(15000)) << "the program should end after the refused save";
    std::printf("checked: the save at exit refused: the registry error, then the program ended\n");

    ASSERT_TRUE(lock.Release());
    std::map<std::string, std::string> expected{{"StartInTray", "No"}, {"WinAmpOnStart", "No"}};
    EXPECT_EQ(ReadAllValues(kSettingsKey), expected) << "the settings key must be as before the refusals";
    std::printf("checked: readable again, the settings key holds only the first start's two values\n");
}

TEST_F(RegistryRefused, FirstStartWithoutAKeyReportsOnceAndEnds) {
    InstallProgram();
    MakeWinampFolderOnly();
    // The settings key already there but unwritable, without the two values: a first start. (A
    // refusal on the parent key is no test here: Wine creates a subkey without asking the parent.)
    KeyLock lock;
    ASSERT_TRUE(lock.Lock(kSettingsKey)) << "could not make the settings key unwritable";
    ASSERT_TRUE(StartProgram(app_));
    auto box = WaitMsgBox(app_.Id(), 30000);
    ASSERT_TRUE(box) << "no error box";
    EXPECT_EQ(box->title, kErrorTitle);
    EXPECT_EQ(box->text, kRegistryError);
    PressButton(box->hwnd, IDOK);
    EXPECT_TRUE(app_.WaitExit(15000)) << "the program should end after the box";
    auto more = WaitMsgBox(app_.Id(), 500);
    EXPECT_FALSE(more) << "a second box \"" << (more ? more->title : "") << "\"";
    ASSERT_TRUE(lock.Release());
    EXPECT_TRUE(ReadAllValues(kSettingsKey).empty()) << "nothing may be written";
    std::printf("checked: a settings key that cannot be created gives one registry error and the end\n");
}

// One alarm chosen and armed without the mouse, its effect read from the window after each key.
TEST_F(Keyboard, ChooseArmAndStopByKeysAlone) {
    if (TooLateForTheAlarm()) GTEST_SKIP() << "too close to midnight for a same-day alarm";
    ASSERT_NO_FATAL_FAILURE(Start(true));
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(c_.main) == c_.cmdSet; }, 3000)) << "the arm button starts focused";

    // What a screen reader finds first: each control named, the buttons as push buttons, the status line.
    auto plain = [](std::string caption) {
        caption.erase(std::remove(caption.begin(), caption.end(), '&'), caption.end());
        return caption;
    };
    const struct {
        HWND control;
        std::string name;
        long role;  // 0: whatever the system's standard object says
    } readable[] = {
        {c_.monthView, "Alarm date", 0},
        {c_.txtTime, "Alarm time", ROLE_SYSTEM_TEXT},
        {c_.cmdSet, plain(Text(c_.cmdSet)), ROLE_SYSTEM_PUSHBUTTON},
        {c_.cmdReset, "Clear", ROLE_SYSTEM_PUSHBUTTON},
        {c_.statusBar, StatusText(c_), ROLE_SYSTEM_STATUSBAR},
    };
    for (const auto& r : readable) {
        const std::optional<AccessibleInfo> seen = AccessibleOf(r.control);
        ASSERT_TRUE(seen) << "no accessible object for control " << GetDlgCtrlID(r.control);
        EXPECT_EQ(seen->name, r.name);
        if (r.role) {
            EXPECT_EQ(seen->role, r.role) << r.name;
        }
        std::printf("checked: a screen reader finds \"%s\" (role %ld)\n", seen->name.c_str(), seen->role);
    }

    // The Tab order follows the layout: the calendar, the time box, the arm button, Clear (enabled once a
    // day is chosen), and round again.
    auto tabTo = [&](HWND next, bool back) {
        if (back)
            RealChord(VK_TAB, {VK_SHIFT});
        else
            RealKey(VK_TAB);
        return WaitUntil([&] { return FocusOf(c_.main) == next; }, 3000);
    };
    LiveRegionListener reader(app_.Id());
    for (HWND previous : {c_.txtTime, c_.monthView})
        ASSERT_TRUE(tabTo(previous, true)) << "Shift+Tab should reach control " << GetDlgCtrlID(previous)
                                           << ", not " << GetDlgCtrlID(FocusOf(c_.main));
    // Right moves to tomorrow and Enter picks it; Left comes back, and Enter picks today.
    const std::string tomorrow = ShortDate(DaysFromToday(1));
    RealKey(VK_RIGHT);
    RealKey(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return Text(c_.lblDate) == tomorrow; }, 5000)) << Text(c_.lblDate);
    RealKey(VK_LEFT);
    RealKey(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return Text(c_.lblDate) == ShortDate(Today()); }, 5000)) << Text(c_.lblDate);
    std::printf("checked: Shift+Tab twice reaches the calendar, Right and Enter pick %s, Left and Enter today (%s)\n",
                tomorrow.c_str(), Text(c_.lblDate).c_str());


    ASSERT_TRUE(tabTo(c_.txtTime, false))
        << "Tab: the time box; the focus is on control " << GetDlgCtrlID(FocusOf(c_.main)) << " \""
        << TitleOf(FocusOf(c_.main)) << "\" of class " << ClassOf(FocusOf(c_.main));
    RealKey(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return !(Style(c_.txtTime) & ES_READONLY); }, 5000)) << "Enter starts typing";
    RealType(kTypedTime);
    EXPECT_EQ(Text(c_.txtTime), kTypedTime);
    std::printf("checked: Tab goes on to the time box; Enter opens it, \"%s\" typed\n", kTypedTime);

    RealKey(VK_RETURN);
    auto ampm = WaitMsgBoxTitled(app_.Id(), "AM/PM Query:", 10000);
    ASSERT_TRUE(ampm) << "Enter should validate and ask AM or PM";
    RealKey('N');
    ASSERT_TRUE(WaitGone(ampm->hwnd, 5000)) << "N should answer the question";
    EXPECT_TRUE(WaitUntil([&] { return StatusText(c_) == ChosenSummary(); }, 5000)) << StatusText(c_);
    EXPECT_EQ(AccessibleOf(c_.statusBar).value_or(AccessibleInfo{}).name, ChosenSummary()) << "the status line reads out";
    EXPECT_TRUE(WaitUntil([&] { return reader.Heard(c_.statusBar) > 0; }, 3000))
        << "the status line's new text should be announced";
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(c_.main) == c_.cmdSet; }, 3000)) << "Enter goes on to the arm button";
    std::printf("checked: Enter asks AM/PM, N answers PM: \"%s\", the arm button focused\n", ChosenSummary().c_str());
    ASSERT_TRUE(tabTo(c_.cmdReset, false)) << "Tab: Clear, beside the arm button";
    ASSERT_TRUE(tabTo(c_.cmdSet, true)) << "Shift+Tab: back to the arm button";
    std::printf("checked: Tab reaches Clear after the arm button, Shift+Tab goes back\n");

    RealKey(VK_RETURN);
    auto withWindows = WaitMsgBoxTitled(app_.Id(), "Start Chimewell With Windows?", 10000);
    ASSERT_TRUE(withWindows) << "Enter on the arm button should arm";
    RealKey('N');
    ASSERT_TRUE(WaitGone(withWindows->hwnd, 5000)) << "N should answer the question";
    HWND player = nullptr;
    ASSERT_TRUE(WaitUntil([&] { player = FindPlayerWindow(); return player != nullptr; }, 10000));
    ASSERT_TRUE(WaitUntil([&] { return !Visible(player) && TextOf(c_.statusBar, 500).value_or("") == ArmedSummary(); },
                          40000))
        << StatusText(c_);
    EXPECT_EQ(Text(c_.cmdSet), "Turn &Off");
    EXPECT_EQ(ReadValue(kRunKey, "Chimewell"), std::nullopt) << "N writes no Run entry";
    std::printf("checked: Enter arms, N declines starting with Windows, the countdown ends armed, player hidden\n");

    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == c_.main; }, 5000))
        << "the main window should have the keyboard back after arming";
    RealChord('O', {VK_MENU});
    EXPECT_TRUE(WaitUntil([&] { return TextOf(c_.statusBar, 500).value_or("") == HaltedSummary(); }, 15000))
        << StatusText(c_);
    EXPECT_TRUE(WaitUntil([&] { return FindPlayerWindow() == nullptr; }, 15000)) << "the stop closes the player";
    EXPECT_EQ(Text(c_.cmdSet), "Turn &On");
    std::printf("checked: Alt+O stops the armed alarm: \"%s\", the player closed\n", HaltedSummary().c_str());

    // And out by keys: Settings > Exit, Yes to closing, No to saving.
    RealChord('E', {VK_MENU});
    ASSERT_TRUE(WaitUntil([&] { return FindPopupMenu(app_.Id()) != nullptr; }, 3000)) << "Alt+E opens Settings";
    RealKey('X');
    auto close = WaitMsgBoxTitled(app_.Id(), kCloseTitle, 10000);
    ASSERT_TRUE(close) << "E, X should ask before closing";
    RealKey('Y');
    auto save = WaitMsgBoxTitled(app_.Id(), kSaveTitle, 10000);
    ASSERT_TRUE(save) << "Y should go on to the save question";
    RealKey('N');
    EXPECT_TRUE(app_.WaitExit(15000)) << "the program should end";
    EXPECT_EQ(Setting("SettingsSaved"), "No");
    std::printf("checked: Alt+E, X, Y, N: the program ended without saving\n");
}
