#include "UiLoop.h"

#include <commctrl.h>

#include <string_view>

namespace chw::win32 {

namespace {
// How long a pause waits at most between two looks at the queue: the system takes a thread that has
// not looked for five seconds for hung.
constexpr DWORD kPauseSliceMs = 100;
}  // namespace

bool UiLoop::IsEditKey(const MSG& msg, HWND focus) {
    if (msg.message != WM_KEYDOWN || !focus || msg.hwnd != focus) return false;
    if (!(::GetKeyState(VK_CONTROL) & 0x8000) || (::GetKeyState(VK_MENU) & 0x8000)) return false;
    if (std::wstring_view(L"AXCVZ").find(static_cast<wchar_t>(msg.wParam)) == std::wstring_view::npos) return false;
    wchar_t cls[16] = {};
    ::GetClassNameW(focus, cls, 16);
    if (::lstrcmpiW(cls, L"Edit") != 0) return false;
    return !(::GetWindowLongPtrW(focus, GWL_STYLE) & ES_READONLY) && ::IsWindowEnabled(focus);
}

void UiLoop::Dispatch(MSG& msg) {
    // Only the keyboard and the mouse concern the main window's accelerators, dialog keys and tooltips;
    // the timer's ticks and the paints, many a second, go straight to their windows.
    const bool key = msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST;
    const bool mouse = msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST;
    HWND main = key || mouse ? MainWindow() : nullptr;
    if (main && (msg.hwnd == main || ::IsChild(main, msg.hwnd))) {
        if (mouse && toolTips_) ::SendMessageW(toolTips_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
        if (key) {
            const bool editKey = msg.message == WM_KEYDOWN && IsEditKey(msg, ::GetFocus());
            if (accel_ && !editKey && ::TranslateAcceleratorW(main, accel_, &msg)) return;
            if (::IsDialogMessageW(main, &msg)) return;
        }
    }
    if (key && help_ && (msg.hwnd == help_ || ::IsChild(help_, msg.hwnd)) && ::IsDialogMessageW(help_, &msg)) return;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
}

int UiLoop::Run() {
    MSG msg;
    BOOL got;
    while ((got = ::GetMessageW(&msg, nullptr, 0, 0)) != 0) {
        if (got == -1) return 1;
        Dispatch(msg);
    }
    return static_cast<int>(msg.wParam);
}

void UiLoop::DoEvents() {
    MSG msg;
    bool handled = false;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave it for the main loop, which ends the program.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        Dispatch(msg);
        handled = true;
    }
    if (!handled) ::MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

void UiLoop::Pause(int milliseconds) {
    if (milliseconds <= 0) return;
    ++pausing_;
    const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
    for (;;) {
        MSG msg;
        // Only paint messages are taken; messages sent to the thread are delivered by the look itself.
        // A window that does not validate its paint would be handed it again: a bounded number of turns.
        for (int turn = 0; turn < 32 && ::PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++turn)
            ::DispatchMessageW(&msg);
        const ULONGLONG now = ::GetTickCount64();
        if (now >= end) break;
        const DWORD wait = static_cast<DWORD>(end - now < kPauseSliceMs ? end - now : kPauseSliceMs);
        ::MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_PAINT | QS_SENDMESSAGE, 0);
    }
    --pausing_;
}

}  // namespace chw::win32
