// Stand-in player: a test double for the media player that Chimewell drives. It is not part of the
// product. It owns a window of the player's class, answers the player's window messages, writes
// every message it receives to a log for the tests, and rings a real tone on Play for the demo.

#include <windows.h>
#include <mmsystem.h>
#include <shellapi.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "Faults.h"
#include "Tone.h"

namespace {

constexpr wchar_t kClassName[] = L"Winamp v1.x";
constexpr wchar_t kTitle[] = L"Stand-in Player (test double)";

// The player's message numbers that the alarm program uses, plus the version query and the
// Pause and Stop buttons that tests find handy.
constexpr LPARAM kIpcGetVersion = 0;
constexpr LPARAM kIpcIsPlaying = 104;
constexpr LPARAM kIpcSetVolume = 122;
constexpr LPARAM kIpcGetListLength = 124;
constexpr WPARAM kCmdClose = 40001;
constexpr WPARAM kCmdPlay = 40045;
constexpr WPARAM kCmdPause = 40046;
constexpr WPARAM kCmdStop = 40047;
constexpr LRESULT kVersion = 0x5091;

constexpr int kStopped = 0, kPlaying = 1, kPaused = 3;
constexpr int kIdState = 101, kIdLog = 102;
constexpr int kLogLinesKept = 200;

struct HandleCloser {
    void operator()(HANDLE h) const noexcept {
        if (h && h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

std::wstring ExeFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return L".";
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"." : path.substr(0, slash);
}

std::wstring GetEnv(const wchar_t* name) {
    DWORD n = GetEnvironmentVariableW(name, nullptr, 0);
    if (n == 0) return {};
    std::wstring value(n, L'\0');
    n = GetEnvironmentVariableW(name, value.data(), n);
    value.resize(n);
    return value;
}

std::wstring Widen(const std::string& s) {
    if (s.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}

std::string Narrow(const std::wstring& w) {
    if (w.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

// Tests running on the Linux side naturally hand over Unix paths; under Wine turn them into DOS ones.
std::wstring DosPath(const std::wstring& path) {
    if (path.empty() || path[0] != L'/') return path;
    using WineToDos = WCHAR*(CDECL*)(LPCSTR);
    if (HMODULE k32 = GetModuleHandleW(L"kernel32.dll")) {
        auto conv = reinterpret_cast<WineToDos>(reinterpret_cast<void*>(GetProcAddress(k32, "wine_get_dos_file_name")));
        if (conv) {
            if (WCHAR* dos = conv(Narrow(path).c_str())) {
                std::wstring result(dos);
                HeapFree(GetProcessHeap(), 0, dos);
                return result;
            }
        }
    }
    std::wstring result = L"Z:" + path;
    for (auto& c : result) {
        if (c == L'/') c = L'\\';
    }
    return result;
}

std::string ReadSmallFile(const std::wstring& path) {
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) return {};
    std::string data;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(file.get(), buf, sizeof buf, &got, nullptr) && got > 0 && data.size() < 65536) data.append(buf, got);
    if (data.size() >= 3 && data.compare(0, 3, "\xEF\xBB\xBF") == 0) data.erase(0, 3);
    return data;
}

// Appends one line per call and flushes at once, so a test reading the file sees every message
// even when the player is killed right after. Opened for appending so that several players
// (a test of closing every instance) can share one log.
// With a second path, every line goes there too with the wall-clock time it was written
// ("2026-12-07 17:59:00.031 WM_COMMAND 40045 0"), for measuring how soon messages arrive.
class MessageLog {
public:
    MessageLog(const std::wstring& path, const std::wstring& timedPath)
        : file_(Open(path)), timed_(timedPath.empty() ? INVALID_HANDLE_VALUE : Open(timedPath)) {}

    void Write(const std::string& line) {
        SYSTEMTIME now;
        GetLocalTime(&now);
        Append(file_.get(), line + "\r\n");
        char stamp[40];
        std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u.%03u ", now.wYear, now.wMonth, now.wDay,
                      now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
        Append(timed_.get(), stamp + line + "\r\n");
    }

private:
    static HANDLE Open(const std::wstring& path) {
        return CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    static void Append(HANDLE file, const std::string& text) {
        if (file == INVALID_HANDLE_VALUE) return;
        DWORD written = 0;
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        FlushFileBuffers(file);
    }

    UniqueHandle file_;
    UniqueHandle timed_;
};

class Player {
public:
    Player(standin::Faults faults, const std::wstring& logPath, const std::wstring& timedLogPath)
        : faults_(faults), log_(logPath, timedLogPath), state_(faults.initialState) {}

    MessageLog& Log() { return log_; }
    const standin::Faults& Faults() const { return faults_; }

    void AttachWindow(HWND hwnd) { hwnd_ = hwnd; }

    void Start() {
        if (state_ == kPlaying) StartTone();
        ShowState();
    }

    LRESULT OnUser(WPARAM wParam, LPARAM lParam) {
        Record("WM_USER", wParam, lParam);
        if (faults_.hangAny || (faults_.hang && lParam == kIpcIsPlaying)) HangForever();
        switch (lParam) {
        case kIpcGetVersion:
            return kVersion;
        case kIpcIsPlaying:
            return state_;
        case kIpcGetListLength:
            return static_cast<LRESULT>(faults_.playlist);
        case kIpcSetVolume:
            // The real player clamps as well; the tests read what was asked from the log.
            volume_ = static_cast<int>(wParam > 255 ? 255 : wParam);
            if (state_ == kPlaying) StartTone();
            ShowState();
            return 0;
        default:
            return 0;
        }
    }

    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) {
        Record("WM_COMMAND", wParam, lParam);
        if (faults_.hangAny) HangForever();
        switch (LOWORD(wParam)) {
        case kCmdPlay:
            if (faults_.hangOnPlay) HangForever();
            if (faults_.ignorePlay) break;
            state_ = kPlaying;
            StartTone();
            break;
        case kCmdPause:
            if (state_ == kPlaying) {
                state_ = kPaused;
                StopTone();
            } else if (state_ == kPaused) {
                state_ = kPlaying;
                StartTone();
            }
            break;
        case kCmdStop:
            state_ = kStopped;
            StopTone();
            break;
        case kCmdClose:
            if (faults_.refuseClose) {
                log_.Write("# close refused");
            } else {
                // Gone before the sender's call returns, so a caller that searches again at once
                // does not find this window a second time.
                DestroyWindow(hwnd_);
                return 0;
            }
            break;
        default:
            break;
        }
        ShowState();
        return 0;
    }

    void OnDestroy() {
        StopTone();
        log_.Write("# exit");
        PostQuitMessage(0);
    }

    void Record(const char* name, WPARAM wParam, LPARAM lParam) {
        char line[96];
        std::snprintf(line, sizeof line, "%s %llu %lld", name, static_cast<unsigned long long>(wParam),
                      static_cast<long long>(lParam));
        log_.Write(line);
        if (HWND list = GetDlgItem(hwnd_, kIdLog)) {
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(line).c_str()));
            LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
            if (count > kLogLinesKept) SendMessageW(list, LB_DELETESTRING, 0, 0), --count;
            SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(count > 0 ? count - 1 : 0), 0);
        }
    }

private:
    [[noreturn]] void HangForever() {
        log_.Write("# hanging");
        for (;;) Sleep(INFINITE);
    }

    void StartTone() {
        StopTone();
        wav_ = standin::MakeAlarmWav(volume_);
        // No sound device (a headless test machine) just means silence.
        PlaySoundW(reinterpret_cast<LPCWSTR>(wav_.data()), nullptr, SND_MEMORY | SND_ASYNC | SND_LOOP | SND_NODEFAULT);
    }

    void StopTone() {
        PlaySoundW(nullptr, nullptr, 0);
        wav_.clear();
    }

    void ShowState() {
        if (!hwnd_) return;
        const wchar_t* name = state_ == kPlaying ? L"playing" : state_ == kPaused ? L"paused" : L"stopped";
        std::wstring text = L"State: " + std::wstring(name) + L"      Volume: " + std::to_wstring(volume_) +
                            L" / 255\r\nFaults:" + faults_.Describe();
        SetDlgItemTextW(hwnd_, kIdState, text.c_str());
    }

    standin::Faults faults_;
    MessageLog log_;
    HWND hwnd_ = nullptr;
    int state_;
    int volume_ = 200;
    std::vector<std::uint8_t> wav_;  // must outlive the asynchronous PlaySound that reads it
};

Player* PlayerOf(HWND hwnd) { return reinterpret_cast<Player*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

void CreateChildren(HWND hwnd) {
    auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    HINSTANCE inst = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd, GWLP_HINSTANCE));
    HWND note = CreateWindowExW(0, L"STATIC", L"Test double for Chimewell's tests. Not the real player.",
                                WS_CHILD | WS_VISIBLE, 8, 6, 360, 16, hwnd, nullptr, inst, nullptr);
    HWND state = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 8, 26, 360, 32, hwnd,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdState)), inst, nullptr);
    HWND list = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                                WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOSEL, 8, 62, 360,
                                150, hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdLog)), inst, nullptr);
    for (HWND child : {note, state, list}) SendMessageW(child, WM_SETFONT, font, FALSE);
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    try {
        if (msg == WM_NCCREATE) {
            auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
            auto* player = static_cast<Player*>(cs->lpCreateParams);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(player));
            player->AttachWindow(hwnd);
        }
        Player* player = PlayerOf(hwnd);
        if (player) {
            switch (msg) {
            case WM_CREATE:
                CreateChildren(hwnd);
                return 0;
            case WM_USER:
                return player->OnUser(wParam, lParam);
            case WM_COMMAND:
                // Notifications of our own child controls are not the player's commands.
                if (lParam != 0 && reinterpret_cast<HWND>(lParam) != hwnd && IsChild(hwnd, reinterpret_cast<HWND>(lParam)))
                    break;
                return player->OnCommand(wParam, lParam);
            case WM_CLOSE:
                player->Record("WM_CLOSE", wParam, lParam);
                DestroyWindow(hwnd);
                return 0;
            case WM_DESTROY:
                player->OnDestroy();
                return 0;
            default:
                break;
            }
        }
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

standin::Faults ReadFaults(const std::wstring& folder) {
    standin::Faults faults;
    faults.ApplyIni(Widen(ReadSmallFile(folder + L"\\standin.ini")));
    faults.ApplyList(GetEnv(L"CHW_STANDIN_FAULTS"));
    int argc = 0;
    if (LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc)) {
        for (int i = 1; i < argc; ++i) faults.Apply(argv[i]);
        LocalFree(argv);
    }
    return faults;
}

int Run(HINSTANCE inst, int show) {
    const std::wstring folder = ExeFolder();
    std::wstring logPath = GetEnv(L"CHW_STANDIN_LOG");
    logPath = logPath.empty() ? folder + L"\\standin.log" : DosPath(logPath);
    std::wstring timedLogPath = GetEnv(L"CHW_STANDIN_TIMED_LOG");
    if (!timedLogPath.empty()) timedLogPath = DosPath(timedLogPath);

    Player player(ReadFaults(folder), logPath, timedLogPath);
    player.Log().Write("# start pid " + std::to_string(GetCurrentProcessId()) + " faults" +
                       Narrow(player.Faults().Describe()));

    if (player.Faults().lateWindowMs) Sleep(player.Faults().lateWindowMs);

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = inst;
    wc.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterClassExW(&wc)) return 1;

    RECT rc{0, 0, 376, 220};
    AdjustWindowRectEx(&rc, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, FALSE, 0);
    // In the bottom-right corner of the work area: without a window manager every window would open at
    // the top left, on top of the alarm program that the tests click into.
    RECT work{0, 0, 1024, 768};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int width = rc.right - rc.left, height = rc.bottom - rc.top;
    HWND hwnd = CreateWindowExW(0, kClassName, kTitle, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                work.right - width - 8, work.bottom - height - 8, width, height, nullptr,
                                nullptr, inst, &player);
    if (!hwnd) return 1;
    player.Start();
    ShowWindow(hwnd, show);
    UpdateWindow(hwnd);
    player.Log().Write("# window ready");
    // The window is there, but nothing it is sent or posted is ever handled.
    if (player.Faults().hangAtStart) {
        player.Log().Write("# hanging");
        for (;;) Sleep(INFINITE);
    }

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE inst, HINSTANCE, PWSTR, int show) {
    try {
        return Run(inst, show);
    } catch (...) {
        return 1;
    }
}
