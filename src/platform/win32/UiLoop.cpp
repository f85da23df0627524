#include "UiLoop.h"

namespace chw::win32 {

void UiLoop::Dispatch(MSG& msg) {
    HWND main = MainWindow();
    if (main && (msg.hwnd == main || ::IsChild(main, msg.hwnd))) {
        if (accel_ && ::TranslateAcceleratorW(main, accel_, &msg)) return;
        if (::IsDialogMessageW(main, &msg)) return;
    }
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

}  // namespace chw::win32
