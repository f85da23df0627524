#include "AppWindow.h"

#include "Win32Services.h"

namespace chw::win32 {

namespace {
// The class name that instances of this program look for.
constexpr wchar_t kClassName[] = L"ThunderRT6Main";
}  // namespace

AppWindow::AppWindow(HINSTANCE instance, const wchar_t* title) {
    RegisterClassOnce(instance, kClassName, nullptr, nullptr);
    // A real (hidden) top-level window, not a message-only one: FindWindow must see it.
    CreateWin(WS_EX_TOOLWINDOW, kClassName, title, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance);
    // A copy run as administrator must still answer a second start made by the user.
    if (hwnd() && MainWindowQueryMessage())
        ::ChangeWindowMessageFilterEx(hwnd(), MainWindowQueryMessage(), MSGFLT_ALLOW, nullptr);
}

LRESULT AppWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == MainWindowQueryMessage() && message != 0)
        return reinterpret_cast<LRESULT>(main_ && ::IsWindow(main_) ? main_ : nullptr);
    return Default(message, wParam, lParam);
}

}  // namespace chw::win32
