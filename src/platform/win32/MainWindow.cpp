#include "MainWindow.h"

#include <commctrl.h>

#include "app/FormTexts.h"
#include "app/MenuTexts.h"
#include "app/frmMain.h"
#include "ViewRules.h"
#include "resource.h"

namespace chw::win32 {

namespace {

constexpr wchar_t kClassName[] = L"ChimewellMain";
constexpr UINT_PTR kTimerId = 1;
constexpr UINT_PTR kReactivateTimerId = 2;
constexpr UINT kReactivateDelayMs = 300;
constexpr UINT kValidateMessage = WM_APP + 2;
constexpr UINT_PTR kSubclassId = 0xC4;
constexpr int kClientWidth = 5790, kClientHeight = 3150;  // twips

// The menu bar's pop-up menus, by position.
constexpr int kSettingsPosition = 0;
constexpr int kHelpPosition = 1;

struct CommandDef {
    int id;
    MainCtl control;
    void (frmMain::*handler)();
};

const CommandDef kCommands[] = {
    {IDM_STARTINSYSTEMTRAY, MainCtl::mnuStartInSystemTray, &frmMain::mnuStartInSystemTray_Click},
    {IDM_LOADWINAMPONSTART, MainCtl::mnuLoadWinAmpOnStart, &frmMain::mnuLoadWinAmpOnStart_Click},
    {IDM_MINIMIZETOTRAY, MainCtl::mnuMinimizeToTray, &frmMain::mnuMinimizeToTray_Click},
    {IDM_EXITAPP, MainCtl::mnuExitApp, &frmMain::mnuExitApp_Click},
    {IDM_CONFIGUREWINAMP, MainCtl::mnuConfigureWinAmp, &frmMain::mnuConfigureWinAmp_Click},
    {IDM_CONTENTS, MainCtl::mnuContents, &frmMain::mnuContents_Click},
    {IDM_UPDATE, MainCtl::mnuUpdate, &frmMain::mnuUpdate_Click},
    {IDM_ABOUT, MainCtl::mnuAbout, &frmMain::mnuAbout_Click},
    {IDM_SHOWAPP, MainCtl::mnuShowApp, &frmMain::mnuShowApp_Click},
    {IDM_CONFIGURE, MainCtl::mnuConfigure, &frmMain::mnuConfigure_Click},
    {IDM_STARTWINAMP, MainCtl::mnuStartWinAmp, &frmMain::mnuStartWinAmp_Click},
    {IDM_CLOSEWINAMP, MainCtl::mnuCloseWinAmp, &frmMain::mnuCloseWinAmp_Click},
    {IDM_SETALARM, MainCtl::mnuSetAlarm, &frmMain::mnuSetAlarm_Click},
    {IDM_POPUPHELP, MainCtl::mnuPopUpHelp, &frmMain::mnuPopUpHelp_Click},
    {IDM_EXIT, MainCtl::mnuExit, &frmMain::mnuExit_Click},
};

const CommandDef* CommandById(int id) {
    for (const auto& c : kCommands)
        if (c.id == id) return &c;
    return nullptr;
}

const CommandDef* CommandByControl(MainCtl control) {
    for (const auto& c : kCommands)
        if (c.control == control) return &c;
    return nullptr;
}

bool InTrayMenu(int id) { return id >= IDM_SHOWAPP && id <= IDM_EXIT; }

int ControlId(MainCtl control) {
    switch (control) {
        case MainCtl::MonthView: return IDC_MONTHVIEW;
        case MainCtl::Label1: return IDC_LABEL1;
        case MainCtl::lblDate: return IDC_LBLDATE;
        case MainCtl::Label2: return IDC_LABEL2;
        case MainCtl::txtTime: return IDC_TXTTIME;
        case MainCtl::cmdSet: return IDC_CMDSET;
        case MainCtl::cmdReset: return IDC_CMDRESET;
        case MainCtl::StatusBar1: return IDC_STATUSBAR1;
        default: return 0;
    }
}

std::wstring MenuText(HMENU menu, UINT item, UINT byFlag) {
    int n = ::GetMenuStringW(menu, item, nullptr, 0, byFlag);
    if (n <= 0) return {};
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    n = ::GetMenuStringW(menu, item, text.data(), n + 1, byFlag);
    text.resize(static_cast<size_t>(n > 0 ? n : 0));
    return text;
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, UiLoop& loop)
    : loop_(loop), dpi_(ScreenDpi()), timer_(kTimerId, true, 1000) {
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
    trayMenu_ = UniqueMenu(::LoadMenuW(instance, MAKEINTRESOURCEW(IDR_TRAYMENU)));
    accel_ = ::LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    hidden_[MainCtl::mnuConfigureWinAmp] = HiddenItem{CHW_MNUCONFIGUREWINAMP};
    hidden_[MainCtl::mnuOptions] = HiddenItem{CHW_MNUOPTIONS};
    hidden_[MainCtl::mnuConfigure] = HiddenItem{CHW_MNUCONFIGURE};
    taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");

    CreateControls(instance);
    tray_ = std::make_unique<TrayIcon>(instance, hwnd());
    timer_.Attach(hwnd());
    // Start with keyboard cues hidden until the keyboard is used, as dialogs do.
    ::SendMessageW(hwnd(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, 0), 0);
}

MainWindow::~MainWindow() {
    timer_.Detach();
    if (tray_) tray_->Remove();
    DestroyNow();
    if (toolTips_ && ::IsWindow(toolTips_)) ::DestroyWindow(toolTips_);
}

void MainWindow::CreateControls(HINSTANCE instance) {
    formFont_ = MakeFont(L"MS Sans Serif", 8, dpi_);
    comicFont_ = MakeFont(L"Comic Sans MS", 8, dpi_);
    skins_ = std::make_unique<SkinButtons>(instance, comicFont_.get());

    auto make = [&](const wchar_t* cls, int id, const wchar_t* text, DWORD style, const TwipsRect& place,
                    HFONT font, DWORD exStyle = 0) {
        RECT r = ToPixels(place, dpi_);
        HWND h = ::CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
                                   r.bottom - r.top, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   instance, nullptr);
        if (h && font) ::SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        return h;
    };

    // Creation order is the tab order: MonthView, cmdReset, cmdSet, txtTime, StatusBar1. Each label is
    // created just before the control it names, so screen readers take it as that control's name.
    // The calendar has no caption of its own: a hidden label names it for screen readers.
    HWND calendarName = make(L"STATIC", IDC_MONTHVIEW_NAME, Wide(texts::kTipMonthView).c_str(), SS_NOPREFIX,
                             {240, 360, 2640, 255}, nullptr);
    ::ShowWindow(calendarName, SW_HIDE);
    HWND calendar = make(MONTHCAL_CLASSW, IDC_MONTHVIEW, L"", WS_TABSTOP, {240, 360, 2640, 2310}, formFont_.get());
    ::SetWindowSubclass(calendar, &MainWindow::CalendarProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));

    skins_->Create(hwnd(), IDC_CMDRESET, Wide(texts::kCmdReset).c_str(), ToPixels({4440, 2160, 1110, 330}, dpi_),
                   instance);
    skins_->Create(hwnd(), IDC_CMDSET, Wide(texts::kCmdSet).c_str(), ToPixels({3000, 2160, 1110, 330}, dpi_),
                   instance);

    make(L"STATIC", IDC_LABEL1, Wide(texts::kLabel1).c_str(), SS_LEFTNOWORDWRAP | SS_NOPREFIX,
         {3000, 360, 1095, 255}, formFont_.get());
    make(L"STATIC", IDC_LBLDATE, L"", SS_LEFTNOWORDWRAP | SS_NOPREFIX, {4200, 360, 1095, 255}, formFont_.get());
    make(L"STATIC", IDC_LABEL2, Wide(texts::kLabel2).c_str(), SS_LEFTNOWORDWRAP | SS_NOPREFIX,
         {3000, 1200, 2775, 255}, formFont_.get());
    HWND timeBox = make(L"EDIT", IDC_TXTTIME, L"", WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL | ES_READONLY,
                        {3000, 1560, 1215, 315}, formFont_.get(), WS_EX_CLIENTEDGE);
    ::SetWindowSubclass(timeBox, &MainWindow::TimeBoxProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));

    HWND status = ::CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_TOOLTIPS, 0, 0, 0, 0,
                                    hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_STATUSBAR1)), instance,
                                    nullptr);
    ::SendMessageW(status, WM_SETFONT, reinterpret_cast<WPARAM>(comicFont_.get()), FALSE);
    int whole = -1;
    ::SendMessageW(status, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&whole));
    int borders[3] = {};
    ::SendMessageW(status, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    ::SendMessageW(status, SB_SETMINHEIGHT, static_cast<WPARAM>(Twips(375, dpi_) - 2 * borders[1]), 0);
    ::SendMessageW(status, WM_SIZE, 0, 0);
    ::SendMessageW(status, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(Wide(texts::kStatusBar).c_str()));
    Arrange();

    toolTips_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr,
                                  instance, nullptr);
    ::SendMessageW(toolTips_, TTM_SETMAXTIPWIDTH, 0, ::MulDiv(320, dpi_, 96));
    SetToolTip(MainCtl::MonthView, texts::kTipMonthView);
    SetToolTip(MainCtl::txtTime, texts::kTipTxtTime);
    SetToolTip(MainCtl::cmdSet, texts::kTipCmdSet);
    SetToolTip(MainCtl::cmdReset, texts::kTipCmdReset);
    SetToolTip(MainCtl::StatusBar1, texts::kTipStatusBar);
}

namespace {

int TextWidth(HWND control) {
    std::wstring text = WindowTextW(control);
    WindowDC dc(control);
    SelectObj keep(dc.get(), reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE extent{};
    ::GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
    return extent.cx;
}

RECT PlaceOf(HWND control, HWND parent) {
    RECT r{};
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace

// The designed sizes are a minimum: where this machine's fonts need more room (the calendar above all),
// a control grows, the column beside it moves right by as much, and the window grows to hold them.
void MainWindow::Arrange() {
    HWND calendar = Item(IDC_MONTHVIEW);
    if (!calendar) return;
    RECT cal = PlaceOf(calendar, hwnd());
    RECT need{};
    ::SendMessageW(calendar, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&need));
    Placement layout = ArrangeMain(
        {cal.right - cal.left, cal.bottom - cal.top}, {need.right - need.left, need.bottom - need.top},
        TextWidth(Item(IDC_LABEL1)), TextWidth(Item(IDC_LABEL2)), dpi_);

    ::SetWindowPos(calendar, nullptr, 0, 0, layout.calendar.cx, layout.calendar.cy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (int id : {IDC_LABEL1, IDC_LBLDATE, IDC_LABEL2, IDC_TXTTIME, IDC_CMDSET, IDC_CMDRESET}) {
        HWND h = Item(id);
        if (!h) continue;
        RECT r = PlaceOf(h, hwnd());
        int width = r.right - r.left, shift = layout.columnShift;
        if (id == IDC_LABEL1) width = layout.label1Width;
        if (id == IDC_LABEL2) width = layout.label2Width;
        if (id == IDC_LBLDATE) shift += layout.dateShift;
        ::SetWindowPos(h, nullptr, r.left + shift, r.top, width, r.bottom - r.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetClientSize(layout.client.cx, layout.client.cy);
}

// The menu bar may wrap and take more room than one line: the client area gets the size asked for.
void MainWindow::SetClientSize(int width, int height) {
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(hwnd(), GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrW(hwnd(), GWL_EXSTYLE));
    RECT frame{0, 0, width, height};
    ::AdjustWindowRectEx(&frame, style, ::GetMenu(hwnd()) != nullptr, exStyle);
    ::SetWindowPos(hwnd(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client;
    ::GetClientRect(hwnd(), &client);
    int extra = height - (client.bottom - client.top);
    if (extra > 0) {
        RECT window;
        ::GetWindowRect(hwnd(), &window);
        ::SetWindowPos(hwnd(), nullptr, 0, 0, window.right - window.left, window.bottom - window.top + extra,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// ---- Controls and menu items by name ----

HWND MainWindow::Control(MainCtl control) const {
    if (!hwnd()) return nullptr;
    if (control == MainCtl::Form) return hwnd();
    int id = ControlId(control);
    return id ? Item(id) : nullptr;
}

// Where a menu item lives: the menu bar (its pop-ups by position, items by command), the tray's pop-up
// menu, or nowhere (the items that are never shown).
HMENU MainWindow::MenuHolding(MainCtl control, UINT& item, UINT& byFlag) const {
    if (control == MainCtl::mnuSettings || control == MainCtl::mnuHelp) {
        item = control == MainCtl::mnuSettings ? kSettingsPosition : kHelpPosition;
        byFlag = MF_BYPOSITION;
        return hwnd() ? ::GetMenu(hwnd()) : nullptr;
    }
    if (hidden_.count(control)) return nullptr;
    const CommandDef* command = CommandByControl(control);
    if (!command) return nullptr;
    item = static_cast<UINT>(command->id);
    byFlag = MF_BYCOMMAND;
    return InTrayMenu(command->id) ? trayMenu_.get() : (hwnd() ? ::GetMenu(hwnd()) : nullptr);
}

std::string MainWindow::Caption(MainCtl control) const {
    if (auto it = hidden_.find(control); it != hidden_.end()) return it->second.caption;
    UINT item = 0, by = 0;
    if (HMENU menu = MenuHolding(control, item, by)) return Utf8(CaptionPart(MenuText(menu, item, by)));
    HWND h = Control(control);
    if (!h || control == MainCtl::MonthView) return {};
    if (control == MainCtl::StatusBar1) {
        LRESULT info = ::SendMessageW(h, SB_GETTEXTLENGTHW, 0, 0);
        std::wstring text(LOWORD(info) + 1u, L'\0');
        ::SendMessageW(h, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text.data()));
        text.resize(LOWORD(info));
        return Utf8(text);
    }
    return Utf8(WindowTextW(h));
}

void MainWindow::SetCaption(MainCtl control, const std::string& text) {
    if (auto it = hidden_.find(control); it != hidden_.end()) {
        it->second.caption = text;
        return;
    }
    UINT item = 0, by = 0;
    if (HMENU menu = MenuHolding(control, item, by)) {
        // Keep the shortcut shown beside the caption.
        std::wstring full = Wide(text) + ShortcutPart(MenuText(menu, item, by));
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STRING;
        info.dwTypeData = full.data();
        ::SetMenuItemInfoW(menu, item, by == MF_BYPOSITION, &info);
        if (menu == ::GetMenu(hwnd())) ::DrawMenuBar(hwnd());
        return;
    }
    HWND h = Control(control);
    if (!h || control == MainCtl::MonthView) return;
    std::wstring wide = Wide(text);
    if (control == MainCtl::StatusBar1)
        ::SendMessageW(h, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    else
        ::SetWindowTextW(h, wide.c_str());
}

bool MainWindow::Enabled(MainCtl control) const {
    if (auto it = hidden_.find(control); it != hidden_.end()) return it->second.enabled;
    UINT item = 0, by = 0;
    if (HMENU menu = MenuHolding(control, item, by)) {
        UINT state = ::GetMenuState(menu, item, by);
        return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
    }
    HWND h = Control(control);
    return h && ::IsWindowEnabled(h);
}

void MainWindow::SetEnabled(MainCtl control, bool enabled) {
    if (auto it = hidden_.find(control); it != hidden_.end()) {
        it->second.enabled = enabled;
        return;
    }
    UINT item = 0, by = 0;
    if (HMENU menu = MenuHolding(control, item, by)) {
        ::EnableMenuItem(menu, item, by | (enabled ? MF_ENABLED : MF_GRAYED));
        if (menu == ::GetMenu(hwnd())) ::DrawMenuBar(hwnd());
        return;
    }
    if (HWND h = Control(control)) ::EnableWindow(h, enabled);
}

bool MainWindow::Checked(MainCtl control) const {
    if (auto it = hidden_.find(control); it != hidden_.end()) return it->second.checked;
    UINT item = 0, by = 0;
    if (HMENU menu = MenuHolding(control, item, by)) {
        UINT state = ::GetMenuState(menu, item, by);
        return state != static_cast<UINT>(-1) && (state & MF_CHECKED);
    }
    return false;
}

void MainWindow::SetChecked(MainCtl control, bool checked) {
    if (auto it = hidden_.find(control); it != hidden_.end()) {
        it->second.checked = checked;
        return;
    }
    UINT item = 0, by = 0;
    if (HMENU menu = MenuHolding(control, item, by)) ::CheckMenuItem(menu, item, by | (checked ? MF_CHECKED : MF_UNCHECKED));
}

std::string MainWindow::ToolTip(MainCtl control) const {
    auto it = tipTexts_.find(control);
    return it == tipTexts_.end() ? std::string() : it->second;
}

void MainWindow::SetToolTip(MainCtl control, const std::string& text) {
    bool known = tipTexts_.count(control) != 0;
    tipTexts_[control] = text;
    HWND h = Control(control);
    if (!toolTips_ || !h || control == MainCtl::Form) return;
    std::wstring wide = Wide(text);
    TTTOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = hwnd();
    info.uId = reinterpret_cast<UINT_PTR>(h);
    info.lpszText = wide.data();
    ::SendMessageW(toolTips_, known ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void MainWindow::SetFocus(MainCtl control) {
    if (HWND h = Control(control)) ::SetFocus(h);
}

// ---- The window ----

void MainWindow::Show() {
    if (!hwnd()) return;
    ::ShowWindow(hwnd(), ::IsIconic(hwnd()) ? SW_RESTORE : SW_SHOW);
}

void MainWindow::Hide() {
    if (hwnd()) ::ShowWindow(hwnd(), SW_HIDE);
}

void MainWindow::ShowState(int showCommand) {
    if (hwnd()) ::ShowWindow(hwnd(), showCommand);
}

void MainWindow::Activate() {
    if (!hwnd() || !::IsWindowVisible(hwnd())) return;  // a window in the tray stays there
    ::SetForegroundWindow(hwnd());
    // When another program's window was just hidden, its deactivation can still arrive after this
    // and leave the keyboard with no window at all; look once more when things have settled.
    ::SetTimer(hwnd(), kReactivateTimerId, kReactivateDelayMs, nullptr);
    HWND focus = ::GetFocus();
    if (focus != hwnd() && !::IsChild(hwnd(), focus)) ::SetFocus(hwnd());
}

void MainWindow::Repaint() {
    if (hwnd())
        ::RedrawWindow(hwnd(), nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
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

void MainWindow::ChangeCalendar(int year, int month, int day) {
    HWND calendar = Control(MainCtl::MonthView);
    if (!calendar || month < 1 || month > 12 || year < 1601 || year > 30827) return;
    day = ClampDay(year, month, day);
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(year);
    st.wMonth = static_cast<WORD>(month);
    st.wDay = static_cast<WORD>(day);
    ::SendMessageW(calendar, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&st));
}

void MainWindow::SetCalendarMonth(int month) {
    Date d = CalendarDate();
    ChangeCalendar(d.year, month, d.day);
}

void MainWindow::SetCalendarDay(int day) {
    Date d = CalendarDate();
    ChangeCalendar(d.year, d.month, day);
}

void MainWindow::SetCalendarYear(int year) {
    Date d = CalendarDate();
    ChangeCalendar(year, d.month, d.day);
}

void MainWindow::PopUpOptionsMenu() {
    if (!hwnd() || !trayMenu_) return;
    HMENU popup = ::GetSubMenu(trayMenu_.get(), 0);
    if (!popup) return;
    // Without the foreground the menu would not close when the user clicks elsewhere.
    ::SetForegroundWindow(hwnd());
    POINT pt;
    ::GetCursorPos(&pt);
    ::TrackPopupMenuEx(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, pt.x, pt.y, hwnd(), nullptr);
    ::PostMessageW(hwnd(), WM_NULL, 0, 0);
}

// ---- Events ----

void MainWindow::Fire(const std::function<void(frmMain&)>& handler) {
    if (logic_) Guarded([&] { handler(*logic_); });
}

void MainWindow::Hold(std::function<void(frmMain&)> handler, HWND from) {
    held_ = std::move(handler);
    heldFrom_ = from;
}

void MainWindow::FireOrHold(std::function<void(frmMain&)> handler, HWND from) {
    if (validationDue_ || validating_)
        Hold(std::move(handler), from);
    else
        Fire(handler);
}

void MainWindow::CalendarClick() {
    HWND calendar = Control(MainCtl::MonthView);
    if (!calendar || !::IsWindowEnabled(calendar)) return;
    Date clicked = CalendarDate();
    FireOrHold([clicked](frmMain& f) { f.MonthView_DateClick(clicked); }, calendar);
}

// The keyboard's way into the locked time box, as a click there: the typing replaces what it shows.
void MainWindow::StartTyping() {
    HWND box = Control(MainCtl::txtTime);
    if (!box || !::IsWindowEnabled(box)) return;
    Fire([](frmMain& f) { f.txtTime_Click(); });
    if (!Locked()) ::SendMessageW(box, EM_SETSEL, 0, -1);
}

// Enter after typing a time: on to the button that arms, which leaves the box and so validates it.
void MainWindow::FinishTyping() {
    HWND box = Control(MainCtl::txtTime);
    HWND next = Item(IDC_CMDSET);
    if (!next || !::IsWindowEnabled(next)) next = ::GetNextDlgTabItem(hwnd(), box, FALSE);
    if (next && next != box) ::SetFocus(next);
}

void MainWindow::RunValidation() {
    validationDue_ = false;
    HWND box = Control(MainCtl::txtTime);
    if (!logic_ || !box || ::GetFocus() == box) {
        // The focus came back before we got here: nothing was left.
        held_ = nullptr;
        return;
    }
    validating_ = true;
    bool cancel = false;
    Fire([&cancel](frmMain& f) { f.txtTime_Validate(cancel); });
    validating_ = false;
    auto held = std::move(held_);
    HWND from = heldFrom_;
    held_ = nullptr;
    heldFrom_ = nullptr;
    if (cancel) {
        ::SetFocus(box);
        return;
    }
    // When the validation showed no box the press is still going on, and its own event will follow.
    bool pressGoesOn = from && ::GetCapture() == from && (::GetKeyState(VK_LBUTTON) & 0x8000);
    if (held && !pressGoesOn && (!from || ::IsWindowEnabled(from))) Fire(held);
}

bool MainWindow::MenuItemEnabled(int id) const {
    const CommandDef* command = CommandById(id);
    if (!command || !Enabled(command->control)) return false;
    // An item of a disabled pop-up cannot be chosen either (its shortcut included).
    if (id == IDM_STARTINSYSTEMTRAY || id == IDM_LOADWINAMPONSTART || id == IDM_MINIMIZETOTRAY || id == IDM_EXITAPP ||
        id == IDM_CONFIGUREWINAMP)
        return Enabled(MainCtl::mnuSettings);
    if (id == IDM_CONTENTS || id == IDM_UPDATE || id == IDM_ABOUT) return Enabled(MainCtl::mnuHelp);
    return Enabled(MainCtl::mnuOptions);
}

void MainWindow::OnMenuCommand(int id) {
    const CommandDef* command = CommandById(id);
    if (!command || !MenuItemEnabled(id)) return;
    auto handler = command->handler;
    Fire([handler](frmMain& f) { (f.*handler)(); });
}

void MainWindow::OnCommand(int id, int code, HWND control) {
    if (id == IDC_CMDSET || id == IDC_CMDRESET) {
        if (code != BN_CLICKED && code != BN_DOUBLECLICKED) return;  // a quick second press is a click too
        if (!::IsWindowEnabled(Item(id))) return;
        if (id == IDC_CMDSET)
            FireOrHold([](frmMain& f) { f.cmdSet_Click(); }, Item(id));
        else
            FireOrHold([](frmMain& f) { f.cmdReset_Click(); }, Item(id));
        return;
    }
    if (id == IDOK && !control) {
        // Enter from the keyboard navigation: it presses the focused skinned button.
        HWND focus = ::GetFocus();
        if (focus == Item(IDC_CMDSET) || focus == Item(IDC_CMDRESET))
            OnCommand(::GetDlgCtrlID(focus), BN_CLICKED, focus);
        return;
    }
    if (!control) OnMenuCommand(id);
}

LRESULT MainWindow::OnNotify(const NMHDR& header) {
    if (header.idFrom != IDC_MONTHVIEW) return 0;
    const auto& change = reinterpret_cast<const NMSELCHANGE&>(header);
    Date picked{change.stSelStart.wYear, change.stSelStart.wMonth, change.stSelStart.wDay};
    auto click = [picked](frmMain& f) { f.MonthView_DateClick(picked); };
    if (header.code == MCN_SELECT) {
        FireOrHold(click, header.hwndFrom);
    } else if (header.code == MCN_SELCHANGE && (validationDue_ || validating_) && (::GetKeyState(VK_LBUTTON) & 0x8000)) {
        // A day pressed while the time box is being left: the validation's boxes take the press away
        // before the calendar reports the click, so remember it now.
        MCHITTESTINFO hit{};
        hit.cbSize = sizeof(hit);
        ::GetCursorPos(&hit.pt);
        ::ScreenToClient(header.hwndFrom, &hit.pt);
        ::SendMessageW(header.hwndFrom, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        if ((hit.uHit & MCHT_CALENDARDATE) == MCHT_CALENDARDATE) Hold(click, header.hwndFrom);
    }
    return 0;
}

void MainWindow::OnClose(bool& cancel, int unloadMode) {
    cancel = false;
    Fire([&cancel, unloadMode](frmMain& f) { f.Form_QueryUnload(cancel, unloadMode); });
}

LRESULT MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return 0;
        case WM_NOTIFY:
            return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item.CtlType == ODT_BUTTON && skins_) {
                skins_->Draw(item);
                return TRUE;
            }
            break;
        }
        case WM_SIZE:
            // The status bar keeps itself along the bottom edge when told of the new size.
            if (HWND status = Item(IDC_STATUSBAR1)) ::SendMessageW(status, WM_SIZE, 0, 0);
            break;
        case WM_CTLCOLORSTATIC:
            // A locked time box still looks like a box to type in.
            if (reinterpret_cast<HWND>(lParam) == Control(MainCtl::txtTime) &&
                ::IsWindowEnabled(reinterpret_cast<HWND>(lParam))) {
                HDC dc = reinterpret_cast<HDC>(wParam);
                ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
                ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
                return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
            }
            break;
        case WM_TIMER:
            if (wParam == kReactivateTimerId) {
                ::KillTimer(hwnd(), kReactivateTimerId);
                // Only take back a foreground that nobody holds: the user may have moved on meanwhile.
                HWND foreground = ::GetForegroundWindow();
                if (::IsWindowVisible(hwnd()) &&
                    (!foreground || foreground == ::GetDesktopWindow() || !::IsWindowVisible(foreground)))
                    ::SetForegroundWindow(hwnd());
                return 0;
            }
            if (wParam == timer_.Id()) {
                // A tick can show a message box, whose modal loop would deliver the next tick.
                if (!inTick_) {
                    inTick_ = true;
                    Fire([](frmMain& f) { f.MyTimer_Timer(); });
                    inTick_ = false;
                }
                return 0;
            }
            break;
        case TrayIcon::kCallbackMessage:
            if (tray_) {
                int button = tray_->ButtonOf(lParam);
                if (button) Fire([button](frmMain& f) { f.SysTray_MouseDown(button); });
            }
            return 0;
        case kValidateMessage:
            RunValidation();
            return 0;
        case WM_ACTIVATE:
            // Keep the focused control across deactivation, as dialogs do.
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = ::GetFocus();
                if (::IsChild(hwnd(), focus)) lastFocus_ = focus;
                return 0;
            }
            if (lastFocus_ && ::IsWindow(lastFocus_) && ::IsChild(hwnd(), lastFocus_) && ::IsWindowEnabled(lastFocus_) &&
                !HIWORD(wParam)) {
                ::SetFocus(lastFocus_);
                return 0;
            }
            break;
        case WM_SETFOCUS: {
            HWND target = lastFocus_ && ::IsWindow(lastFocus_) && ::IsWindowEnabled(lastFocus_)
                              ? lastFocus_
                              : ::GetNextDlgTabItem(hwnd(), nullptr, FALSE);
            if (target) ::SetFocus(target);
            return 0;
        }
        case WM_SETCURSOR:
            if (busy_) {
                ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
                return TRUE;
            }
            break;
        case WM_CLOSE: {
            bool cancel = false;
            OnClose(cancel, 0);
            if (!cancel) DestroyNow();
            return 0;
        }
        case WM_QUERYENDSESSION: {
            bool cancel = false;
            OnClose(cancel, 2);
            return cancel ? FALSE : TRUE;
        }
        case WM_DESTROY:
            timer_.Detach();
            if (tray_) tray_->Remove();
            ::PostQuitMessage(0);
            return 0;
        default:
            if (message == taskbarCreated_ && message != 0) {
                if (tray_) tray_->OnTaskbarCreated();
                return 0;
            }
            break;
    }
    return Default(message, wParam, lParam);
}

// The time box reports a mouse click, and the moment the focus is about to leave it for another
// control of this window (not for another program): then the validation runs.
LRESULT CALLBACK MainWindow::TimeBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR data) noexcept {
    auto* self = reinterpret_cast<MainWindow*>(data);
    try {
        switch (message) {
            case WM_GETDLGCODE: {
                // Enter belongs to the box: it starts and ends the typing of a time.
                LRESULT code = ::DefSubclassProc(hwnd, message, wParam, lParam);
                const MSG* msg = reinterpret_cast<const MSG*>(lParam);
                if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) code |= DLGC_WANTMESSAGE;
                return code;
            }
            case WM_KEYDOWN:
                if (wParam == VK_RETURN) {
                    if (self->Locked())
                        self->StartTyping();
                    else
                        self->FinishTyping();
                    return 0;
                }
                break;
            case WM_CHAR:
                if (wParam == L'\r') return 0;  // handled as a key; a single-line box would only beep
                // Typing a digit into the locked box is the keyboard's click: the digit then goes in.
                if (wParam >= L'0' && wParam <= L'9' && self->Locked()) self->StartTyping();
                break;
            case WM_LBUTTONDOWN:
                self->timeBoxPressed_ = true;
                break;
            case WM_LBUTTONUP: {
                LRESULT result = ::DefSubclassProc(hwnd, message, wParam, lParam);
                if (self->timeBoxPressed_) {
                    self->timeBoxPressed_ = false;
                    self->Fire([](frmMain& f) { f.txtTime_Click(); });
                }
                return result;
            }
            case WM_KILLFOCUS: {
                self->timeBoxPressed_ = false;
                HWND next = reinterpret_cast<HWND>(wParam);
                HWND main = self->hwnd();
                if (!self->validating_ && !self->validationDue_ && next && next != hwnd &&
                    (next == main || ::IsChild(main, next))) {
                    // Validated from the queue: its message boxes must not run inside a focus change.
                    self->validationDue_ = true;
                    ::PostMessageW(main, kValidateMessage, 0, 0);
                    // A button pressed with the mouse: the validation's boxes take the press away before
                    // it becomes a click, so the click is remembered now.
                    int id = ::GetDlgCtrlID(next);
                    if ((id == IDC_CMDSET || id == IDC_CMDRESET) && (::GetKeyState(VK_LBUTTON) & 0x8000)) {
                        if (id == IDC_CMDSET)
                            self->Hold([](frmMain& f) { f.cmdSet_Click(); }, next);
                        else
                            self->Hold([](frmMain& f) { f.cmdReset_Click(); }, next);
                    }
                }
                break;
            }
            case WM_NCDESTROY:
                ::RemoveWindowSubclass(hwnd, &MainWindow::TimeBoxProc, kSubclassId);
                break;
            default:
                break;
        }
    } catch (...) {
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

// Enter or Space on the calendar counts as a click of the selected day.
LRESULT CALLBACK MainWindow::CalendarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR data) noexcept {
    auto* self = reinterpret_cast<MainWindow*>(data);
    try {
        switch (message) {
            case WM_GETDLGCODE: {
                LRESULT code = ::DefSubclassProc(hwnd, message, wParam, lParam);
                const MSG* msg = reinterpret_cast<const MSG*>(lParam);
                if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) code |= DLGC_WANTMESSAGE;
                return code;
            }
            case WM_KEYDOWN:
                if (wParam == VK_RETURN || wParam == VK_SPACE) {
                    self->CalendarClick();
                    return 0;
                }
                break;
            case WM_NCDESTROY:
                ::RemoveWindowSubclass(hwnd, &MainWindow::CalendarProc, kSubclassId);
                break;
            default:
                break;
        }
    } catch (...) {
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace chw::win32
