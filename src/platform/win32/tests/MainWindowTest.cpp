// The real main window with the real logic behind it and fakes for the rest of the system: what the
// logic reads and writes through the view lands in the real controls and menus, and the window's
// events reach the right handlers.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <ole2.h>
#include <oleacc.h>

#include "IntroWindow.h"
#include "MainWindow.h"
#include "MainWindowParts.h"
#include "ViewRules.h"
#include "app/FormTexts.h"
#include "app/frmMain.h"
#include "fakes/FakePlatform.h"
#include "resource.h"

namespace chw::win32 {
namespace {

using Strings = std::vector<std::string>;

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_BAR_CLASSES};
        ::InitCommonControlsEx(&icc);
        window = std::make_unique<MainWindow>(::GetModuleHandleW(nullptr), loop);
        ASSERT_NE(window->hwnd(), nullptr);
        loop.SetMainWindow(window->hwnd(), window->Accelerators());
        winamp = std::make_unique<Winamp_Access>(sys.platform);
        logic = std::make_unique<frmMain>(sys.platform, *window, *winamp);
        window->Attach(logic.get());
        window->MyTimer().SetEnabled(false);  // no clock ticks in the middle of a test
    }
    void TearDown() override { window.reset(); }

    HWND Item(int id) const { return ::GetDlgItem(window->hwnd(), id); }
    void Pump() {
        for (int i = 0; i < 20; ++i) loop.DoEvents();
    }
    std::wstring Text(int id) const {
        wchar_t buffer[256] = {};
        ::SendMessageW(Item(id), WM_GETTEXT, 256, reinterpret_cast<LPARAM>(buffer));
        return buffer;
    }

    fakes::FakeSystem sys;
    UiLoop loop;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<Winamp_Access> winamp;
    std::unique_ptr<frmMain> logic;
};

TEST_F(MainWindowTest, MenuItemsAsCreated) {
    struct Case {
        MainCtl item;
        const char* caption;
        bool checked;
        bool enabled = true;
    } cases[] = {
        {MainCtl::mnuSettings, "S&ettings", false},
        {MainCtl::mnuStartInSystemTray, "&Start In System Tray", true},
        {MainCtl::mnuLoadWinAmpOnStart, "Load &Winamp On Start", true},
        {MainCtl::mnuKeepAwake, "Keep PC &Awake While Armed", false},
        {MainCtl::mnuMinimizeToTray, "&Minimize To System Tray", false},
        {MainCtl::mnuRepeat, "&Repeat", false},
        {MainCtl::mnuRepeatOnce, "&Once", true},
        {MainCtl::mnuRepeatEveryDay, "Every &Day", false},
        {MainCtl::mnuRepeatWeekdays, "&Weekdays (Monday To Friday)", false},
        {MainCtl::mnuRepeatEveryWeek, "Every &Week (Same Day)", false},
        {MainCtl::mnuRingAgain, "Ring Again In &10 Minutes", false, false},  // only while it rings
        {MainCtl::mnuExitApp, "E&xit", false},
        {MainCtl::mnuConfigureWinAmp, "&Configure WinAmp. . .", false},
        {MainCtl::mnuAbout, "&About", false},
        {MainCtl::mnuOptions, "Options", false},
        {MainCtl::mnuConfigure, "&Configure WinAmp", false},
        {MainCtl::mnuSetAlarm, "Se&t Alarm", false},
        {MainCtl::mnuPopUpRingAgain, "Ring Again In &10 Minutes", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(window->Caption(c.item), c.caption);
        EXPECT_EQ(window->Checked(c.item), c.checked) << c.caption;
        EXPECT_EQ(window->Enabled(c.item), c.enabled) << c.caption;
    }
    // The never-shown Configure item is not in the Settings menu.
    EXPECT_EQ(::GetMenuItemCount(::GetSubMenu(::GetMenu(window->hwnd()), 0)), 8);
    // The repeat rules are one choice, shown with radio bullets.
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    ASSERT_TRUE(::GetMenuItemInfoW(::GetMenu(window->hwnd()), IDM_REPEATWEEKDAYS, FALSE, &info));
    EXPECT_TRUE(info.fType & MFT_RADIOCHECK);
    window->SetChecked(MainCtl::mnuRepeatWeekdays, true);
    window->SetChecked(MainCtl::mnuRepeatOnce, false);
    EXPECT_TRUE(window->Checked(MainCtl::mnuRepeatWeekdays));
    EXPECT_FALSE(window->Checked(MainCtl::mnuRepeatOnce));
    // The Repeat pop-up is found by its place in the Settings menu.
    window->SetEnabled(MainCtl::mnuRepeat, false);
    EXPECT_FALSE(window->Enabled(MainCtl::mnuRepeat));
    window->SetEnabled(MainCtl::mnuRepeat, true);
}

TEST_F(MainWindowTest, ACaptionWrittenKeepsTheShortcutBesideIt) {
    window->SetCaption(MainCtl::mnuStartInSystemTray, "&Start Hidden");
    wchar_t raw[64] = {};
    ::GetMenuStringW(::GetMenu(window->hwnd()), IDM_STARTINSYSTEMTRAY, raw, 64, MF_BYCOMMAND);
    EXPECT_STREQ(raw, L"&Start Hidden\tF2");
    EXPECT_EQ(window->Caption(MainCtl::mnuStartInSystemTray), "&Start Hidden");
}

TEST_F(MainWindowTest, ControlsCarryTheirTextsWhereOtherProgramsCanReadThem) {
    window->SetCaption(MainCtl::StatusBar1, "Ready.");
    window->SetCaption(MainCtl::cmdSet, "Turn &On");
    window->SetCaption(MainCtl::lblDate, "12/7/2026");
    struct Case {
        MainCtl control;
        int id;
        const wchar_t* text;
    } cases[] = {
        {MainCtl::StatusBar1, IDC_STATUSBAR1, L"Ready."},
        {MainCtl::cmdSet, IDC_CMDSET, L"Turn &On"},
        {MainCtl::cmdReset, IDC_CMDRESET, L"&Clear"},
        {MainCtl::lblDate, IDC_LBLDATE, L"12/7/2026"},
        {MainCtl::Label2, IDC_LABEL2, L"Time: (Click To Edit) [Format: HH:MM]"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Text(c.id), c.text);
        EXPECT_EQ(window->Caption(c.control), Utf8(c.text));
    }
}

TEST_F(MainWindowTest, TheStatusBarsSecondPartIsThereOnlyWithTextAndFitsIt) {
    HWND status = Item(IDC_STATUSBAR1);
    ASSERT_EQ(::SendMessageW(status, SB_GETPARTS, 0, 0), 1);  // the summary gets the whole width
    EXPECT_EQ(window->Caption(MainCtl::StatusBar1Panel2), "");

    const std::string first = window->Caption(MainCtl::StatusBar1);
    // Each text it shows, one after the other as they may follow each other.
    for (const std::wstring text : {L"Built-In Alarm Sound", L"PC Must Stay Awake", L"Keeping PC Awake"}) {
        SCOPED_TRACE(Utf8(text));
        window->SetCaption(MainCtl::StatusBar1Panel2, Utf8(text));
        EXPECT_EQ(window->Caption(MainCtl::StatusBar1Panel2), Utf8(text));
        EXPECT_EQ(window->Caption(MainCtl::StatusBar1), first);  // the first part keeps its own

        RECT part{};
        ::SendMessageW(status, SB_GETRECT, 1, reinterpret_cast<LPARAM>(&part));
        SIZE extent{};
        {
            WindowDC dc(status);
            SelectObj keep(dc.get(), reinterpret_cast<HGDIOBJ>(::SendMessageW(status, WM_GETFONT, 0, 0)));
            ::GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
        }
        EXPECT_GT(part.right - part.left, extent.cx);
        EXPECT_LT(part.right - part.left, extent.cx + 40) << "no wider than its text needs";
        RECT client{};
        ::GetClientRect(status, &client);
        EXPECT_EQ(part.right, client.right);
    }

    window->SetCaption(MainCtl::StatusBar1Panel2, "");
    EXPECT_EQ(::SendMessageW(status, SB_GETPARTS, 0, 0), 1);
    EXPECT_EQ(window->Caption(MainCtl::StatusBar1Panel2), "");
    EXPECT_EQ(window->Caption(MainCtl::StatusBar1), first);
}

// The program's own help window: one at a time, and a document it cannot read is told, not shown empty.
TEST_F(MainWindowTest, TheHelpWindowShowsADocumentOnceAndRefusesOneItCannotRead) {
    wchar_t folder[MAX_PATH];
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring document = std::wstring(folder) + L"chw-help-test.doc";
    {
        UniqueHandle file(::CreateFileW(document.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        const char rtf[] = "{\\rtf1\\ansi Chimewell help test\\par}";
        DWORD written = 0;
        ::WriteFile(file.get(), rtf, sizeof(rtf) - 1, &written, nullptr);
    }
    auto helpWindows = [] {
        std::vector<HWND> found;
        for (HWND h = ::FindWindowExW(nullptr, nullptr, HelpWindow::kClassName, nullptr); h;
             h = ::FindWindowExW(nullptr, h, HelpWindow::kClassName, nullptr))
            found.push_back(h);
        return found;
    };

    EXPECT_FALSE(window->ShowHelpWindow(Utf8(std::wstring(folder) + L"chw-no-such-help.doc")));
    EXPECT_TRUE(helpWindows().empty());
    ASSERT_TRUE(window->ShowHelpWindow(Utf8(document)));
    ASSERT_TRUE(window->ShowHelpWindow(Utf8(document)));
    const std::vector<HWND> shown = helpWindows();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(::IsWindowVisible(shown[0]));
    EXPECT_EQ(WindowTextW(shown[0]), L"CHWLHELP.DOC - Chimewell Help");
    EXPECT_TRUE(::GetWindowLongPtrW(shown[0], GWL_STYLE) & WS_THICKFRAME) << "resizable";
    // The Close button closes it; the next F1 makes it anew.
    ::SendMessageW(shown[0], WM_COMMAND, IDCANCEL, 0);
    Pump();
    EXPECT_TRUE(helpWindows().empty());
    EXPECT_TRUE(window->ShowHelpWindow(Utf8(document)));
    EXPECT_EQ(helpWindows().size(), 1u);
    ::DeleteFileW(document.c_str());
}

TEST_F(MainWindowTest, TheCalendarKeepsTheDayInTheMonth) {
    window->SetCalendarDate({2024, 2, 31});
    EXPECT_EQ(window->CalendarDate(), (Date{2024, 2, 29}));
    window->SetCalendarDate({2023, 2, 29});
    EXPECT_EQ(window->CalendarDate(), (Date{2023, 2, 28}));
    window->SetCalendarDate({2023, 2, 15});
    EXPECT_EQ(window->CalendarDate(), (Date{2023, 2, 15}));
}

// The keyboard moves the calendar's day: by days and weeks across months and years, by months and
// years keeping the day in the month, to the month's ends.
TEST_F(MainWindowTest, TheKeysMoveTheCalendarsDay) {
    struct Case {
        Date from;
        WPARAM key;
        bool ctrl;
        Date to;
    } cases[] = {
        {{2026, 12, 31}, VK_RIGHT, false, {2027, 1, 1}},   {{2024, 3, 1}, VK_LEFT, false, {2024, 2, 29}},
        {{2026, 12, 29}, VK_DOWN, false, {2027, 1, 5}},    {{2026, 1, 3}, VK_UP, false, {2025, 12, 27}},
        {{2026, 1, 31}, VK_NEXT, false, {2026, 2, 28}},    {{2026, 1, 15}, VK_PRIOR, false, {2025, 12, 15}},
        {{2024, 2, 29}, VK_NEXT, true, {2025, 2, 28}},     {{2026, 5, 17}, VK_HOME, false, {2026, 5, 1}},
        {{2028, 2, 10}, VK_END, false, {2028, 2, 29}},
    };
    BYTE keys[256] = {};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from.year << "-" << c.from.month << "-" << c.from.day << " key " << c.key);
        window->SetCalendarDate(c.from);
        ASSERT_EQ(window->CalendarDate(), c.from);
        ::GetKeyboardState(keys);
        keys[VK_CONTROL] = c.ctrl ? 0x80 : 0;
        ::SetKeyboardState(keys);
        ::SendMessageW(Item(IDC_MONTHVIEW), WM_KEYDOWN, c.key, 0);
        EXPECT_EQ(window->CalendarDate(), c.to);
    }
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
    EXPECT_TRUE(logic->State().AlarmDate.empty()) << "moving is not choosing: Enter chooses";
}

TEST_F(MainWindowTest, TheTimeBoxIsLockedAtCreation) {
    EXPECT_TRUE(window->Locked());
    window->SetLocked(false);
    EXPECT_FALSE(window->Locked());
    EXPECT_FALSE(::GetWindowLongPtrW(Item(IDC_TXTTIME), GWL_STYLE) & ES_READONLY);
}

TEST_F(MainWindowTest, CommandsReachTheirHandlersOnlyWhileTheirMenuIsEnabled) {
    struct Case {
        MainCtl disabled;  // Form: nothing disabled
        int boxes;
    } cases[] = {
        {MainCtl::Form, 2},      // About shows its two boxes
        {MainCtl::mnuAbout, 0},  // a greyed item does nothing, even by its shortcut
        {MainCtl::mnuHelp, 0},   // nor does an item of a greyed menu
    };
    for (const auto& c : cases) {
        sys.boxes.shown.clear();
        if (c.disabled != MainCtl::Form) window->SetEnabled(c.disabled, false);
        ::SendMessageW(window->hwnd(), WM_COMMAND, MAKEWPARAM(IDM_ABOUT, 1), 0);
        EXPECT_EQ(static_cast<int>(sys.boxes.shown.size()), c.boxes);
        if (c.disabled != MainCtl::Form) window->SetEnabled(c.disabled, true);
    }
}

// Another thread's SendMessageTimeout to the main window, made while the test's thread waits.
struct SentFromAnotherThread {
    HWND to;
    UINT message;
    WPARAM wParam;
    bool answered = false;
    DWORD_PTR reply = 0;
    static DWORD WINAPI Body(void* self) {
        auto* s = static_cast<SentFromAnotherThread*>(self);
        ::Sleep(50);
        s->answered = ::SendMessageTimeoutW(s->to, s->message, s->wParam, 0, SMTO_NORMAL, 1000, &s->reply) != 0;
        return 0;
    }
};

TEST_F(MainWindowTest, LeavingTheTimeBoxValidatesAndARefusalKeepsTheFocusAndDropsTheClick) {
    window->Show();
    window->SetCaption(MainCtl::lblDate, "12/31/2030");
    logic->State().AlarmDate = "12/31/2030";
    window->SetEnabled(MainCtl::cmdReset, true);

    struct Case {
        const char* typed;
        std::vector<MbAnswer> answers;
        bool focusStays;
        bool cleared;  // the held Clear click ran
        bool inPause;  // another thread asks for the validation while a pause is on: it waits, whole
    } cases[] = {
        {"7:30", {MbAnswer::Ok}, true, false, false},        // format error, try again
        {"07:30", {MbAnswer::Yes}, false, true, false},      // accepted: the Clear click goes through
        {"7:30", {MbAnswer::Ok}, true, false, true},
        {"07:30", {MbAnswer::Yes}, false, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.inPause ? "in a pause" : "at once");
        window->SetCaption(MainCtl::lblDate, "12/31/2030");
        logic->State().AlarmDate = "12/31/2030";
        window->SetEnabled(MainCtl::cmdReset, true);
        sys.boxes.answers.assign(c.answers.begin(), c.answers.end());
        ::SetFocus(Item(IDC_TXTTIME));
        window->SetLocked(false);  // opened for typing, as a click does
        window->SetCaption(MainCtl::txtTime, c.typed);
        // The focus moves to Clear and Clear is clicked before the validation has run.
        ::SetFocus(Item(IDC_CMDRESET));
        ::SendMessageW(window->hwnd(), WM_COMMAND, MAKEWPARAM(IDC_CMDRESET, BN_CLICKED),
                       reinterpret_cast<LPARAM>(Item(IDC_CMDRESET)));
        EXPECT_EQ(logic->State().AlarmDate, "12/31/2030") << "the click waits for the validation";
        if (c.inPause) {
            const size_t boxes = sys.boxes.shown.size();
            SentFromAnotherThread sent{window->hwnd(), mainwindow::kValidateMessage, 0};
            UniqueHandle thread(::CreateThread(nullptr, 0, &SentFromAnotherThread::Body, &sent, 0, nullptr));
            loop.Pause(400);
            ASSERT_EQ(::WaitForSingleObject(thread.get(), 5000), WAIT_OBJECT_0);
            EXPECT_TRUE(sent.answered);
            EXPECT_EQ(sys.boxes.shown.size(), boxes) << "no validation inside the pause";
            EXPECT_EQ(logic->State().AlarmDate, "12/31/2030") << "nor the click it holds";
        }
        Pump();
        EXPECT_EQ(::GetFocus() == Item(IDC_TXTTIME), c.focusStays) << c.typed;
        EXPECT_EQ(logic->State().AlarmDate.empty(), c.cleared) << c.typed;
    }
}

TEST(MainLayoutTest, DesignedSizesAreAMinimumAndTheColumnMakesRoomForTheCalendar) {
    struct Case {
        const char* name;
        int dpi;
        Extent need;  // what the calendar asks for
        int label2Text;
        int shift, clientWidth, clientHeight;
    } cases[] = {
        // At 96 DPI the design is 386 x 210 pixels; a calendar that fits changes nothing but the margin.
        {"fits", 96, {150, 140}, 150, 0, 386, 210},
        {"wider calendar", 96, {200, 140}, 150, 24, 410, 210},
        {"taller calendar", 96, {170, 180}, 150, 0, 386, 210 + 26},
        {"long caption", 96, {150, 140}, 230, 0, 200 + 230 + 16, 210},
        {"144 DPI fits", 144, {220, 200}, 200, 0, 579, 315},
    };
    for (const auto& c : cases) {
        Extent designed{Twips(2640, c.dpi), Twips(2310, c.dpi)};
        Placement p = ArrangeMain(designed, c.need, 60, c.label2Text, c.dpi);
        EXPECT_EQ(p.columnShift, c.shift) << c.name;
        EXPECT_GE(p.calendar.cx, c.need.cx) << c.name;
        EXPECT_GE(p.calendar.cy, c.need.cy) << c.name;
        EXPECT_GE(p.label2Width, c.label2Text) << c.name;
        EXPECT_EQ(p.client.cx, std::max(c.clientWidth, Twips(5790, c.dpi))) << c.name;
        EXPECT_EQ(p.client.cy, c.clientHeight) << c.name;
    }
}

TEST_F(MainWindowTest, TheCalendarIsWholeAndNoControlsOverlap) {
    RECT need{};
    ::SendMessageW(Item(IDC_MONTHVIEW), MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&need));
    auto place = [&](int id) {
        RECT r{};
        ::GetWindowRect(Item(id), &r);
        ::MapWindowPoints(nullptr, window->hwnd(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    RECT calendar = place(IDC_MONTHVIEW);
    EXPECT_GE(calendar.right - calendar.left, need.right - need.left);
    EXPECT_GE(calendar.bottom - calendar.top, need.bottom - need.top);

    RECT client{};
    ::GetClientRect(window->hwnd(), &client);
    const int ids[] = {IDC_MONTHVIEW, IDC_LABEL1, IDC_LBLDATE, IDC_LABEL2, IDC_TXTTIME, IDC_CMDSET, IDC_CMDRESET};
    const RECT status = place(IDC_STATUSBAR1);
    EXPECT_EQ(status.bottom, client.bottom);
    for (int a : ids) {
        RECT ra = place(a), overlap{};
        EXPECT_LE(ra.right, client.right) << a;
        EXPECT_LE(ra.bottom, status.top) << a;
        for (int b : ids) {
            RECT rb = place(b);
            if (a < b) {
                EXPECT_FALSE(::IntersectRect(&overlap, &ra, &rb)) << a << " overlaps " << b;
            }
        }
    }
}

// What a window's layout comes to: its client size, and each child's place, font and (status bar) parts.
struct Layout {
    SIZE client{};
    struct Child {
        int id;
        RECT place;
        LONG fontHeight;
        std::vector<RECT> parts;
        bool operator==(const Child& o) const {
            return id == o.id && ::EqualRect(&place, &o.place) && fontHeight == o.fontHeight &&
                   parts.size() == o.parts.size() &&
                   std::equal(parts.begin(), parts.end(), o.parts.begin(),
                              [](const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != FALSE; });
        }
    };
    std::vector<Child> children;

    static Layout Of(HWND window) {
        Layout l;
        RECT client{};
        ::GetClientRect(window, &client);
        l.client = SIZE{client.right, client.bottom};
        for (HWND h = ::GetWindow(window, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
            Child c{::GetDlgCtrlID(h), {}, 0, {}};
            ::GetWindowRect(h, &c.place);
            ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&c.place), 2);
            LOGFONTW font{};
            if (HGDIOBJ f = reinterpret_cast<HGDIOBJ>(::SendMessageW(h, WM_GETFONT, 0, 0)))
                ::GetObjectW(f, sizeof(font), &font);
            c.fontHeight = font.lfHeight;
            if (c.id == IDC_STATUSBAR1) {
                const int n = static_cast<int>(::SendMessageW(h, SB_GETPARTS, 0, 0));
                for (int i = 0; i < n; ++i) {
                    RECT r{};
                    ::SendMessageW(h, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
                    c.parts.push_back(r);
                }
            }
            l.children.push_back(c);
        }
        return l;
    }
};

std::ostream& operator<<(std::ostream& out, const Layout& l) {
    out << "client " << l.client.cx << "x" << l.client.cy;
    for (const auto& c : l.children)
        out << "; " << c.id << " at " << c.place.left << "," << c.place.top << " " << c.place.right - c.place.left
            << "x" << c.place.bottom - c.place.top << " font " << c.fontHeight << " parts " << c.parts.size();
    return out;
}

// Windows' suggestion for a window moving to another DPI: the same place, scaled.
void SendDpiChanged(HWND window, int from, int to) {
    RECT r{};
    ::GetWindowRect(window, &r);
    RECT suggested{r.left, r.top, r.left + ::MulDiv(r.right - r.left, to, from),
                   r.top + ::MulDiv(r.bottom - r.top, to, from)};
    ::SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
}

// Moved to a monitor of another scale, each window lays itself out as one that started there: controls,
// fonts, the calendar, the skinned buttons and the status bar's parts alike.
TEST(DpiTest, AWindowMovedToAnotherScaleMatchesOneStartedThere) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    UiLoop loop;
    struct Case {
        int from, to;
    } cases[] = {{96, 144}, {144, 96}, {96, 192}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << " to " << c.to << " DPI");
        {
            MainWindow moved(instance, loop, c.from), started(instance, loop, c.to);
            for (MainWindow* w : {&moved, &started}) w->SetCaption(MainCtl::StatusBar1Panel2, "Built-In Alarm Sound");
            const Layout before = Layout::Of(moved.hwnd());
            SendDpiChanged(moved.hwnd(), c.from, c.to);
            const Layout after = Layout::Of(moved.hwnd()), expected = Layout::Of(started.hwnd());
            EXPECT_EQ(after.client.cx, expected.client.cx) << after << "\n" << expected;
            EXPECT_EQ(after.client.cy, expected.client.cy);
            EXPECT_TRUE(after.children == expected.children) << after << "\n" << expected;
            EXPECT_NE(after.children[1].fontHeight, before.children[1].fontHeight) << "the fonts were made again";
            RECT need{}, calendar{};
            HWND monthView = ::GetDlgItem(moved.hwnd(), IDC_MONTHVIEW);
            ::SendMessageW(monthView, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&need));
            ::GetWindowRect(monthView, &calendar);
            EXPECT_GE(calendar.right - calendar.left, need.right - need.left) << "the calendar shows a whole month";
        }
        IntroWindow moved(instance, c.from), started(instance, c.to);
        SendDpiChanged(moved.hwnd(), c.from, c.to);
        const Layout after = Layout::Of(moved.hwnd()), expected = Layout::Of(started.hwnd());
        EXPECT_EQ(after.client.cx, expected.client.cx) << "splash";
        EXPECT_TRUE(after.children == expected.children) << "splash " << after << "\n" << expected;
    }
}

// A high-contrast theme turned on and off while the windows are open: the skinned buttons paint their
// face in the system's button colour instead of the skin, and the splash takes the window colours.
TEST_F(MainWindowTest, AHighContrastThemeGivesTheButtonsAndTheSplashTheSystemColours) {
    IntroWindow splash(::GetModuleHandleW(nullptr));
    HWND button = Item(IDC_CMDRESET);
    RECT rc{};
    ::GetClientRect(button, &rc);
    auto faceColour = [&] {
        WindowDC screen(button);
        MemoryDC mem(screen.get());
        UniqueBitmap picture(::CreateCompatibleBitmap(screen.get(), rc.right, rc.bottom));
        SelectObj keep(mem.get(), picture.get());
        ::SendMessageW(button, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem.get()), PRF_CLIENT);
        return ::GetPixel(mem.get(), rc.right / 8, rc.bottom / 2);
    };
    // Wine has no high-contrast setting: the test stands in for the system.
    static bool themeOn = false;
    const HighContrastProbe system = HighContrastSource();
    HighContrastSource() = [] { return themeOn; };
    for (bool on : {true, false}) {
        SCOPED_TRACE(on ? "high contrast" : "normal");
        themeOn = on;
        for (HWND w : {window->hwnd(), splash.hwnd()}) ::SendMessageW(w, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
        EXPECT_EQ(faceColour() == ::GetSysColor(COLOR_BTNFACE), on);
        EXPECT_EQ(splash.HighContrast(), on);
        const IntroWindow::Colours c = IntroWindow::ColoursFor(on);
        EXPECT_EQ(c.text == ::GetSysColor(COLOR_WINDOWTEXT) && c.top == ::GetSysColor(COLOR_WINDOW), on);
    }
    HighContrastSource() = system;
}

// What a screen reader learns of each control: its name and role, through the control's own object.
TEST_F(MainWindowTest, EachControlHasANameAndARoleForScreenReaders) {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    constexpr IID kIAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
    window->SetCaption(MainCtl::StatusBar1, "Ready.");
    window->SetCaption(MainCtl::cmdSet, "Turn &On");
    struct Case {
        int id;
        const wchar_t* name;
        long role;  // 0: the standard object's, whatever it is
    } cases[] = {
        {IDC_MONTHVIEW, L"Alarm date", 0},
        {IDC_TXTTIME, L"Alarm time", ROLE_SYSTEM_TEXT},
        {IDC_CMDSET, L"Turn On", ROLE_SYSTEM_PUSHBUTTON},
        {IDC_CMDRESET, L"Clear", ROLE_SYSTEM_PUSHBUTTON},
        {IDC_STATUSBAR1, L"Ready.", ROLE_SYSTEM_STATUSBAR},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        IAccessible* object = nullptr;
        ASSERT_EQ(::AccessibleObjectFromWindow(Item(c.id), OBJID_CLIENT, kIAccessible,
                                               reinterpret_cast<void**>(&object)), S_OK);
        VARIANT self;
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR name = nullptr;
        EXPECT_EQ(object->get_accName(self, &name), S_OK);
        EXPECT_STREQ(name, c.name);
        ::SysFreeString(name);
        VARIANT role;
        ::VariantInit(&role);
        EXPECT_EQ(object->get_accRole(self, &role), S_OK);
        if (c.role) {
            EXPECT_EQ(role.vt, VT_I4);
            EXPECT_EQ(role.lVal, c.role);
        }
        object->Release();
    }
    EXPECT_EQ(WithoutAccessKeyMark(L"Snoo&ze && more &x"), L"Snooze & more &x");
}

// Each new text of the status line's first part tells screen readers once; the banner is urgent.
struct LiveRegionEvents {
    static inline std::vector<HWND> raised;
    static void CALLBACK Hook(HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
        if (object == OBJID_CLIENT && child == CHILDID_SELF) raised.push_back(hwnd);
    }
};

TEST_F(MainWindowTest, TheStatusLineIsALiveRegion) {
    HWINEVENTHOOK hook = ::SetWinEventHook(kLiveRegionChanged, kLiveRegionChanged, nullptr,
                                           &LiveRegionEvents::Hook, ::GetCurrentProcessId(), 0,
                                           WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    Pump();
    struct Case {
        MainCtl part;
        const char* text;
        bool raised;
    } cases[] = {
        {MainCtl::StatusBar1, "Validating Input. . .", true},
        {MainCtl::StatusBar1, "Validating Input. . .", false},  // no change, nothing to say
        {MainCtl::StatusBar1Panel2, "Built-In Alarm Sound", false},
        {MainCtl::StatusBar1, "Ready.", true},
    };
    for (const auto& c : cases) {
        LiveRegionEvents::raised.clear();
        window->SetCaption(c.part, c.text);
        Pump();
        EXPECT_EQ(LiveRegionEvents::raised, c.raised ? std::vector<HWND>{Item(IDC_STATUSBAR1)} : std::vector<HWND>{})
            << c.text;
    }
    ::UnhookWinEvent(hook);
}

TEST_F(MainWindowTest, TheKeyboardOpensTheLockedTimeBoxAndEnterMovesOnToValidate) {
    window->Show();
    struct Case {
        const char* name;
        UINT message;
        WPARAM key;
        bool unlocked;
        const wchar_t* text;
    } cases[] = {
        {"Enter", WM_KEYDOWN, VK_RETURN, true, L"10:15:00 AM"},
        {"a digit replaces the clock", WM_CHAR, L'7', true, L"7"},
        {"a letter does nothing", WM_CHAR, L'x', false, L"10:15:00 AM"},
    };
    for (const auto& c : cases) {
        window->SetLocked(true);
        window->SetCaption(MainCtl::txtTime, "10:15:00 AM");
        ::SetFocus(Item(IDC_TXTTIME));
        ::SendMessageW(Item(IDC_TXTTIME), EM_SETSEL, 0, -1);
        ::SendMessageW(Item(IDC_TXTTIME), c.message, c.key, 0);
        EXPECT_EQ(!window->Locked(), c.unlocked) << c.name;
        EXPECT_EQ(Text(IDC_TXTTIME), c.text) << c.name;
        if (c.unlocked) {
            EXPECT_EQ(window->Caption(MainCtl::StatusBar1), "Validating Input. . .") << c.name;
        }
    }

    // Enter after typing: the focus goes on to the arm button, and leaving the box validates the time.
    window->SetLocked(false);
    window->SetCaption(MainCtl::txtTime, "07:30");
    sys.boxes.answers.assign({MbAnswer::Yes});
    ::SetFocus(Item(IDC_TXTTIME));
    ::SendMessageW(Item(IDC_TXTTIME), WM_KEYDOWN, VK_RETURN, 0);
    Pump();
    EXPECT_EQ(::GetFocus(), Item(IDC_CMDSET));
    EXPECT_EQ(logic->State().AlarmTime, "7:30 AM");

    // Tab through the box while it shows the clock: nothing was typed, nothing is asked.
    sys.boxes.shown.clear();
    window->SetLocked(true);
    window->SetCaption(MainCtl::txtTime, "2:35:11 PM");
    ::SetFocus(Item(IDC_TXTTIME));
    ::SetFocus(Item(IDC_CMDSET));
    Pump();
    EXPECT_TRUE(sys.boxes.shown.empty());
    EXPECT_EQ(::GetFocus(), Item(IDC_CMDSET));
}

TEST_F(MainWindowTest, WaitingLogicAnswersSentMessagesAndRunsTheirHandlersAfterwards) {
    window->Show();
    const Strings about{"About Chimewell(tm)", "For Your Information!"}, close{"Close Chimewell?"};  // No: stays
    struct Case {
        UINT message;
        WPARAM wParam;
        bool inBox;  // sent while a handler waits in a box rather than in a pause
        DWORD_PTR reply;
        Strings boxes;  // shown once the wait is over
    } cases[] = {
        {WM_NULL, 0, false, 0, {}},
        {WM_COMMAND, IDM_ABOUT, false, 0, about},
        {WM_CLOSE, 0, false, 0, close},
        {WM_QUERYENDSESSION, 0, false, FALSE, close},
        {WM_COMMAND, IDM_ABOUT, true, 0, about},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.message << (c.inBox ? " in a box" : " in a pause"));
        sys.boxes.shown.clear();
        SentFromAnotherThread sent{window->hwnd(), c.message, c.wParam};
        UniqueHandle thread;
        size_t shownInWait = 0;
        auto wait = [&] {
            thread = UniqueHandle(::CreateThread(nullptr, 0, &SentFromAnotherThread::Body, &sent, 0, nullptr));
            for (ULONGLONG end = ::GetTickCount64() + 400; c.inBox && ::GetTickCount64() < end;) loop.DoEvents();
            if (!c.inBox) loop.Pause(400);
            shownInWait = sys.boxes.shown.size();
        };
        if (c.inBox) {
            sys.boxes.onShow = [&](const fakes::ShownBox&) {
                if (sys.boxes.shown.size() == 1) wait();
            };
            ::SendMessageW(window->hwnd(), WM_COMMAND, IDM_ABOUT, 0);
            sys.boxes.onShow = nullptr;
        } else {
            wait();
        }
        ASSERT_EQ(::WaitForSingleObject(thread.get(), 5000), WAIT_OBJECT_0);
        EXPECT_TRUE(sent.answered) << "answered within a second";
        EXPECT_EQ(sent.reply, c.reply);
        EXPECT_EQ(shownInWait, c.inBox ? 1u : 0u) << "no handler runs inside the wait";
        Pump();
        Strings expected = c.boxes;
        if (c.inBox) expected.insert(expected.begin(), about.begin(), about.end());
        EXPECT_EQ(sys.boxes.Titles(), expected);
    }
}

// The watch is the one handler that does not wait for a box that another thread's message opened: the
// alarm must ring under it.
TEST_F(MainWindowTest, TheWatchTicksUnderABoxThatAnotherThreadsMessageOpened) {
    window->Show();
    bool tickedUnderBox = false;
    sys.boxes.onShow = [&](const fakes::ShownBox&) {
        if (sys.boxes.shown.size() != 1) return;
        logic->State().NowText.clear();
        ::PostMessageW(window->hwnd(), WM_TIMER, mainwindow::kTimerId, 0);
        for (int i = 0; i < 20 && logic->State().NowText.empty(); ++i) loop.DoEvents();
        tickedUnderBox = !logic->State().NowText.empty();
    };
    SentFromAnotherThread sent{window->hwnd(), WM_COMMAND, IDM_ABOUT};
    UniqueHandle thread(::CreateThread(nullptr, 0, &SentFromAnotherThread::Body, &sent, 0, nullptr));
    for (ULONGLONG end = ::GetTickCount64() + 3000; sys.boxes.shown.size() < 2 && ::GetTickCount64() < end;)
        loop.DoEvents();
    ASSERT_EQ(::WaitForSingleObject(thread.get(), 5000), WAIT_OBJECT_0);
    sys.boxes.onShow = nullptr;
    EXPECT_EQ(sys.boxes.shown.size(), 2u);
    EXPECT_TRUE(tickedUnderBox);
}

TEST_F(MainWindowTest, TheEditKeysGoToTheTimeBoxWhileItIsEdited) {
    window->Show();
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    struct Case {
        bool locked;
        WPARAM key;
        Strings boxes;
        DWORD selected;  // by Ctrl+A; Ctrl+X cuts the empty selection
    } cases[] = {
        {true, 'A', {"About Chimewell(tm)", "For Your Information!"}, 0},
        {true, 'X', {"Close Chimewell?"}, 0},
        {false, 'A', {}, 5},
        {false, 'X', {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<char>(c.key) << (c.locked ? " locked" : " editable"));
        sys.boxes.shown.clear();
        window->SetLocked(c.locked);
        window->SetCaption(MainCtl::txtTime, "11:59");
        ::SetFocus(Item(IDC_TXTTIME));
        ::SendMessageW(Item(IDC_TXTTIME), EM_SETSEL, 2, 2);
        ::PostMessageW(Item(IDC_TXTTIME), WM_KEYDOWN, c.key, 1);
        Pump();
        EXPECT_EQ(sys.boxes.Titles(), c.boxes);
        DWORD from = 0, to = 0;
        ::SendMessageW(Item(IDC_TXTTIME), EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
        EXPECT_EQ(to - from, c.selected);
        EXPECT_EQ(Text(IDC_TXTTIME), L"11:59");
    }
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
}

// A stand-in for the shell that refuses the first icons.
struct RefusingShell {
    static inline int refusals = 0, adds = 0;
    static inline DWORD last = 0;
    static BOOL WINAPI Notify(DWORD message, PNOTIFYICONDATAW) {
        last = message;
        if (message == NIM_ADD) ++adds;
        if (message == NIM_ADD && refusals > 0) {
            --refusals;
            return FALSE;
        }
        return message != NIM_MODIFY;  // nothing was added behind our back
    }
};

TEST(TrayIconTest, ARefusedIconIsTriedAgainUntilTheShellTakesIt) {
    EXPECT_EQ(TrayIcon::RetryDelayMs(59999), 1000u);
    EXPECT_EQ(TrayIcon::RetryDelayMs(60000), 60000u);
    HWND owner = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    RefusingShell::refusals = 2;
    {
        TrayIcon tray(::GetModuleHandleW(nullptr), owner, &RefusingShell::Notify);
        tray.SetShown(true);
        // Each second once more: refused again, then taken; after that no more tries.
        MSG msg;
        for (ULONGLONG end = ::GetTickCount64() + 3500; ::GetTickCount64() < end; ::Sleep(20))
            while (::PeekMessageW(&msg, owner, WM_TIMER, WM_TIMER, PM_REMOVE)) tray.OnTimer(msg.wParam);
        EXPECT_EQ(RefusingShell::adds, 3);
        EXPECT_EQ(RefusingShell::last, DWORD{NIM_SETVERSION});
        // What the shell's messages mean: the menu by the right button or the keyboard (Enter, Shift+F10),
        // at the place the shell gives; a left click is only that.
        const struct {
            UINT event;
            int button;
            bool anchored;
        } callbacks[] = {{WM_CONTEXTMENU, 2, true}, {NIN_KEYSELECT, 2, true}, {NIN_SELECT, 1, true},
                         {WM_MOUSEMOVE, 0, false}};
        for (const auto& c : callbacks) {
            const LPARAM lParam = MAKELPARAM(c.event, 1);
            EXPECT_EQ(tray.ButtonOf(lParam), c.button) << c.event;
            const auto at = tray.AnchorOf(MAKEWPARAM(200, 700), lParam);
            EXPECT_EQ(at.has_value(), c.anchored) << c.event;
            if (at) {
                EXPECT_EQ(at->y, 700);
            }
        }
        // A new scale: the shown icon gets the pictures again.
        tray.ReloadIcons();
        EXPECT_EQ(RefusingShell::last, DWORD{NIM_MODIFY});
    }
    EXPECT_EQ(RefusingShell::last, DWORD{NIM_DELETE});
    ::DestroyWindow(owner);
}

}  // namespace
}  // namespace chw::win32
