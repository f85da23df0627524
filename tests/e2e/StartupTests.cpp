// Start-up of the real program: the player check, the first-start defaults, the splash, the main
// window and its menus, and the single-instance rule.
#include <gtest/gtest.h>

#include "Driver.h"
#include "resource.h"

using namespace e2e;

namespace {

constexpr int kStartMs = 30000;  // splash (~3.4 s), the 1 s pause and Wine's own start, with room

// Starts the installed program and waits until its main window shows.
HWND StartAndWaitForMain(Process& app) {
    if (!StartProgram(app)) return nullptr;
    HWND main = nullptr;
    WaitUntil([&] { main = FindMainWindow(app.Id()); return main && Visible(main); }, kStartMs);
    return main && Visible(main) ? main : nullptr;
}

}  // namespace

TEST(Startup, NoWinampFolderShowsFiveBoxesAndWritesNothing) {
    InstallProgram();
    Process app;
    ASSERT_TRUE(StartProgram(app));

    const char* titles[] = {"WinAmp Is Not Installed!", "Chimewell\u2122", "Making WinAmp The Default Media Player",
                            "Make Necessary Changes", "ERROR!"};
    std::vector<MsgBox> seen;
    for (const char* expected : titles) {
        auto box = WaitMsgBox(app.Id(), 20000);
        ASSERT_TRUE(box) << "no box where \"" << expected << "\" was due";
        EXPECT_EQ(box->title, expected);
        // The splash must not show before the check has passed.
        EXPECT_FALSE(Visible(FindSplash(app.Id())));
        seen.push_back(*box);
        if (seen.size() == 1) Screenshot("first-box");
        PressButton(box->hwnd, IDOK);
        ASSERT_TRUE(WaitGone(box->hwnd, 5000));
    }
    EXPECT_EQ(seen[0].text.rfind("This program requires Nullsoft WinAmp!\r\nPlease download it from:\r\n", 0), 0u)
        << seen[0].text;
    EXPECT_EQ(seen[1].text,
              "If WinAmp is in fact installed on your machine,\r\nit must be the Default Media Player,\r\n"
              "In Order For Chimewell\u2122 To Detect It!");
    EXPECT_EQ(seen[3].text,
              "Please rename the folder, if necessary to reflect where the application is looking!\r\n\r\n"
              "The application looks in: 'C:\\Program Files\\Winamp' or 'C:\\Program Files (x86)\\Winamp' for the "
              "Winamp Application");
    EXPECT_EQ(seen[4].text, "WinAmp Detection Failure!");

    EXPECT_TRUE(app.WaitExit(10000)) << "the program should end after the fifth box";
    EXPECT_TRUE(ReadAllValues(kSettingsKey).empty()) << "nothing may be written when the player is missing";
}

TEST(Startup, FirstStartWritesDefaultsAndShowsTheWindows) {
    InstallProgram();
    MakeWinampFolderOnly();  // the folder alone passes the player check
    // A first start: the setup made the settings key, but nothing is in it yet.
    ASSERT_TRUE(ReadAllValues(kSettingsKey).empty());
    Process app;
    ASSERT_TRUE(StartProgram(app));

    // The splash: appears with the first progress tick, carries the version.
    HWND splash = nullptr;
    ASSERT_TRUE(WaitUntil([&] { splash = FindSplash(app.Id()); return Visible(splash); }, kStartMs, 50))
        << "the splash never showed";
    Pause(700);
    Screenshot("splash");
    bool sawVersion = false, sawNotice = false;
    for (HWND c : Children(splash)) {
        std::string t = TitleOf(c);
        if (t.rfind("Version ", 0) == 0 && t.size() > 8 && isdigit(static_cast<unsigned char>(t[8]))) sawVersion = true;
        if (t == "Please Wait While The Program Loads. . .") sawNotice = true;
    }
    EXPECT_TRUE(sawVersion) << "the splash should show \"Version \" with the version numbers";
    EXPECT_TRUE(sawNotice);

    HWND main = nullptr;
    ASSERT_TRUE(WaitUntil([&] { main = FindMainWindow(app.Id()); return Visible(main); }, kStartMs))
        << "the main window never showed";
    EXPECT_TRUE(WaitUntil([&] { return !Visible(FindSplash(app.Id())); }, 5000)) << "the splash should be gone";
    WaitUntil([&] { return FocusOf(main) == GetDlgItem(main, IDC_CMDSET); }, 3000);  // the start-up's last step
    Screenshot("main-window");
    ASSERT_TRUE(app.Running()) << "the program ended with code " << app.ExitCode();

    // Exactly the two defaults, as string values.
    bool allStrings = false;
    auto values = ReadAllValues(kSettingsKey, &allStrings);
    std::map<std::string, std::string> expected{{"StartInTray", "No"}, {"WinAmpOnStart", "No"}};
    EXPECT_EQ(values, expected);
    EXPECT_TRUE(allStrings);

    // The window as the user first sees it.
    EXPECT_EQ(TitleOf(main).rfind("Chimewell System For Windows ", 0), 0u) << TitleOf(main);
    MainControls c = FindControls(main);
    ASSERT_TRUE(c.monthView && c.txtTime && c.cmdSet && c.cmdReset && c.statusBar && c.lblDate);
    EXPECT_EQ(TextOf(c.label1).value_or("?"), "Date Selected:");
    EXPECT_EQ(TextOf(c.label2).value_or("?"), "Time: (Click To Edit) [Format: HH:MM]");
    EXPECT_EQ(TextOf(c.lblDate).value_or("?"), "");
    EXPECT_EQ(TextOf(c.cmdSet).value_or("?"), "&Activate");
    EXPECT_EQ(TextOf(c.cmdReset).value_or("?"), "&Clear");
    EXPECT_TRUE(Style(c.txtTime) & ES_READONLY) << "the time box is locked until clicked";
    EXPECT_TRUE(Enabled(c.cmdSet));
    EXPECT_TRUE(Enabled(c.monthView));
    EXPECT_EQ(StatusText(c), "") << "no saved alarm: the status line starts empty";
    EXPECT_EQ(FocusOf(main), c.cmdSet) << "the arm button gets the focus";
    // Left alone, the window stays quiet: no box pops up by itself.
    auto stray = WaitMsgBox(app.Id(), 3000);
    EXPECT_FALSE(stray) << "unexpected box \"" << (stray ? stray->title : "") << "\"";
    EXPECT_TRUE(app.Running());
}

TEST(Startup, LaterStartKeepsStoredValues) {
    InstallProgram();
    MakeWinampFolderOnly();
    // A key from an earlier run, with one flag gone: only the missing one gets its default.
    ASSERT_TRUE(WriteValue(kSettingsKey, "StartInTray", "Nope"));
    Process app;
    ASSERT_TRUE(StartAndWaitForMain(app)) << "the main window never showed";
    EXPECT_EQ(ReadValue(kSettingsKey, "StartInTray").value_or("<missing>"), "Nope");
    EXPECT_EQ(ReadValue(kSettingsKey, "WinAmpOnStart").value_or("<missing>"), "No");
}

TEST(Startup, SecondStartEndsAndBringsTheFirstForward) {
    InstallProgram();
    MakeWinampFolderOnly();
    Process first;
    HWND main = StartAndWaitForMain(first);
    ASSERT_TRUE(main) << "the main window never showed";
    Pause(500);
    ShowWindow(main, SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(main) != 0; }, 5000));

    Process second;
    ASSERT_TRUE(StartProgram(second));
    bool secondShowedSomething = false;
    bool ended = WaitUntil([&] {
        for (HWND h : TopLevelWindows(second.Id()))
            if (Visible(h)) secondShowedSomething = true;
        return !second.Running();
    }, 20000, 50);
    EXPECT_TRUE(ended) << "the second start should end by itself";
    EXPECT_FALSE(secondShowedSomething) << "the second start should show neither splash nor box";

    EXPECT_TRUE(first.Running());
    EXPECT_TRUE(WaitUntil([&] { return !IsIconic(main); }, 5000)) << "the first instance should be restored";
    EXPECT_TRUE(Visible(main));
    EXPECT_EQ(GetForegroundWindow(), main) << "the first instance should be in front";
    Screenshot("first-instance-in-front");
}

TEST(MainWindow, MenusAnswerTheirShortcuts) {
    InstallProgram();
    MakeWinampFolderOnly();
    Process app;
    HWND main = StartAndWaitForMain(app);
    ASSERT_TRUE(main) << "the main window never showed";
    Pause(500);
    ASSERT_TRUE(BringToFront(main));

    // Ctrl+A: About, then the support address.
    RealKey('A', true);
    auto about = WaitMsgBox(app.Id(), 10000);
    ASSERT_TRUE(about) << "Ctrl+A should open the About box";
    EXPECT_EQ(about->title, "About Chimewell(tm)");
    // Five lines joined by a carriage return alone, the first with the version of the file's resource.
    std::vector<std::string> lines;
    for (size_t from = 0;;) {
        size_t cr = about->text.find('\r', from);
        lines.push_back(about->text.substr(from, cr == std::string::npos ? cr : cr - from));
        if (cr == std::string::npos) break;
        from = cr + 1;
    }
    EXPECT_EQ(about->text.find('\n'), std::string::npos) << about->text;
    ASSERT_EQ(lines.size(), 5u) << about->text;
    auto version = ProgramVersion();
    ASSERT_TRUE(version);
    const std::string first = "Chimewell " + std::to_string(version->first) + "." + std::to_string(version->second);
    EXPECT_EQ(lines[0].rfind(first, 0), 0u) << lines[0];
    EXPECT_FALSE(isdigit(static_cast<unsigned char>(lines[0][first.size()]))) << lines[0];
    EXPECT_EQ(lines[2], "Major Intellectual Contributions By:");
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(lines[4].rfind("         ", 0), 0u) << lines[4];
    Screenshot("about-box");
    PressButton(about->hwnd, IDOK);
    auto info = WaitMsgBoxTitled(app.Id(), "For Your Information!", 10000);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->text.rfind("For More Information E-mail: ", 0), 0u) << info->text;
    PressButton(info->hwnd, IDOK);
    ASSERT_TRUE(WaitGone(info->hwnd, 5000));

    // Ctrl+X: Exit asks first; No keeps the program.
    ASSERT_TRUE(BringToFront(main));
    RealKey('X', true);
    auto ask = WaitMsgBox(app.Id(), 10000);
    ASSERT_TRUE(ask) << "Ctrl+X should ask before closing";
    EXPECT_EQ(ask->title, "Close Chimewell?");
    EXPECT_EQ(ask->text,
              "Are you sure you want to stop monitoring the time for your alarm?\r\nThis will close Chimewell System!");
    PressButton(ask->hwnd, IDNO);
    ASSERT_TRUE(WaitGone(ask->hwnd, 5000));
    Pause(500);
    EXPECT_TRUE(app.Running());
    EXPECT_TRUE(Visible(main));

    // Alt+E, R: the Repeat rules open from the Settings menu by the keyboard; Escape leaves them.
    ASSERT_TRUE(OpenSettingsMenu(main));
    RealKey('R');
    Pause(500);
    Screenshot("settings-repeat-menu");
    for (int i = 0; i < 3; ++i) RealKey(VK_ESCAPE);
    Pause(300);
    EXPECT_FALSE(WaitMsgBox(app.Id(), 500));

    // In the time box being edited the same keys edit the text: Ctrl+A selects it, Ctrl+X cuts it,
    // Ctrl+V puts it back; neither About nor the exit question comes.
    const MainControls c = FindControls(main);
    ASSERT_TRUE(BringToFront(main));
    RealClick(c.txtTime, 10, 6);
    ASSERT_TRUE(WaitUntil([&] { return !(Style(c.txtTime) & ES_READONLY) && FocusOf(main) == c.txtTime; }, 5000));
    DWORD_PTR r = 0;
    SendMessageTimeoutW(c.txtTime, EM_SETSEL, 0, -1, SMTO_ABORTIFHUNG, 2000, &r);  // the typing replaces the clock
    RealType("11:59");
    RealKey('A', true);
    RealKey('X', true);
    EXPECT_FALSE(WaitMsgBox(app.Id(), 1500)) << "Ctrl+A and Ctrl+X in the time box are the box's";
    EXPECT_EQ(TextOf(c.txtTime).value_or("<no answer>"), "") << "Ctrl+A then Ctrl+X should cut the typed text";
    RealKey('V', true);
    EXPECT_TRUE(WaitUntil([&] { return TextOf(c.txtTime).value_or("") == "11:59"; }, 3000)) << "Ctrl+V pastes it";
    Screenshot("time-box-edit-keys");
    std::printf("checked: Ctrl+A, Ctrl+X and Ctrl+V edit the time box; no About, no exit question\n");

    // F4: to the tray, the window goes out of sight.
    ASSERT_TRUE(BringToFront(main));
    RealKey(VK_F4);
    EXPECT_TRUE(WaitUntil([&] { return !Visible(main); }, 10000)) << "F4 should hide the window in the tray";
    EXPECT_TRUE(app.Running());
}

