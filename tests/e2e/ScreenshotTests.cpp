// The README's pictures, taken from the real program: the splash, the main window with an alarm
// chosen, the ringing alarm, and the tray menu. scripts/screenshots.sh runs this inside a Wine
// desktop with a taskbar (so the tray shows) and crops each picture to the rectangle written
// beside its request as "<name>.geom".
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <vector>

#include "AlarmClock.h"
#include "Driver.h"
#include "resource.h"

using namespace e2e;

namespace {

RECT Padded(RECT r, int pad) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    return RECT{std::max(0L, r.left - pad), std::max(0L, r.top - pad), std::min<LONG>(w, r.right + pad),
                std::min<LONG>(h, r.bottom + pad)};
}

RECT Union(const RECT& a, const RECT& b) {
    RECT u;
    UnionRect(&u, &a, &b);
    return u;
}

// A picture of the whole screen, with the part the README shows.
bool Shot(const std::string& name, const RECT& crop) {
    const std::string dir = EnvVar("CHW_E2E_SHOTS");
    if (dir.empty()) return false;
    {
        std::ofstream geom(Wide(WinPathOf(dir + "/" + name + ".geom")).c_str());
        geom << (crop.right - crop.left) << "x" << (crop.bottom - crop.top) << "+" << crop.left << "+" << crop.top
             << "\n";
    }
    return Screenshot(name);
}

RECT WindowRect(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    return r;
}

void RightClickAt(POINT pt) {
    SetCursorPos(pt.x, pt.y);
    Pause(150);
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    SendInput(1, &in[0], sizeof(INPUT));
    Pause(60);
    SendInput(1, &in[1], sizeof(INPUT));
}

std::vector<HWND> VisibleOfClass(const char* cls) {
    struct Search {
        const char* cls;
        std::vector<HWND> found;
    } search{cls, {}};
    EnumWindows(
        [](HWND h, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            if (IsWindowVisible(h) && ClassOf(h) == s->cls) s->found.push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND VisiblePopupMenu() {
    auto menus = VisibleOfClass("#32768");
    return menus.empty() ? nullptr : menus.front();
}

}  // namespace

// Not a check of behaviour: it only stops where a step could not be reached, so that no picture
// shows the wrong thing.
TEST(Screenshots, SplashMainRingingTray) {
    if (EnvVar("CHW_SCREENSHOTS").empty()) GTEST_SKIP() << "run by scripts/screenshots.sh";

    // The alarm minute: the first one that leaves arming (about 20 s) time to finish.
    SYSTEMTIME target = AddSeconds(Now(), 50);
    target.wSecond = 0;
    target.wMilliseconds = 0;
    target = AddSeconds(target, 60);
    if (target.wDay != Now().wDay) GTEST_SKIP() << "too close to midnight for a same-day alarm";

    InstallPlayer();
    SetEnvironmentVariableW(L"CHW_STANDIN_LOG", Wide(PlayerLogPath()).c_str());
    Process app;
    ASSERT_TRUE(StartProgram(app));

    HWND splash = nullptr;
    ASSERT_TRUE(WaitUntil([&] { splash = FindSplash(app.Id()); return Visible(splash); }, 30000)) << "no splash";
    Pause(1500);  // the progress bar part-filled
    EXPECT_TRUE(Shot("splash", Padded(WindowRect(splash), 0)));

    HWND main = nullptr;
    ASSERT_TRUE(WaitUntil([&] { main = FindMainWindow(app.Id()); return Visible(main); }, 30000));
    Pause(1000);
    MainControls c = FindControls(main);
    ASSERT_TRUE(BringToFront(main));

    // Choose today and the alarm time, as a user does.
    const SYSTEMTIME today = Now();
    auto cell = CalendarCell(c.monthView, today);
    ASSERT_TRUE(cell);
    RealClick(c.monthView, cell->x, cell->y);
    ASSERT_TRUE(WaitUntil([&] { return TextOf(c.lblDate).value_or("") == ShortDate(today); }, 5000));
    RealClick(c.txtTime, 10, 6);
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(main) == c.txtTime; }, 5000));
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(c.txtTime, EM_SETSEL, 0, -1, SMTO_ABORTIFHUNG, 2000, &ignored);
    RealType(TypedText(target));
    RealKey(VK_TAB);
    auto ampm = WaitMsgBox(app.Id(), 10000);
    ASSERT_TRUE(ampm);
    PressButton(ampm->hwnd, target.wHour < 12 ? IDYES : IDNO);
    ASSERT_TRUE(WaitGone(ampm->hwnd, 5000));
    Pause(1000);
    EXPECT_TRUE(Shot("main", Padded(WindowRect(main), 0)));

    // Arm without starting with Windows, then wait for the minute.
    PostClick(c.cmdSet);
    auto withWindows = WaitMsgBox(app.Id(), 10000);
    ASSERT_TRUE(withWindows);
    PressButton(withWindows->hwnd, IDNO);
    ASSERT_TRUE(WaitUntil([&] { return TextOf(c.cmdSet, 500).value_or("") == "Turn &Off"; }, 40000));
    ASSERT_TRUE(WaitUntil([&] { return TextOf(c.cmdSet, 500).value_or("") == "Snoo&ze"; }, 150000, 250))
        << "the alarm did not ring";
    Pause(2500);  // past the pause at firing, so the banner and captions are drawn
    EXPECT_TRUE(Shot("ringing", Padded(WindowRect(main), 0)));

    // To the tray (F4), then the tray icon's menu. The icon sits at the right end of the taskbar.
    PostMenuCommand(main, IDM_MINIMIZETOTRAY);
    ASSERT_TRUE(WaitUntil([&] { return !Visible(main); }, 10000));
    HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
    ASSERT_TRUE(taskbar) << "no taskbar: run inside a Wine desktop with its shell";
    Pause(1500);
    const RECT bar = WindowRect(taskbar);
    const POINT icon{bar.right - 14, (bar.top + bar.bottom) / 2};
    HWND menu = nullptr;
    for (int attempt = 0; attempt < 3 && !menu; ++attempt) {
        RightClickAt(POINT{icon.x - attempt * 20, icon.y});
        WaitUntil([&] { menu = VisiblePopupMenu(); return menu != nullptr; }, 3000);
    }
    ASSERT_TRUE(menu) << "the tray icon's menu did not open";
    Pause(500);
    // The icon's tooltip shows too, since the pointer rests on the icon.
    RECT area = Union(WindowRect(menu), RECT{bar.right - 160, bar.top, bar.right, bar.bottom});
    for (HWND tip : VisibleOfClass("tooltips_class32")) area = Union(area, WindowRect(tip));
    EXPECT_TRUE(Shot("tray-menu", Padded(area, 12)));
    RealKey(VK_ESCAPE);
}
