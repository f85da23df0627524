// The main window's events: commands, notifications, the timer, the tray, closing, and the time box.
#include "MainWindow.h"

#include <commctrl.h>

#include "MainWindowParts.h"
#include "ViewRules.h"
#include "alarm/Repeat.h"

namespace chw::win32 {

using namespace mainwindow;

// ---- Events ----

HandlerQueue::Handler MainWindow::Bound(LogicHandler handler) {
    return [this, handler = std::move(handler)] {
        if (logic_) handler(*logic_);
    };
}

void MainWindow::Post(LogicHandler handler, HandlerQueue::Kind kind) {
    if (logic_) queue_.Submit(Bound(std::move(handler)), kind);
}

void MainWindow::ClickFrom(LogicHandler handler, HWND from) {
    if (logic_) queue_.Click(Bound(std::move(handler)), HandleOf(from));
}

void MainWindow::Wake() { ::PostMessageW(hwnd(), kRunWaitingMessage, 0, 0); }

void MainWindow::Settled() {
    if (logic_) logic_->RefreshTrayTip();
}

void MainWindow::CalendarClick() {
    HWND calendar = Control(MainCtl::MonthView);
    if (!calendar || !::IsWindowEnabled(calendar)) return;
    Date clicked = CalendarDate();
    ClickFrom([clicked](frmMain& f) { f.MonthView_DateClick(clicked); }, calendar);
}

// The keyboard's way into the locked time box, as a click there: the typing replaces what it shows.
void MainWindow::StartTyping() {
    HWND box = Control(MainCtl::txtTime);
    if (!box || !::IsWindowEnabled(box)) return;
    Post([](frmMain& f) { f.txtTime_Click(); });
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
    HandlerQueue::Validation validation;
    validation.boxStillLeft = [this] {
        HWND box = Control(MainCtl::txtTime);
        return logic_ && box && ::GetFocus() != box;
    };
    validation.refuses = [this] {
        bool cancel = false;
        if (logic_) logic_->txtTime_Validate(cancel);
        return cancel;
    };
    validation.refused = [this] { ::SetFocus(Control(MainCtl::txtTime)); };
    validation.takes = [](WindowHandle handle) {
        // When the validation showed no box the press is still going on, and its own event will follow.
        HWND from = WindowOf(handle);
        bool pressGoesOn = from && ::GetCapture() == from && (::GetKeyState(VK_LBUTTON) & 0x8000);
        return !pressGoesOn && (!from || ::IsWindowEnabled(from));
    };
    queue_.Validate(validation);
}

void MainWindow::OnMenuCommand(int id) {
    const CommandDef* command = FindCommand(&CommandDef::id, id);
    if (!command || !command->handler || !MenuItemEnabled(id)) return;
    auto handler = command->handler;
    Post([handler](frmMain& f) { (f.*handler)(); });
}

void MainWindow::OnCommand(int id, int code, HWND control) {
    if (id == IDC_CMDSET || id == IDC_CMDRESET) {
        if (code != BN_CLICKED && code != BN_DOUBLECLICKED) return;  // a quick second press is a click too
        if (!::IsWindowEnabled(Item(id))) return;
        ClickFrom(ButtonHandler(id), Item(id));
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
        ClickFrom(click, header.hwndFrom);
    } else if (header.code == MCN_SELCHANGE && queue_.Closed() && (::GetKeyState(VK_LBUTTON) & 0x8000)) {
        // A day pressed while the time box is being left: the validation's boxes take the press away
        // before the calendar reports the click, so remember it now.
        MCHITTESTINFO hit{};
        hit.cbSize = sizeof(hit);
        ::GetCursorPos(&hit.pt);
        ::ScreenToClient(header.hwndFrom, &hit.pt);
        ::SendMessageW(header.hwndFrom, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        if ((hit.uHit & MCHT_CALENDARDATE) == MCHT_CALENDARDATE) queue_.Hold(Bound(click), HandleOf(header.hwndFrom));
    }
    return 0;
}

bool MainWindow::KeptOpen(int unloadMode) {
    return queue_.Ask([this, unloadMode] {
        bool keep = false;
        if (logic_) logic_->Form_QueryUnload(keep, unloadMode);
        return keep;
    });
}

void MainWindow::CloseRequest(int unloadMode) {
    if (!KeptOpen(unloadMode)) DestroyNow();
}

LRESULT MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)); return 0;
        case WM_NOTIFY: return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_DRAWITEM: return OnDrawItem(wParam, lParam);
        case WM_SIZE: return OnSize(wParam, lParam);
        case WM_DPICHANGED: return OnDpiChanged(wParam, lParam);
        case WM_SYSCOLORCHANGE:
        case WM_SETTINGCHANGE: return OnSystemColours(message, wParam, lParam);
        case WM_CTLCOLORSTATIC: return OnCtlColorStatic(wParam, lParam);
        case WM_TIMER: return OnTimer(wParam, lParam);
        case TrayIcon::kCallbackMessage: return OnTrayCallback(wParam, lParam);
        case kValidateMessage: RunValidation(); return 0;
        case WM_ACTIVATE: return OnActivate(wParam, lParam);
        case WM_SETFOCUS: return OnSetFocus();
        case WM_SETCURSOR: return OnSetCursor(wParam, lParam);
        case WM_CLOSE: queue_.Submit([this] { CloseRequest(0); }, HandlerQueue::Kind::Step); return 0;
        case WM_TIMECHANGE: Post([](frmMain& f) { f.Form_TimeChange(); }); return 0;
        case WM_QUERYENDSESSION: return OnQueryEndSession(lParam);
        case kRunWaitingMessage: queue_.RunWaiting(); return 0;
        case WM_DESTROY: return OnDestroy();
        default: break;
    }
    if (message == taskbarCreated_ && message != 0) {
        if (tray_) tray_->OnTaskbarCreated();
        return 0;
    }
    return Default(message, wParam, lParam);
}

LRESULT MainWindow::OnDrawItem(WPARAM wParam, LPARAM lParam) {
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item.CtlType == ODT_BUTTON && skins_) {
        skins_->Draw(item);
        return TRUE;
    }
    return Default(WM_DRAWITEM, wParam, lParam);
}

LRESULT MainWindow::OnSize(WPARAM wParam, LPARAM lParam) {
    // The status bar keeps itself along the bottom edge when told of the new size.
    if (HWND status = Item(IDC_STATUSBAR1)) ::SendMessageW(status, WM_SIZE, 0, 0);
    SetStatusParts();
    return Default(WM_SIZE, wParam, lParam);
}

// Moved to a monitor of another scale, or the scale changed: the window takes the place Windows
// suggests and lays itself out again for the new DPI.
LRESULT MainWindow::OnDpiChanged(WPARAM wParam, LPARAM lParam) {
    dpi_ = DpiChangedDpi(wParam);
    TakeSuggestedRect(hwnd(), lParam);
    ApplyDpi();
    if (tray_) tray_->ReloadIcons();
    RedrawAll(RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    return 0;
}

// The user's colours or a high-contrast theme changed: the skinned buttons follow, and the common
// controls hear of new colours only from their parent.
LRESULT MainWindow::OnSystemColours(UINT message, WPARAM wParam, LPARAM lParam) {
    if (skins_) skins_->SetHighContrast(HighContrastOn());
    if (message == WM_SYSCOLORCHANGE) {
        for (HWND child = ::GetWindow(hwnd(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
            ::SendMessageW(child, WM_SYSCOLORCHANGE, wParam, lParam);
        ::InvalidateRect(hwnd(), nullptr, TRUE);
    }
    return Default(message, wParam, lParam);
}

LRESULT MainWindow::OnCtlColorStatic(WPARAM wParam, LPARAM lParam) {
    // A locked time box still looks like a box to type in.
    HWND control = reinterpret_cast<HWND>(lParam);
    if (control == Control(MainCtl::txtTime) && ::IsWindowEnabled(control)) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
        ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
    }
    return Default(WM_CTLCOLORSTATIC, wParam, lParam);
}

LRESULT MainWindow::OnTimer(WPARAM wParam, LPARAM lParam) {
    if (wParam == kReactivateTimerId) {
        ::KillTimer(hwnd(), kReactivateTimerId);
        HWND foreground = ::GetForegroundWindow();
        bool held = foreground && foreground != ::GetDesktopWindow() && ::IsWindowVisible(foreground);
        if (FocusPolicy::TakeForeground(::IsWindowVisible(hwnd()), held)) ::SetForegroundWindow(hwnd());
        return 0;
    }
    if (tray_ && tray_->OnTimer(wParam)) return 0;
    if (wParam == timer_.Id()) {
        // The watch goes on inside any box, also one that a message sent by another thread opened (those
        // handlers otherwise wait): a tick inside the boxes of a tick is kept from the alarm by the logic.
        if (timer_.OnTick()) Post([](frmMain& f) { f.MyTimer_Timer(); }, HandlerQueue::Kind::Tick);
        return 0;
    }
    return Default(WM_TIMER, wParam, lParam);
}

LRESULT MainWindow::OnTrayCallback(WPARAM wParam, LPARAM lParam) {
    if (tray_) {
        menuAnchor_ = tray_->AnchorOf(wParam, lParam);
        int button = tray_->ButtonOf(lParam);
        if (button) Post([button](frmMain& f) { f.SysTray_MouseDown(button); });
    }
    return 0;
}

LRESULT MainWindow::OnActivate(WPARAM wParam, LPARAM lParam) {
    FocusPolicy::Facts now;
    HWND focus = ::GetFocus();
    if (::IsChild(hwnd(), focus)) now.focus = HandleOf(focus);
    now.minimised = HIWORD(wParam) != 0;
    HWND under = nullptr;
    if (LOWORD(wParam) == WA_CLICKACTIVE) {
        POINT at{};
        ::GetCursorPos(&at);
        ::ScreenToClient(hwnd(), &at);
        under = ::ChildWindowFromPointEx(hwnd(), at, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED);
        now.clickedTakesFocus = under && under != hwnd() && (::GetWindowLongPtrW(under, GWL_STYLE) & WS_TABSTOP);
    }
    HWND last = WindowOf(focus_.Last());
    now.lastUsable = last && ::IsWindow(last) && ::IsWindowEnabled(last);
    now.lastInside = last && ::IsChild(hwnd(), last);
    auto how = LOWORD(wParam) == WA_INACTIVE      ? FocusPolicy::Activation::Inactive
               : LOWORD(wParam) == WA_CLICKACTIVE ? FocusPolicy::Activation::Click
                                                  : FocusPolicy::Activation::Other;
    switch (focus_.Activated(how, now)) {
        case FocusPolicy::Move::Keep: return 0;
        case FocusPolicy::Move::ToClicked: ::SetFocus(under); return 0;
        case FocusPolicy::Move::ToLast: ::SetFocus(last); return 0;
        case FocusPolicy::Move::ToFirst:
        case FocusPolicy::Move::Default: break;
    }
    return Default(WM_ACTIVATE, wParam, lParam);
}

LRESULT MainWindow::OnSetFocus() {
    FocusPolicy::Facts now;
    HWND last = WindowOf(focus_.Last());
    now.lastUsable = last && ::IsWindow(last) && ::IsWindowEnabled(last);
    HWND target = focus_.FocusReceived(now) == FocusPolicy::Move::ToLast ? last
                                                                        : ::GetNextDlgTabItem(hwnd(), nullptr, FALSE);
    if (target) ::SetFocus(target);
    return 0;
}

LRESULT MainWindow::OnSetCursor(WPARAM wParam, LPARAM lParam) {
    if (busy_) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
    }
    return Default(WM_SETCURSOR, wParam, lParam);
}

LRESULT MainWindow::OnQueryEndSession(LPARAM lParam) {
    if (queue_.MustWait()) {
        // The alarm cannot stop in the middle of a step to ask its questions: the session waits for them
        // until the step is over, unless Windows ends it whatever we answer.
        if (lParam & ENDSESSION_CRITICAL) return TRUE;
        queue_.Submit([this] { CloseRequest(frmMain::kWindowsEnding); }, HandlerQueue::Kind::Step);
        return FALSE;
    }
    return KeptOpen(frmMain::kWindowsEnding) ? FALSE : TRUE;
}

LRESULT MainWindow::OnDestroy() {
    queue_.Clear();
    timer_.Detach();
    if (tray_) tray_->Remove();
    ::PostQuitMessage(0);
    return 0;
}

namespace {

// The dialog manager's code for a hooked control that keeps Enter for itself instead of letting it
// press the default button.
LRESULT DlgCodeWithEnter(const ControlHook& hook, HWND hwnd, WPARAM wParam, LPARAM lParam) {
    LRESULT code = hook.CallOriginal(hwnd, WM_GETDLGCODE, wParam, lParam);
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) code |= DLGC_WANTMESSAGE;
    return code;
}

}  // namespace

// The time box reports a mouse click, and the moment the focus is about to leave it for another
// control of this window (not for another program): then the validation runs.
LRESULT MainWindow::TimeBoxProc(const ControlHook& hook, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = hook.Owner<MainWindow>();
    switch (message) {
        case WM_GETDLGCODE:
            // Enter belongs to the box: it starts and ends the typing of a time.
            return DlgCodeWithEnter(hook, hwnd, wParam, lParam);
        case WM_KEYDOWN:
            if (wParam == VK_RETURN) {
                if (self->Locked())
                    self->StartTyping();
                else
                    self->FinishTyping();
                return 0;
            }
            // Select all, which not every version of the box does by itself.
            if (wParam == 'A' && (::GetKeyState(VK_CONTROL) & 0x8000) && !(::GetKeyState(VK_MENU) & 0x8000) &&
                !self->Locked()) {
                ::SendMessageW(hwnd, EM_SETSEL, 0, -1);
                return 0;
            }
            break;
        case WM_CHAR:
            // Enter and Ctrl+A are handled as keys; a single-line box would only beep.
            if (wParam == L'\r' || wParam == 0x01) return 0;
            // Typing a digit into the locked box is the keyboard's click: the digit then goes in.
            if (wParam >= L'0' && wParam <= L'9' && self->Locked()) self->StartTyping();
            break;
        case WM_LBUTTONDOWN:
            self->queue_.Pressed();
            break;
        case WM_LBUTTONUP: {
            LRESULT result = hook.CallOriginal(hwnd, message, wParam, lParam);
            if (self->queue_.Released()) self->Post([](frmMain& f) { f.txtTime_Click(); });
            return result;
        }
        case WM_KILLFOCUS: {
            HWND next = reinterpret_cast<HWND>(wParam);
            HWND main = self->hwnd();
            // Only a time being typed is validated: the keyboard passing through the box while it shows
            // the clock has chosen nothing, and must not be stopped by questions on its way.
            if (!self->Locked() &&
                self->queue_.Left(next && next != hwnd && (next == main || ::IsChild(main, next)))) {
                // Validated from the queue: its message boxes must not run inside a focus change.
                ::PostMessageW(main, kValidateMessage, 0, 0);
                // A button pressed with the mouse: the validation's boxes take the press away before
                // it becomes a click, so the click is remembered now.
                int id = ::GetDlgCtrlID(next);
                if ((id == IDC_CMDSET || id == IDC_CMDRESET) && (::GetKeyState(VK_LBUTTON) & 0x8000))
                    self->queue_.Hold(self->Bound(ButtonHandler(id)), HandleOf(next));
            }
            break;
        }
        default:
            break;
    }
    return hook.CallOriginal(hwnd, message, wParam, lParam);
}

namespace {

// Where a key moves the calendar's selected day (the same on every system's calendar control): the
// arrows by a day or a week, Page Up and Page Down by a month (with Ctrl by a year), Home and End to the
// month's first and last day. A move by months or years keeps the day within the month.
std::optional<Date> DayAfterKey(const Date& from, WPARAM key) {
    auto byMonths = [&](int months) {
        const int index = from.year * 12 + (from.month - 1) + months;
        const int year = index / 12, month = index % 12 + 1;
        return Date{year, month, ClampDay(year, month, from.day)};
    };
    const int page = (::GetKeyState(VK_CONTROL) & 0x8000) ? 12 : 1;  // months
    switch (key) {
        case VK_LEFT: return alarm::AddDays(from, -1);
        case VK_RIGHT: return alarm::AddDays(from, 1);
        case VK_UP: return alarm::AddDays(from, -7);
        case VK_DOWN: return alarm::AddDays(from, 7);
        case VK_PRIOR: return byMonths(-page);
        case VK_NEXT: return byMonths(page);
        case VK_HOME: return Date{from.year, from.month, 1};
        case VK_END: return Date{from.year, from.month, DaysInMonth(from.year, from.month)};
        default: return std::nullopt;
    }
}

}  // namespace

// The keyboard's way through the calendar, the same on every system (not every calendar control moves
// by itself): the keys move the selected day, and Enter or Space counts as a click of it.
LRESULT MainWindow::CalendarProc(const ControlHook& hook, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = hook.Owner<MainWindow>();
    switch (message) {
        case WM_GETDLGCODE:
            return DlgCodeWithEnter(hook, hwnd, wParam, lParam) | DLGC_WANTARROWS;
        case WM_KEYDOWN:
            if (wParam == VK_RETURN || wParam == VK_SPACE) {
                self->CalendarClick();
                return 0;
            }
            if (const auto day = DayAfterKey(self->CalendarDate(), wParam)) {
                self->SetCalendarDate(*day);
                return 0;
            }
            break;
        default:
            break;
    }
    return hook.CallOriginal(hwnd, message, wParam, lParam);
}

}  // namespace chw::win32
