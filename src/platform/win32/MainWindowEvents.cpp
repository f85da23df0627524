// The main window's events: commands, notifications, the timer, the tray, closing, and the time box.
#include "MainWindow.h"

#include <commctrl.h>

#include "MainWindowParts.h"

namespace chw::win32 {

using namespace mainwindow;

// ---- Events ----

bool MainWindow::MustWait() const { return loop_.Pausing() || (running_ > 0 && ::InSendMessage()); }

void MainWindow::Fire(const std::function<void(frmMain&)>& handler) {
    if (!logic_) return;
    if (MustWait())
        Defer([this, handler] { Fire(handler); });
    else
        Run(handler);
}

void MainWindow::Run(const std::function<void(frmMain&)>& handler) {
    if (!logic_) return;
    ++running_;
    Guarded([&] { handler(*logic_); });
    --running_;
    if (running_ == 0 && !deferred_.empty()) ::PostMessageW(hwnd(), kRunDeferredMessage, 0, 0);
}

void MainWindow::Defer(std::function<void()> action) {
    deferred_.push_back(std::move(action));
    // While a handler runs, its end sends them on their way; otherwise the queue does, once the pause
    // is over (posted messages wait for it).
    if (running_ == 0) ::PostMessageW(hwnd(), kRunDeferredMessage, 0, 0);
}

void MainWindow::RunDeferred() {
    while (!deferred_.empty() && !MustWait() && running_ == 0) {
        auto action = std::move(deferred_.front());
        deferred_.erase(deferred_.begin());
        action();
    }
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
    Run([&cancel, unloadMode](frmMain& f) { f.Form_QueryUnload(cancel, unloadMode); });
}

void MainWindow::CloseRequest(int unloadMode) {
    bool cancel = false;
    OnClose(cancel, unloadMode);
    if (!cancel) DestroyNow();
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
            SetStatusParts();
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
            if (tray_ && tray_->OnTimer(wParam)) return 0;
            if (wParam == timer_.Id()) {
                if (!timer_.OnTick()) return 0;
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
            if (HIWORD(wParam)) break;  // minimised
            // A control that already has the focus keeps it: under Wine the activation can arrive
            // between the press and the release of the click that caused it, and moving the focus
            // then would take the click away from the calendar or button being pressed.
            if (::IsChild(hwnd(), ::GetFocus())) return 0;
            if (LOWORD(wParam) == WA_CLICKACTIVE) {
                // Activated by a click on a control that takes the focus: that control gets it.
                POINT at{};
                ::GetCursorPos(&at);
                ::ScreenToClient(hwnd(), &at);
                HWND under = ::ChildWindowFromPointEx(hwnd(), at, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED);
                if (under && under != hwnd() && (::GetWindowLongPtrW(under, GWL_STYLE) & WS_TABSTOP)) {
                    ::SetFocus(under);
                    return 0;
                }
            }
            if (lastFocus_ && ::IsWindow(lastFocus_) && ::IsChild(hwnd(), lastFocus_) && ::IsWindowEnabled(lastFocus_)) {
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
        case WM_CLOSE:
            if (MustWait())
                Defer([this] { CloseRequest(0); });
            else
                CloseRequest(0);
            return 0;
        case WM_QUERYENDSESSION: {
            if (MustWait()) {
                // The alarm cannot stop in the middle of a step to ask its questions: the session waits
                // for them until the step is over, unless Windows ends it whatever we answer.
                if (lParam & ENDSESSION_CRITICAL) return TRUE;
                Defer([this] { CloseRequest(2); });
                return FALSE;
            }
            bool cancel = false;
            OnClose(cancel, 2);
            return cancel ? FALSE : TRUE;
        }
        case kRunDeferredMessage:
            RunDeferred();
            return 0;
        case WM_DESTROY:
            deferred_.clear();
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

namespace {

// The dialog manager's code for a subclassed control that keeps Enter for itself instead of letting
// it press the default button.
LRESULT DlgCodeWithEnter(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    LRESULT code = ::DefSubclassProc(hwnd, WM_GETDLGCODE, wParam, lParam);
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) code |= DLGC_WANTMESSAGE;
    return code;
}

}  // namespace

// The time box reports a mouse click, and the moment the focus is about to leave it for another
// control of this window (not for another program): then the validation runs.
LRESULT CALLBACK MainWindow::TimeBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR data) noexcept {
    auto* self = reinterpret_cast<MainWindow*>(data);
    try {
        switch (message) {
            case WM_GETDLGCODE:
                // Enter belongs to the box: it starts and ends the typing of a time.
                return DlgCodeWithEnter(hwnd, wParam, lParam);
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
            case WM_GETDLGCODE:
                return DlgCodeWithEnter(hwnd, wParam, lParam);
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
