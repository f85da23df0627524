// The tray and the start-up options through the real notification area: these scenarios run
// inside a Wine desktop with a taskbar (see run_case.sh).
#include <cstdio>

#include "AroundRig.h"

using namespace e2e;

namespace {

class Tray : public AroundRig {};
class Options : public AroundRig {};

POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// Pixels of the lit bulb's yellow glass inside a rectangle of a window, read from the screen.
int YellowPixels(HWND h, RECT r) {
    MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&r), 2);
    const int w = r.right - r.left, ht = r.bottom - r.top;
    if (w <= 0 || ht <= 0) return 0;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -ht;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    int count = 0;
    if (dib && bits) {
        HGDIOBJ old = SelectObject(mem, dib);
        BitBlt(mem, 0, 0, w, ht, screen, r.left, r.top, SRCCOPY);
        GdiFlush();
        const auto* px = static_cast<const unsigned char*>(bits);  // blue, green, red, unused
        for (int i = 0; i < w * ht; ++i, px += 4)
            if (px[2] > 200 && px[1] > 150 && px[0] < 120) ++count;
        SelectObject(mem, old);
    }
    if (dib) DeleteObject(dib);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return count;
}

}  // namespace

TEST_F(Tray, MinimiseShowsTheIconItsMenuAndShowBringsTheWindowBack) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(FindWindowW(L"Shell_TrayWnd", nullptr)) << "no taskbar: this scenario needs the Wine desktop";
    EXPECT_FALSE(TrayIconWithTip(kTrayTip)) << "no icon while the window is on screen";

    Shortcut(VK_F4);
    ASSERT_TRUE(WaitUntil([&] { return !Visible(c_.main); }, 10000)) << "F4 should hide the window";
    std::optional<TrayIconInfo> icon;
    ASSERT_TRUE(WaitUntil([&] { return (icon = TrayIconWithTip(kTrayTip)).has_value(); }, 10000))
        << "no tray icon with the tooltip \"" << kTrayTip << "\"";
    // The first time in the tray on this PC: a balloon says where the icon is, once.
    const std::string hint = "Chimewell Is Here: Click ^ On The Taskbar If You Do Not See Its Icon.";
    EXPECT_TRUE(WaitUntil([&] { return Setting("TrayHintShown") == "Yes"; }, 5000)) << Setting("TrayHintShown");
    const bool balloon = WaitUntil([&] {
        for (HWND h : WindowsOfClass("tooltips_class32"))
            if (TextOf(h, 500).value_or("").find("Chimewell Is Here") != std::string::npos) return true;
        return false;
    }, 5000);
    Screenshot("tray-hint");
    EXPECT_TRUE(balloon) << "the balloon \"" << hint << "\" should show";
    Pause(500);
    Screenshot("tray-icon");
    EXPECT_EQ(YellowPixels(icon->tray, icon->rect), 0) << "no alarm: the unlit bulb";
    EXPECT_EQ(icon->tip, std::string(kTrayTip) + " - Alarm Is Not Set.") << "the tooltip says the state";
    std::printf("checked: F4 hides the window; the tray shows an icon with the tooltip \"%s\"\n", icon->tip.c_str());

    // The left button does nothing.
    POINT at = Centre(icon->rect);
    RealClick(icon->tray, at.x, at.y);
    Pause(1000);
    EXPECT_FALSE(FindPopupMenu(app_.Id())) << "a left click opens no menu";
    EXPECT_FALSE(Visible(c_.main)) << "a left click does not restore the window";

    RealRightClick(icon->tray, at.x, at.y);
    HWND menu = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (menu = FindPopupMenu(app_.Id())) != nullptr; }, 5000))
        << "a right click should open the pop-up menu";
    Pause(500);
    Screenshot("tray-menu");
    EXPECT_FALSE(Visible(c_.main)) << "the window stays hidden behind the menu";
    std::printf("checked: left click nothing; right click opens the pop-up menu, window still hidden\n");

    RealKey('S');  // "&Show Chimewell"
    ASSERT_TRUE(WaitUntil([&] { return Visible(c_.main); }, 10000)) << "Show should bring the window back";
    EXPECT_TRUE(WaitUntil([&] { return !TrayIconWithTip(kTrayTip); }, 5000)) << "Show removes the icon";
    EXPECT_FALSE(FindPopupMenu(app_.Id()));
    std::printf("checked: \"Show Chimewell\" shows the window and removes the icon\n");

    // With an alarm chosen the status ends in "SET.": the lit bulb.
    if (TooLateForTheAlarm()) return;
    Pause(500);
    ASSERT_NO_FATAL_FAILURE(ChooseAlarmForToday());
    Shortcut(VK_F4);
    ASSERT_TRUE(WaitUntil([&] { return (icon = TrayIconWithTip(kTrayTip)).has_value(); }, 10000));
    Pause(500);
    Screenshot("tray-icon-alarm-chosen");
    EXPECT_GT(YellowPixels(icon->tray, icon->rect), 10) << "an alarm chosen: the lit bulb";
    std::printf("checked: with an alarm chosen the icon is the lit bulb\n");
}

TEST_F(Options, StartInTrayWritesBothPlacesAndTheNextStartIsHidden) {
    ASSERT_NO_FATAL_FAILURE(Start());
    struct Step {
        const char* startInTray;
        std::string run;
        const char* status;
        bool switchedOffInTaskManager = false;  // set by the test before the key, as Task Manager does
    };
    // A first start leaves the item unchecked: the first F2 switches the option on.
    const Step steps[] = {
        {"Yes", kProgramCommand, "CHWL Will Minimize To The System Tray Upon Start.  Ready."},
        {"No", std::string("-") + kProgramCommand, "Chimewell Will Not Start With Windows.  Ready."},
        {"Yes", kProgramCommand,
         "Chimewell Will Not Start With Windows: It Is Switched Off In Task Manager's Startup Apps.  Ready.", true},
    };
    for (const Step& s : steps) {
        if (s.switchedOffInTaskManager) {
            ASSERT_TRUE(WriteBinary("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run",
                                    "Chimewell", {3, 0, 0, 0, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x01}));
        }
        Shortcut(VK_F2);
        EXPECT_TRUE(WaitUntil([&] { return StatusText(c_) == s.status; }, 5000)) << StatusText(c_);
        EXPECT_EQ(Setting("StartInTray"), s.startInTray);
        EXPECT_EQ(ReadValue(kRunKey, "Chimewell").value_or("<missing>"), s.run);
        std::printf("checked: F2 wrote StartInTray=%s, Run \"Chimewell\"=%s, status \"%s\"\n", s.startInTray,
                    s.run.c_str(), s.status);
    }

    PostMenuCommand(c_.main, IDM_EXITAPP);
    Answer(kCloseTitle, IDYES);
    ASSERT_TRUE(app_.WaitExit(15000)) << "the program should end";
    app_.Kill();

    ASSERT_TRUE(StartProgram(app_));
    ASSERT_TRUE(WaitUntil([&] { return TrayIconWithTip(kTrayTip).has_value(); }, 30000))
        << "a start with StartInTray=Yes should put the icon in the tray";
    HWND main = FindMainWindow(app_.Id());
    ASSERT_TRUE(main);
    // The splash is destroyed after the moment when the window would show.
    ASSERT_TRUE(WaitUntil([&] { return FindSplash(app_.Id()) == nullptr; }, 15000)) << "the start-up never ended";
    EXPECT_FALSE(Visible(main)) << "the window stays in the tray";
    EXPECT_TRUE(app_.Running());
    Screenshot("started-in-tray");
    std::printf("checked: the next start stays hidden with its icon in the tray\n");
}

TEST_F(Options, LoadWinampOnStartToggles) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_EQ(Setting("WinAmpOnStart"), "No");
    for (const char* expected : {"Yes", "No"}) {
        Shortcut(VK_F3);
        EXPECT_TRUE(WaitUntil([&] { return Setting("WinAmpOnStart") == expected; }, 5000))
            << "WinAmpOnStart: " << Setting("WinAmpOnStart") << ", expected " << expected;
        std::printf("checked: F3 wrote WinAmpOnStart=%s\n", expected);
    }
    EXPECT_FALSE(WaitMsgBox(app_.Id(), 1000)) << "the toggle asks nothing";
    EXPECT_TRUE(app_.Running());
}
