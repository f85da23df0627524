// Starts a program and prints how many milliseconds passed until a visible window of the given class
// showed (or -1 after the limit), then leaves the program running.
// Usage: bench-launch.exe <window class> <limit ms> <program> [arguments]
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (!argv || argc < 4) return 2;
    const wchar_t* windowClass = argv[1];
    const ULONGLONG limit = static_cast<ULONGLONG>(_wtoi(argv[2]));
    std::wstring command;
    for (int i = 3; i < argc; ++i) command += (i > 3 ? L" \"" : L"\"") + std::wstring(argv[i]) + L"\"";

    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    const ULONGLONG start = ::GetTickCount64();
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 3;
    long long shown = -1;
    while (::GetTickCount64() - start < limit) {
        HWND h = ::FindWindowW(windowClass, nullptr);
        if (h && ::IsWindowVisible(h)) {
            shown = static_cast<long long>(::GetTickCount64() - start);
            break;
        }
        ::Sleep(5);
    }
    std::printf("%lld\n", shown);
    std::fflush(stdout);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return shown >= 0 ? 0 : 1;
}
