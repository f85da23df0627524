// The least a one-second alarm watch needs: a window with a time box, a timer that writes the time into
// it each second, and a look for the player's window. The yardstick of idle_bench.py.
// Usage: bench-minimal.exe [ms]  (ticks that many milliseconds past each wall-clock second; else a second
// after each moment it started)
#include <windows.h>

#include <cwchar>

namespace {

constexpr UINT_PTR kTimerId = 1;
constexpr UINT_PTR kPhaseTimerId = 2;  // once, to the first tick at the asked moment
HWND g_edit = nullptr;

void Tick() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    wchar_t text[64];
    if (::GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &now, nullptr, text, 64) > 0) ::SetWindowTextW(g_edit, text);
    ::FindWindowW(L"Winamp v1.x", nullptr);
}

LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            if (wParam == kPhaseTimerId) {
                ::KillTimer(hwnd, kPhaseTimerId);
                ::SetTimer(hwnd, kTimerId, 1000, nullptr);
            }
            Tick();
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default:
            return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"ChimewellBenchMinimal";
    ::RegisterClassW(&wc);
    HWND hwnd = ::CreateWindowExW(0, wc.lpszClassName, L"Bench minimal", WS_OVERLAPPEDWINDOW, 40, 40, 300, 120,
                                  nullptr, nullptr, instance, nullptr);
    g_edit = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 10, 10, 200, 24, hwnd,
                               nullptr, instance, nullptr);
    Tick();
    if (commandLine && *commandLine) {
        SYSTEMTIME now;
        ::GetSystemTime(&now);
        const long phase = std::wcstol(commandLine, nullptr, 10) % 1000;
        ::SetTimer(hwnd, kPhaseTimerId, static_cast<UINT>((phase - now.wMilliseconds + 1000) % 1000 + 1), nullptr);
    } else {
        ::SetTimer(hwnd, kTimerId, 1000, nullptr);
    }
    ::ShowWindow(hwnd, SW_SHOWNORMAL);  // whatever the launcher asked: the bench waits for it to show
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
