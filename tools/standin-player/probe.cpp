// standin-probe: a console helper for tests. It talks to whatever window has the player's class
// (normally the stand-in player) and prints the reply, so shell scripts can drive and check it.
//
//   standin-probe status | version | volume N | play | pause | stop | close | post-play
//   standin-probe count               number of windows of the player's class
//   standin-probe wait MS             wait up to MS ms for such a window
//   standin-probe visible             1 when the window is visible, else 0
// Exit codes: 0 done, 2 no player window, 3 no reply within 5 s (a hung player), 1 bad use.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr char kClass[] = "Winamp v1.x";

BOOL CALLBACK CountOne(HWND hwnd, LPARAM counter) {
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    if (std::strcmp(name, kClass) == 0) ++*reinterpret_cast<int*>(counter);
    return TRUE;
}

int Send(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR reply = 0;
    if (!SendMessageTimeoutA(hwnd, msg, wParam, lParam, SMTO_NORMAL, 5000, &reply)) {
        std::puts("timeout");
        return 3;
    }
    std::printf("%lld\n", static_cast<long long>(reply));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: standin-probe status|version|volume N|play|pause|stop|close|post-play|count|wait MS|visible\n",
                   stderr);
        return 1;
    }
    const char* cmd = argv[1];

    if (std::strcmp(cmd, "count") == 0) {
        int n = 0;
        EnumWindows(CountOne, reinterpret_cast<LPARAM>(&n));
        std::printf("%d\n", n);
        return 0;
    }
    if (std::strcmp(cmd, "wait") == 0) {
        const DWORD limit = argc > 2 ? static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)) : 10000;
        const DWORD start = GetTickCount();
        while (!FindWindowA(kClass, nullptr)) {
            if (GetTickCount() - start > limit) return 2;
            Sleep(50);
        }
        return 0;
    }

    HWND hwnd = FindWindowA(kClass, nullptr);
    if (!hwnd) {
        std::puts("none");
        return 2;
    }
    if (std::strcmp(cmd, "status") == 0) return Send(hwnd, WM_USER, 0, 104);
    if (std::strcmp(cmd, "version") == 0) return Send(hwnd, WM_USER, 0, 0);
    if (std::strcmp(cmd, "volume") == 0 && argc > 2)
        return Send(hwnd, WM_USER, static_cast<WPARAM>(std::strtoul(argv[2], nullptr, 10)), 122);
    if (std::strcmp(cmd, "play") == 0) return Send(hwnd, WM_COMMAND, 40045, 0);
    if (std::strcmp(cmd, "pause") == 0) return Send(hwnd, WM_COMMAND, 40046, 0);
    if (std::strcmp(cmd, "stop") == 0) return Send(hwnd, WM_COMMAND, 40047, 0);
    if (std::strcmp(cmd, "close") == 0) return Send(hwnd, WM_COMMAND, 40001, 0);
    if (std::strcmp(cmd, "post-play") == 0) {
        std::printf("%d\n", PostMessageA(hwnd, WM_COMMAND, 40045, 0) ? 1 : 0);
        return 0;
    }
    if (std::strcmp(cmd, "visible") == 0) {
        std::printf("%d\n", IsWindowVisible(hwnd) ? 1 : 0);
        return 0;
    }
    std::fprintf(stderr, "unknown command: %s\n", cmd);
    return 1;
}
