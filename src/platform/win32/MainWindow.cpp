#include "MainWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include <ole2.h>
#include <oleacc.h>

#include "MainWindowParts.h"
#include "ViewRules.h"
#include "app/FormTexts.h"
#include "app/MenuTexts.h"

namespace chw::win32 {

using namespace mainwindow;

MainWindow::MainWindow(HINSTANCE instance, UiLoop& loop, int dpi)
    : loop_(loop), dpi_(dpi > 0 ? dpi : ScreenDpi()), timer_(kTimerId, true, 1000, WindowTimer::Phase::OnTheSecond) {
    instance_ = instance;
    HICON icon = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_CHIMEWELL), IMAGE_ICON, 0, 0,
                                                 LR_DEFAULTSIZE | LR_SHARED));
    RegisterClassOnce(instance, kClassName, icon, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));

    HMENU menuBar = ::LoadMenuW(instance, MAKEINTRESOURCEW(IDR_MAINMENU));
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_CONTROLPARENT;
    RECT frame{0, 0, Twips(kClientWidth, dpi_), Twips(kClientHeight, dpi_)};
    ::AdjustWindowRectEx(&frame, style, TRUE, exStyle);
    CreateWin(exStyle, kClassName, Wide(texts::kMainCaption).c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
              frame.right - frame.left, frame.bottom - frame.top, nullptr, menuBar, instance);
    if (!hwnd()) {
        if (menuBar) ::DestroyMenu(menuBar);
        return;
    }
    // Laid out for the monitor it opened on.
    if (dpi <= 0) dpi_ = WindowDpi(hwnd());
    trayMenu_ = UniqueMenu(::LoadMenuW(instance, MAKEINTRESOURCEW(IDR_TRAYMENU)));
    accel_ = ::LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    neverShown_ = UniqueMenu(::CreatePopupMenu());
    ::AppendMenuW(neverShown_.get(), MF_STRING, IDM_CONFIGUREWINAMP, Wide(CHW_MNUCONFIGUREWINAMP).c_str());
    ::AppendMenuW(neverShown_.get(), MF_STRING, IDM_CONFIGURE, Wide(CHW_MNUCONFIGURE).c_str());
    MarkRadioItems();
    taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");
    // Run as administrator, we would not hear the shell's restart (UIPI filters it): let it through.
    if (taskbarCreated_) ::ChangeWindowMessageFilterEx(hwnd(), taskbarCreated_, MSGFLT_ALLOW, nullptr);

    CreateControls(instance);
    tray_ = std::make_unique<TrayIcon>(instance, hwnd());
    timer_.Attach(hwnd());
    // Start with keyboard cues hidden until the keyboard is used, as dialogs do.
    ::SendMessageW(hwnd(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, 0), 0);
}

MainWindow::~MainWindow() {
    // Its WM_DESTROY stops the timer and takes the icon away.
    DestroyNow();
    loop_.SetToolTips(nullptr);
}

namespace {

// Where each control is designed to be (Twips.h); the status bar keeps to the bottom edge by itself.
struct DesignedPlace {
    int id;
    TwipsRect place;
};
constexpr DesignedPlace kPlaces[] = {
    {IDC_MONTHVIEW_NAME, kMonthViewNamePlace}, {IDC_MONTHVIEW, kMonthViewPlace},
    {IDC_CMDRESET, kCmdResetPlace},            {IDC_CMDSET, kCmdSetPlace},
    {IDC_LABEL1, kLabel1Place},                {IDC_LBLDATE, kLblDatePlace},
    {IDC_LABEL2, kLabel2Place},                {IDC_TXTTIME, kTxtTimePlace},
};

RECT DesignedPixels(int id, int dpi) {
    for (const auto& p : kPlaces)
        if (p.id == id) return ToPixels(p.place, dpi);
    return RECT{};
}

}  // namespace

void MainWindow::CreateControls(HINSTANCE instance) {
    skins_ = std::make_unique<SkinButtons>(instance);
    skins_->SetHighContrast(HighContrastOn());

    auto make = [&](const wchar_t* cls, int id, const wchar_t* text, DWORD style, DWORD exStyle = 0) {
        RECT r = DesignedPixels(id, dpi_);
        return ::CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
                                 r.bottom - r.top, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                                 nullptr);
    };

    // Creation order is the tab order, which follows the layout: the calendar on the left, then the right
    // column from the top (the time box, then the arm button and Clear beside it), then the status bar.
    // The calendar has no caption of its own: a hidden label names it for screen readers that look there.
    HWND calendarName = make(L"STATIC", IDC_MONTHVIEW_NAME, Wide(texts::kTipMonthView).c_str(), SS_NOPREFIX);
    ::ShowWindow(calendarName, SW_HIDE);
    HWND calendar = make(MONTHCAL_CLASSW, IDC_MONTHVIEW, L"", WS_TABSTOP);
    calendarHook_.Attach(calendar);

    make(L"STATIC", IDC_LABEL1, Wide(texts::kLabel1).c_str(), SS_LEFTNOWORDWRAP | SS_NOPREFIX);
    make(L"STATIC", IDC_LBLDATE, L"", SS_LEFTNOWORDWRAP | SS_NOPREFIX);
    make(L"STATIC", IDC_LABEL2, Wide(texts::kLabel2).c_str(), SS_LEFTNOWORDWRAP | SS_NOPREFIX);
    HWND timeBox = make(L"EDIT", IDC_TXTTIME, L"", WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL | ES_READONLY,
                        WS_EX_CLIENTEDGE);
    timeBoxHook_.Attach(timeBox);

    skins_->Create(hwnd(), IDC_CMDSET, Wide(texts::kCmdSet).c_str(), DesignedPixels(IDC_CMDSET, dpi_));
    skins_->Create(hwnd(), IDC_CMDRESET, Wide(texts::kCmdReset).c_str(), DesignedPixels(IDC_CMDRESET, dpi_));

    HWND status = make(STATUSCLASSNAMEW, IDC_STATUSBAR1, L"", SBARS_TOOLTIPS);  // it places itself
    ::SendMessageW(status, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(Wide(texts::kStatusBar).c_str()));

    toolTips_ = UniqueWindow(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                                               CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr, instance, nullptr));
    loop_.SetToolTips(toolTips_.get());
    ApplyDpi();

    // Named and given their roles for screen readers; the buttons and the status line speak their texts.
    GiveAccessibleIdentity(calendar, {Wide(texts::kNameMonthView), 0});
    GiveAccessibleIdentity(timeBox, {Wide(texts::kNameTxtTime), ROLE_SYSTEM_TEXT});
    for (int id : {IDC_CMDSET, IDC_CMDRESET}) GiveAccessibleIdentity(Item(id), {L"", ROLE_SYSTEM_PUSHBUTTON});
    GiveAccessibleIdentity(status, {L"", ROLE_SYSTEM_STATUSBAR});
    SetLiveness(status, liveness_);
    SetToolTip(MainCtl::MonthView, texts::kTipMonthView);
    SetToolTip(MainCtl::txtTime, texts::kTipTxtTime);
    SetToolTip(MainCtl::cmdSet, texts::kTipCmdSet);
    SetToolTip(MainCtl::cmdReset, texts::kTipCmdReset);
    SetToolTip(MainCtl::StatusBar1, texts::kTipStatusBar);
}

// Everything that is sized for the DPI: the fonts, then each control at its designed place, grown where
// the fonts need it, the status bar's height and parts, and the window around them.
void MainWindow::ApplyDpi() {
    UniqueFont form = MakeFont(L"MS Sans Serif", 8, dpi_);
    UniqueFont comic = MakeFont(L"Comic Sans MS", 8, dpi_);
    for (int id : {IDC_MONTHVIEW, IDC_LABEL1, IDC_LBLDATE, IDC_LABEL2, IDC_TXTTIME})
        if (HWND h = Item(id)) ::SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(form.get()), TRUE);
    skins_->SetFont(comic.get(), dpi_);
    HWND status = Item(IDC_STATUSBAR1);
    if (status) ::SendMessageW(status, WM_SETFONT, reinterpret_cast<WPARAM>(comic.get()), TRUE);
    // The controls hold the new fonts before the old ones go.
    formFont_ = std::move(form);
    comicFont_ = std::move(comic);

    for (const auto& p : kPlaces)
        if (HWND h = Item(p.id)) MoveTo(h, ToPixels(p.place, dpi_));
    if (status) {
        int borders[3] = {};
        ::SendMessageW(status, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
        ::SendMessageW(status, SB_SETMINHEIGHT, static_cast<WPARAM>(Twips(kStatusHeight, dpi_) - 2 * borders[1]), 0);
        ::SendMessageW(status, WM_SIZE, 0, 0);
    }
    if (toolTips_) ::SendMessageW(toolTips_.get(), TTM_SETMAXTIPWIDTH, 0, ::MulDiv(320, dpi_, 96));
    Arrange();
    SetStatusParts();
}

// The designed sizes are a minimum: where this machine's fonts need more room (the calendar above all),
// a control grows, the column beside it moves right by as much, and the window grows to hold them.
void MainWindow::Arrange() {
    HWND calendar = Item(IDC_MONTHVIEW);
    if (!calendar) return;
    RECT cal = PlaceInParent(calendar);
    RECT need{};
    ::SendMessageW(calendar, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&need));
    auto textWidth = [this](int id) { return TextExtent(Item(id), WindowTextW(Item(id))).cx; };
    Placement layout = ArrangeMain({cal.right - cal.left, cal.bottom - cal.top},
                                   {need.right - need.left, need.bottom - need.top}, textWidth(IDC_LABEL1),
                                   textWidth(IDC_LABEL2), dpi_);

    ::SetWindowPos(calendar, nullptr, 0, 0, layout.calendar.cx, layout.calendar.cy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (int id : {IDC_LABEL1, IDC_LBLDATE, IDC_LABEL2, IDC_TXTTIME, IDC_CMDSET, IDC_CMDRESET}) {
        HWND h = Item(id);
        if (!h) continue;
        RECT r = PlaceInParent(h);
        int width = r.right - r.left, shift = layout.columnShift;
        if (id == IDC_LABEL1) width = layout.label1Width;
        if (id == IDC_LABEL2) width = layout.label2Width;
        if (id == IDC_LBLDATE) shift += layout.dateShift;
        ::SetWindowPos(h, nullptr, r.left + shift, r.top, width, r.bottom - r.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetClientSize(hwnd(), layout.client.cx, layout.client.cy);
}

// The second part is there only while it has something to say, so that the first keeps the whole width
// for the alarm's long summary otherwise. It is as wide as its text in the status bar's own font, so it
// fits at any DPI and takes no more from the summary than it needs; the first takes the rest.
void MainWindow::SetStatusParts() {
    HWND status = Item(IDC_STATUSBAR1);
    if (!status) return;
    if (secondText_.empty()) {
        int whole = -1;
        ::SendMessageW(status, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&whole));
        return;
    }
    const SIZE extent = TextExtent(status, secondText_);
    int borders[3] = {};
    ::SendMessageW(status, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    // Each part draws its text inside a sunken edge and a little margin on both sides.
    const int second = extent.cx + 2 * borders[2] + 4 * ::GetSystemMetrics(SM_CXEDGE) + ::MulDiv(8, dpi_, 96);
    RECT client{};
    ::GetClientRect(status, &client);
    int parts[2] = {std::max(0, static_cast<int>(client.right) - second), -1};
    ::SendMessageW(status, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
}

// ---- The window ----

void MainWindow::Activate() {
    if (!hwnd() || !::IsWindowVisible(hwnd())) return;  // a window in the tray stays there
    ::SetForegroundWindow(hwnd());
    // When another program's window was just hidden, its deactivation can still arrive after this
    // and leave the keyboard with no window at all; look once more when things have settled.
    ::SetTimer(hwnd(), kReactivateTimerId, kReactivateDelayMs, nullptr);
    HWND focus = ::GetFocus();
    if (focus != hwnd() && !::IsChild(hwnd(), focus)) ::SetFocus(hwnd());
}

void MainWindow::SetBusyPointer(bool busy) {
    busy_ = busy;
    if (!hwnd()) return;
    POINT pt;
    ::GetCursorPos(&pt);
    HWND under = ::WindowFromPoint(pt);
    // The pointer changes at once, even if no message is handled before the work ends.
    if (under == hwnd() || ::IsChild(hwnd(), under)) ::SetCursor(::LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

void MainWindow::Flash(bool on) {
    if (!hwnd()) return;
    FLASHWINFO info{};
    info.cbSize = sizeof(info);
    info.hwnd = hwnd();
    // Until told to stop, even while in front: a silent alarm has nothing else to show for itself.
    info.dwFlags = on ? FLASHW_ALL | FLASHW_TIMER : FLASHW_STOP;
    ::FlashWindowEx(&info);
}

bool MainWindow::Locked() const {
    HWND box = Control(MainCtl::txtTime);
    return box && (::GetWindowLongPtrW(box, GWL_STYLE) & ES_READONLY);
}

void MainWindow::SetLocked(bool locked) {
    if (HWND box = Control(MainCtl::txtTime)) ::SendMessageW(box, EM_SETREADONLY, locked, 0);
}

Date MainWindow::CalendarDate() const {
    SYSTEMTIME st{};
    HWND calendar = Control(MainCtl::MonthView);
    if (!calendar || !::SendMessageW(calendar, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&st))) return {};
    return Date{st.wYear, st.wMonth, st.wDay};
}

void MainWindow::SetCalendarDate(const Date& day) {
    HWND calendar = Control(MainCtl::MonthView);
    if (!calendar || day.month < 1 || day.month > 12 || day.year < 1601 || day.year > 30827) return;
    SYSTEMTIME st = ToSystemTime(Date{day.year, day.month, ClampDay(day.year, day.month, day.day)});
    ::SendMessageW(calendar, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&st));
}

bool MainWindow::ShowHelpWindow(const std::string& documentPath) {
    if (!help_) help_ = std::make_unique<HelpWindow>(instance_, loop_);
    return help_->Open(Wide(documentPath));
}

void MainWindow::PopUpOptionsMenu() {
    if (!hwnd() || !trayMenu_) return;
    HMENU popup = ::GetSubMenu(trayMenu_.get(), 0);
    if (!popup) return;
    // Without the foreground the menu would not close when the user clicks elsewhere.
    ::SetForegroundWindow(hwnd());
    // At the pointer; at the icon when the keyboard opened it there.
    POINT pt;
    ::GetCursorPos(&pt);
    if (menuAnchor_) pt = *std::exchange(menuAnchor_, std::nullopt);
    ::TrackPopupMenuEx(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, pt.x, pt.y, hwnd(), nullptr);
    ::PostMessageW(hwnd(), WM_NULL, 0, 0);
}

}  // namespace chw::win32
