#include "Driver.h"

#include <ole2.h>
#include <oleacc.h>

#include <aclapi.h>
#include <commctrl.h>
#include <sddl.h>

#include "resource.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

namespace e2e {

// ---- Texts and paths ----

std::string Narrow(const std::wstring& w) {
    if (w.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

std::wstring Wide(const std::string& s) {
    if (s.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}

std::string EnvVar(const char* name) {
    wchar_t buf[4096];
    DWORD n = GetEnvironmentVariableW(Wide(name).c_str(), buf, 4096);
    return (n > 0 && n < 4096) ? Narrow(std::wstring(buf, n)) : std::string();
}

std::string WinPathOf(const std::string& unixPath) {
    std::string p = "Z:" + unixPath;
    std::replace(p.begin(), p.end(), '/', '\\');
    return p;
}

// ---- Installation ----

namespace {

bool MakeDirs(const std::string& dir) {
    std::string acc;
    std::stringstream ss(dir);
    std::string part;
    while (std::getline(ss, part, '\\')) {
        acc += part;
        if (acc.size() > 2) CreateDirectoryW(Wide(acc).c_str(), nullptr);
        acc += '\\';
    }
    DWORD a = GetFileAttributesW(Wide(dir).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool CopyInto(const std::string& unixSource, const std::string& dir, const std::string& name) {
    if (unixSource.empty() || !MakeDirs(dir)) return false;
    return CopyFileW(Wide(WinPathOf(unixSource)).c_str(), Wide(dir + "\\" + name).c_str(), FALSE) != 0;
}

}  // namespace

bool InstalledBySetup() { return EnvVar("CHW_E2E_INSTALLED") == "1"; }

void InstallProgram() {
    // The prefix already holds what the setup program installed: that copy is the one to test.
    if (InstalledBySetup()) {
        if (GetFileAttributesW(Wide(std::string(kInstallDir) + "\\CHWLU.EXE").c_str()) == INVALID_FILE_ATTRIBUTES)
            std::fprintf(stderr, "the setup program left no CHWLU.EXE in %s\n", kInstallDir);
    } else if (!CopyInto(EnvVar("CHW_E2E_CHWLU"), kInstallDir, "CHWLU.EXE"))
        std::fprintf(stderr, "could not install CHWLU.EXE from %s\n", EnvVar("CHW_E2E_CHWLU").c_str());
    // The stand-in player logs where the test reads, whoever starts it.
    SetEnvironmentVariableW(L"CHW_STANDIN_LOG", Wide(PlayerLogPath()).c_str());
}

void MakeWinampFolderOnly() { MakeDirs(kWinampDir); }

void InstallPlayer(const char* dir) {
    if (!CopyInto(EnvVar("CHW_E2E_PLAYER"), dir, "Winamp.exe"))
        std::fprintf(stderr, "could not install the stand-in player from '%s'\n", EnvVar("CHW_E2E_PLAYER").c_str());
}

bool InstallBeside(const std::string& name) {
    std::string exe = EnvVar("CHW_E2E_CHWLU");
    size_t slash = exe.find_last_of('/');
    if (slash == std::string::npos) return false;
    return CopyInto(exe.substr(0, slash + 1) + name, kInstallDir, name);
}

bool RemoveInstalled(const std::string& name) {
    return DeleteFileW(Wide(std::string(kInstallDir) + "\\" + name).c_str()) != 0;
}

std::optional<std::pair<int, int>> ProgramVersion() {
    const std::wstring exe = Wide(std::string(kInstallDir) + "\\CHWLU.EXE");
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
    if (size == 0) return std::nullopt;
    std::vector<unsigned char> data(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT len = 0;
    if (!GetFileVersionInfoW(exe.c_str(), 0, size, data.data()) ||
        !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &len) || !info)
        return std::nullopt;
    return std::make_pair(static_cast<int>(HIWORD(info->dwFileVersionMS)),
                          static_cast<int>(LOWORD(info->dwFileVersionMS)));
}

// Outside the player's folders, so that a test can tell which folder exists.
std::string PlayerLogPath() { return "C:\\ProgramData\\standin.log"; }

std::string ReadFileText(const std::string& path) {
    std::ifstream in(Wide(path).c_str(), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// ---- Waiting ----

bool WaitUntil(const std::function<bool()>& done, int timeoutMs, int pollMs) {
    ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    for (;;) {
        if (done()) return true;
        if (GetTickCount64() >= end) return false;
        Sleep(static_cast<DWORD>(pollMs));
    }
}

void Pause(int ms) { Sleep(static_cast<DWORD>(ms)); }

bool Confirmed(const char* what, const std::function<void()>& give, const std::function<bool()>& arrived,
               int timeoutMs, int tries) {
    for (int attempt = 1;; ++attempt) {
        give();
        if (WaitUntil(arrived, timeoutMs)) return true;
        if (attempt >= tries) return false;
        std::printf("note: %s was not taken, once more\n", what);
    }
}

// ---- Process ----

Process::~Process() { Kill(); }

bool Process::Start(const std::string& exe, const std::string& dir, const std::string& args) {
    std::wstring cmd = L"\"" + Wide(exe) + L"\"" + (args.empty() ? L"" : L" " + Wide(args));
    STARTUPINFOW si{};
    si.cb = sizeof si;
    return CreateProcessW(Wide(exe).c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          Wide(dir).c_str(), &si, &pi_) != 0;
}

bool Process::WaitExit(int timeoutMs) {
    return pi_.hProcess && WaitForSingleObject(pi_.hProcess, static_cast<DWORD>(timeoutMs)) == WAIT_OBJECT_0;
}

bool Process::Running() const {
    return pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD Process::ExitCode() const {
    DWORD code = 0;
    if (pi_.hProcess) GetExitCodeProcess(pi_.hProcess, &code);
    return code;
}

void Process::Kill() {
    if (pi_.hProcess) {
        if (Running()) {
            TerminateProcess(pi_.hProcess, 1);
            WaitForSingleObject(pi_.hProcess, 5000);
        }
        CloseHandle(pi_.hProcess);
        CloseHandle(pi_.hThread);
        pi_ = {};
    }
}

bool StartProgram(Process& p) {
    return p.Start(std::string(kInstallDir) + "\\CHWLU.EXE", kInstallDir);
}

// ---- Windows ----

namespace {
struct EnumState {
    DWORD pid;
    std::vector<HWND>* out;
};
BOOL CALLBACK CollectTop(HWND h, LPARAM lp) {
    auto* st = reinterpret_cast<EnumState*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (st->pid == 0 || pid == st->pid) st->out->push_back(h);
    return TRUE;
}
}  // namespace

std::vector<HWND> TopLevelWindows(DWORD pid) {
    std::vector<HWND> out;
    EnumState st{pid, &out};
    EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&st));
    return out;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> out;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) out.push_back(c);
    return out;
}

std::string ClassOf(HWND h) {
    wchar_t buf[256];
    int n = GetClassNameW(h, buf, 256);
    return Narrow(std::wstring(buf, n > 0 ? static_cast<size_t>(n) : 0));
}

std::string TitleOf(HWND h) {
    wchar_t buf[1024];
    int n = InternalGetWindowText(h, buf, 1024);
    return Narrow(std::wstring(buf, n > 0 ? static_cast<size_t>(n) : 0));
}

std::optional<std::string> TextOf(HWND h, int timeoutMs) {
    DWORD_PTR len = 0;
    if (!SendMessageTimeoutW(h, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, static_cast<UINT>(timeoutMs), &len))
        return std::nullopt;
    std::wstring buf(len + 1, L'\0');
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutW(h, WM_GETTEXT, len + 1, reinterpret_cast<LPARAM>(buf.data()), SMTO_ABORTIFHUNG,
                             static_cast<UINT>(timeoutMs), &got))
        return std::nullopt;
    buf.resize(std::min<size_t>(got, len));
    return Narrow(buf);
}

bool Visible(HWND h) { return h && IsWindowVisible(h); }
bool Enabled(HWND h) { return h && IsWindowEnabled(h); }
DWORD Style(HWND h) { return static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE)); }

namespace {
HWND TopLevelWithChildClass(DWORD pid, const char* cls) {
    for (HWND h : TopLevelWindows(pid))
        for (HWND c : Children(h))
            if (ClassOf(c) == cls) return h;
    return nullptr;
}
}  // namespace

HWND FindMainWindow(DWORD pid) { return TopLevelWithChildClass(pid, "SysMonthCal32"); }
HWND FindSplash(DWORD pid) { return TopLevelWithChildClass(pid, "msctls_progress32"); }
HWND FindPlayerWindow() { return FindWindowW(Wide(kPlayerClass).c_str(), nullptr); }

MainControls FindControls(HWND main) {
    MainControls c;
    c.main = main;
    if (!main) return c;
    c.monthView = GetDlgItem(main, IDC_MONTHVIEW);
    c.label1 = GetDlgItem(main, IDC_LABEL1);
    c.lblDate = GetDlgItem(main, IDC_LBLDATE);
    c.label2 = GetDlgItem(main, IDC_LABEL2);
    c.txtTime = GetDlgItem(main, IDC_TXTTIME);
    c.cmdSet = GetDlgItem(main, IDC_CMDSET);
    c.cmdReset = GetDlgItem(main, IDC_CMDRESET);
    c.statusBar = GetDlgItem(main, IDC_STATUSBAR1);
    return c;
}

std::string StatusText(const MainControls& c, int part) {
    if (!c.statusBar) return "";
    if (part == 0) return TextOf(c.statusBar).value_or("");
    // Other parts have no WM_GETTEXT: SB_GETTEXT into memory of the program's own process.
    DWORD pid = 0;
    GetWindowThreadProcessId(c.statusBar, &pid);
    HANDLE proc = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!proc) return "";
    std::string result;
    wchar_t text[512] = {};
    if (void* remote = VirtualAllocEx(proc, nullptr, sizeof text, MEM_COMMIT, PAGE_READWRITE)) {
        DWORD_PTR length = 0, r = 0;
        SIZE_T io = 0;
        if (SendMessageTimeoutW(c.statusBar, SB_GETTEXTLENGTHW, static_cast<WPARAM>(part), 0, SMTO_ABORTIFHUNG, 2000,
                                &length) &&
            LOWORD(length) < 512 &&
            SendMessageTimeoutW(c.statusBar, SB_GETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(remote),
                                SMTO_ABORTIFHUNG, 2000, &r) &&
            ReadProcessMemory(proc, remote, text, sizeof text, &io)) {
            text[511] = L'\0';
            result = Narrow(std::wstring(text, LOWORD(length)));
        }
        VirtualFreeEx(proc, remote, 0, MEM_RELEASE);
    }
    CloseHandle(proc);
    return result;
}

// ---- Sound ----

bool SoundCaptured() { return !EnvVar("CHW_E2E_SOUND").empty(); }

std::uint64_t SoundBytes() {
    WIN32_FILE_ATTRIBUTE_DATA info{};
    if (!GetFileAttributesExW(Wide(WinPathOf(EnvVar("CHW_E2E_SOUND"))).c_str(), GetFileExInfoStandard, &info))
        return 0;
    return (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
}

bool LoudSince(std::uint64_t offset) {
    std::ifstream in(Wide(WinPathOf(EnvVar("CHW_E2E_SOUND"))).c_str(), std::ios::binary);
    if (!in) return false;
    in.seekg(static_cast<std::streamoff>(offset & ~std::uint64_t{1}));
    std::int16_t samples[4096];
    while (in.read(reinterpret_cast<char*>(samples), sizeof samples) || in.gcount() > 0) {
        const auto n = static_cast<size_t>(in.gcount()) / sizeof(std::int16_t);
        for (size_t i = 0; i < n; ++i)
            if (samples[i] > 3000 || samples[i] < -3000) return true;
    }
    return false;
}

// ---- Message boxes ----

namespace {
std::optional<MsgBox> ReadBox(HWND h) {
    MsgBox b;
    b.hwnd = h;
    b.title = TitleOf(h);
    HWND text = GetDlgItem(h, 0xFFFF);
    if (text) b.text = TextOf(text).value_or(TitleOf(text));
    return b;
}
bool IsBox(HWND h) { return ClassOf(h) == "#32770" && IsWindowVisible(h); }
// A box has finished its own set-up once it has put the focus on one of its buttons.
void AwaitSetUp(HWND box) {
    WaitUntil([&] {
        HWND focus = FocusOf(box);
        return focus && GetParent(focus) == box;
    }, 1000, 20);
}
}  // namespace

std::optional<MsgBox> WaitMsgBox(DWORD pid, int timeoutMs) {
    HWND found = nullptr;
    WaitUntil([&] {
        for (HWND h : TopLevelWindows(pid))
            if (IsBox(h)) { found = h; return true; }
        return false;
    }, timeoutMs);
    if (!found) return std::nullopt;
    AwaitSetUp(found);
    return ReadBox(found);
}

std::optional<MsgBox> WaitMsgBoxTitled(DWORD pid, const std::string& title, int timeoutMs) {
    HWND found = nullptr;
    WaitUntil([&] {
        for (HWND h : TopLevelWindows(pid))
            if (IsBox(h) && TitleOf(h) == title) { found = h; return true; }
        return false;
    }, timeoutMs);
    if (!found) return std::nullopt;
    AwaitSetUp(found);
    return ReadBox(found);
}

void PressButton(HWND box, int id) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
}

bool WaitGone(HWND h, int timeoutMs) {
    return WaitUntil([&] { return !IsWindow(h) || !IsWindowVisible(h); }, timeoutMs);
}

// ---- Commands and input ----

void PostClick(HWND button) {
    PostMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

void PostMenuCommand(HWND main, int id) { PostMessageW(main, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

namespace {
void SendKey(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof in);
}
void SendMouse(DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof in);
}
}  // namespace

// The pointer moved through the input queue too, so that the press that follows lands where it
// moved (a bare SetCursorPos was seen to let a press land at the old place in a Wine desktop).
void MovePointer(HWND h, int clientX, int clientY) {
    POINT pt{clientX, clientY};
    ClientToScreen(h, &pt);
    SetCursorPos(pt.x, pt.y);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(pt.x, 65536, GetSystemMetrics(SM_CXSCREEN));
    in.mi.dy = MulDiv(pt.y, 65536, GetSystemMetrics(SM_CYSCREEN));
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
    WaitUntil([&] {
        POINT now{};
        GetCursorPos(&now);
        return now.x == pt.x && now.y == pt.y;
    }, 1000, 20);
}

void RealClick(HWND h, int clientX, int clientY) {
    MovePointer(h, clientX, clientY);
    Pause(100);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    Pause(60);
    SendMouse(MOUSEEVENTF_LEFTUP);
    Pause(200);
}

void RealRightClick(HWND h, int clientX, int clientY) {
    MovePointer(h, clientX, clientY);
    Pause(100);
    SendMouse(MOUSEEVENTF_RIGHTDOWN);
    Pause(60);
    SendMouse(MOUSEEVENTF_RIGHTUP);
    Pause(200);
}

void RealKey(WORD vk, bool ctrl) {
    if (ctrl) SendKey(VK_CONTROL, false);
    SendKey(vk, false);
    Pause(30);
    SendKey(vk, true);
    if (ctrl) SendKey(VK_CONTROL, true);
    Pause(100);
}

void RealType(const std::string& text) {
    for (char ch : text) {
        SHORT k = VkKeyScanW(static_cast<wchar_t>(static_cast<unsigned char>(ch)));
        if (k == -1) continue;
        bool shift = (k >> 8) & 1;
        if (shift) SendKey(VK_SHIFT, false);
        SendKey(LOBYTE(k), false);
        SendKey(LOBYTE(k), true);
        if (shift) SendKey(VK_SHIFT, true);
        Pause(40);
    }
    Pause(150);
}

bool BringToFront(HWND h) {
    SetForegroundWindow(h);
    return WaitUntil([&] { return GetForegroundWindow() == h; }, 2000);
}

HWND FocusOf(HWND anyWindowOfThread) {
    GUITHREADINFO gti{};
    gti.cbSize = sizeof gti;
    DWORD tid = GetWindowThreadProcessId(anyWindowOfThread, nullptr);
    return GetGUIThreadInfo(tid, &gti) ? gti.hwndFocus : nullptr;
}

// ---- The month calendar ----

std::optional<POINT> CalendarCell(HWND monthView, const SYSTEMTIME& day, bool currentMonthOnly) {
    DWORD pid = 0;
    GetWindowThreadProcessId(monthView, &pid);
    HANDLE proc = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!proc) return std::nullopt;
    void* remote = VirtualAllocEx(proc, nullptr, sizeof(MCHITTESTINFO), MEM_COMMIT, PAGE_READWRITE);
    std::optional<POINT> result;
    if (remote) {
        RECT rc{};
        GetClientRect(monthView, &rc);
        long sx = 0, sy = 0, n = 0;
        for (int y = rc.top + 2; y < rc.bottom; y += 4) {
            for (int x = rc.left + 2; x < rc.right; x += 4) {
                MCHITTESTINFO ht{};
                ht.cbSize = sizeof ht;
                ht.pt = {x, y};
                SIZE_T io = 0;
                if (!WriteProcessMemory(proc, remote, &ht, sizeof ht, &io)) continue;
                DWORD_PTR r = 0;
                if (!SendMessageTimeoutW(monthView, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(remote),
                                         SMTO_ABORTIFHUNG, 2000, &r))
                    continue;
                if (!ReadProcessMemory(proc, remote, &ht, sizeof ht, &io)) continue;
                bool isDate = currentMonthOnly ? ht.uHit == MCHT_CALENDARDATE
                                               : (ht.uHit & MCHT_CALENDARDATE) == MCHT_CALENDARDATE;
                if (isDate && ht.st.wYear == day.wYear && ht.st.wMonth == day.wMonth && ht.st.wDay == day.wDay) {
                    sx += x;
                    sy += y;
                    ++n;
                }
            }
        }
        if (n > 0) result = POINT{sx / n, sy / n};
        VirtualFreeEx(proc, remote, 0, MEM_RELEASE);
    }
    CloseHandle(proc);
    return result;
}

// ---- Choosing an alarm ----

bool ClickDay(const MainControls& c, const SYSTEMTIME& day, bool currentMonthOnly) {
    auto cell = CalendarCell(c.monthView, day, currentMonthOnly);
    if (!cell) return false;
    RealClick(c.monthView, cell->x, cell->y);
    return true;
}

bool TypeTimeAndLeave(const MainControls& c, const std::string& typed) {
    if (!Confirmed("the click into the time box", [&] { RealClick(c.txtTime, 10, 6); },
                   [&] { return !(Style(c.txtTime) & ES_READONLY) && FocusOf(c.main) == c.txtTime; }))
        return false;
    DWORD_PTR r = 0;
    SendMessageTimeoutW(c.txtTime, EM_SETSEL, 0, -1, SMTO_ABORTIFHUNG, 2000, &r);
    RealType(typed);
    RealKey(VK_TAB);
    return true;
}

// ---- Other programs' windows ----

std::vector<HWND> WindowsOfClass(const std::string& cls) {
    std::vector<HWND> out;
    for (HWND h : TopLevelWindows(0))
        if (Visible(h) && ClassOf(h) == cls) out.push_back(h);
    return out;
}

HWND FindPopupMenu(DWORD pid) {
    for (HWND h : TopLevelWindows(pid))
        if (Visible(h) && ClassOf(h) == "#32768") return h;
    return nullptr;
}

// ---- The notification area ----

namespace {
// The tools of one tooltip control, read inside its own process: TTM_ENUMTOOLSW carries pointers.
void CollectTrayTools(HWND tooltip, HWND tray, std::vector<TrayIconInfo>& out) {
    DWORD pid = 0;
    GetWindowThreadProcessId(tooltip, &pid);
    HANDLE proc = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!proc) return;
    struct Block {
        TTTOOLINFOW info;
        wchar_t text[1024];
    };
    auto* remote = static_cast<Block*>(VirtualAllocEx(proc, nullptr, sizeof(Block), MEM_COMMIT, PAGE_READWRITE));
    if (remote) {
        DWORD_PTR count = 0;
        SendMessageTimeoutW(tooltip, TTM_GETTOOLCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &count);
        for (DWORD_PTR i = 0; i < count; ++i) {
            Block b{};
            b.info.cbSize = sizeof b.info;
            b.info.lpszText = remote->text;
            SIZE_T io = 0;
            DWORD_PTR ok = 0;
            if (!WriteProcessMemory(proc, remote, &b, sizeof b, &io)) break;
            if (!SendMessageTimeoutW(tooltip, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(&remote->info),
                                     SMTO_ABORTIFHUNG, 2000, &ok) || !ok)
                continue;
            if (!ReadProcessMemory(proc, remote, &b, sizeof b, &io)) break;
            if (b.info.hwnd != tray || IsRectEmpty(&b.info.rect) || b.info.lpszText != remote->text) continue;
            b.text[1023] = L'\0';
            out.push_back({tray, b.info.rect, Narrow(b.text)});
        }
        VirtualFreeEx(proc, remote, 0, MEM_RELEASE);
    }
    CloseHandle(proc);
}
}  // namespace

std::vector<TrayIconInfo> TrayIcons() {
    std::vector<TrayIconInfo> out;
    HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr);
    if (!tray) return out;
    DWORD trayPid = 0;
    GetWindowThreadProcessId(tray, &trayPid);
    for (HWND h : TopLevelWindows(trayPid))
        if (ClassOf(h) == "tooltips_class32") CollectTrayTools(h, tray, out);
    return out;
}

std::optional<TrayIconInfo> TrayIconWithTip(const std::string& tip) {
    for (const TrayIconInfo& icon : TrayIcons())
        if (icon.tip.rfind(tip, 0) == 0) return icon;
    return std::nullopt;
}

// ---- Dates ----

std::string ShortDate(const SYSTEMTIME& t) {
    wchar_t buf[128];
    int n = GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, buf, 128);
    return n > 1 ? Narrow(std::wstring(buf, static_cast<size_t>(n - 1))) : std::string();
}

// ---- Registry ----

namespace {
struct Key {
    HKEY h = nullptr;
    ~Key() { if (h) RegCloseKey(h); }
};
}  // namespace

bool KeyExists(const std::string& key) {
    Key k;
    return RegOpenKeyExW(HKEY_LOCAL_MACHINE, Wide(key).c_str(), 0, KEY_READ, &k.h) == ERROR_SUCCESS;
}

std::optional<std::string> ReadValue(const std::string& key, const std::string& name, HKEY root) {
    wchar_t buf[2048];
    DWORD size = sizeof buf;
    if (RegGetValueW(root, Wide(key).c_str(), Wide(name).c_str(), RRF_RT_REG_SZ, nullptr, buf,
                     &size) != ERROR_SUCCESS)
        return std::nullopt;
    return Narrow(buf);
}

std::map<std::string, std::string> ReadAllValues(const std::string& key, bool* allStrings) {
    std::map<std::string, std::string> out;
    if (allStrings) *allStrings = true;
    Key k;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, Wide(key).c_str(), 0, KEY_READ, &k.h) != ERROR_SUCCESS) return out;
    for (DWORD i = 0;; ++i) {
        wchar_t name[512];
        DWORD nameLen = 512, type = 0;
        BYTE data[4096];
        DWORD dataLen = sizeof data;
        if (RegEnumValueW(k.h, i, name, &nameLen, nullptr, &type, data, &dataLen) != ERROR_SUCCESS) break;
        if (type != REG_SZ && allStrings) *allStrings = false;
        std::wstring value(reinterpret_cast<wchar_t*>(data), dataLen / sizeof(wchar_t));
        while (!value.empty() && value.back() == L'\0') value.pop_back();
        out[Narrow(std::wstring(name, nameLen))] = Narrow(value);
    }
    return out;
}

bool WriteValue(const std::string& key, const std::string& name, const std::string& data, HKEY root) {
    Key k;
    if (RegCreateKeyExW(root, Wide(key).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k.h, nullptr) !=
        ERROR_SUCCESS)
        return false;
    std::wstring w = Wide(data);
    return RegSetValueExW(k.h, Wide(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(w.c_str()),
                          static_cast<DWORD>((w.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool WriteBinary(const std::string& key, const std::string& name, const std::vector<unsigned char>& data, HKEY root) {
    Key k;
    if (RegCreateKeyExW(root, Wide(key).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k.h, nullptr) !=
        ERROR_SUCCESS)
        return false;
    return RegSetValueExW(k.h, Wide(name).c_str(), 0, REG_BINARY, data.data(), static_cast<DWORD>(data.size())) ==
           ERROR_SUCCESS;
}

// ---- Screenshots ----

bool Screenshot(const std::string& name) {
    // The wrapper script takes the picture on the Linux side: it watches this folder for requests
    // and answers each with a ".done" file once the PNG is written.
    std::string dir = EnvVar("CHW_E2E_SHOTS");
    if (dir.empty()) return false;
    std::string req = WinPathOf(dir + "/" + name + ".req");
    std::string done = WinPathOf(dir + "/" + name + ".done");
    {
        std::ofstream out(Wide(req + ".tmp").c_str());
        out << name << "\n";
    }
    MoveFileW(Wide(req + ".tmp").c_str(), Wide(req).c_str());
    return WaitUntil([&] { return GetFileAttributesW(Wide(done).c_str()) != INVALID_FILE_ATTRIBUTES; }, 20000, 50);
}

}  // namespace e2e

namespace e2e {

// ---- More input ----

void RealChord(WORD vk, std::initializer_list<WORD> modifiers) {
    auto send = [](WORD key, bool up) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = key;
        in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
        in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        SendInput(1, &in, sizeof in);
    };
    for (WORD m : modifiers) send(m, false);
    send(vk, false);
    Pause(30);
    send(vk, true);
    for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it) send(*it, true);
    Pause(100);
}

bool OpenSettingsMenu(HWND main) {
    if (!BringToFront(main)) return false;
    RealChord('E', {VK_MENU});
    Pause(300);
    return true;
}

// ---- A registry key made unwritable ----

bool KeyLock::OpenAndSave(const std::string& key, bool create) {
    Release();
    const LSTATUS rc = create ? RegCreateKeyExW(HKEY_LOCAL_MACHINE, Wide(key).c_str(), 0, nullptr, 0,
                                                READ_CONTROL | WRITE_DAC, nullptr, &key_, nullptr)
                              : RegOpenKeyExW(HKEY_LOCAL_MACHINE, Wide(key).c_str(), 0, READ_CONTROL | WRITE_DAC, &key_);
    if (rc != ERROR_SUCCESS) {
        key_ = nullptr;
        return false;
    }
    DWORD size = 0;
    RegGetKeySecurity(key_, DACL_SECURITY_INFORMATION, nullptr, &size);
    saved_.assign(size, 0);
    if (size == 0 || RegGetKeySecurity(key_, DACL_SECURITY_INFORMATION, saved_.data(), &size) != ERROR_SUCCESS) {
        Release();
        return false;
    }
    return true;
}

bool KeyLock::Deny(const std::string& key, DWORD rights) {
    if (!OpenAndSave(key, false)) return false;
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    GetSecurityDescriptorDacl(saved_.data(), &present, &dacl, &defaulted);
    BYTE everyone[SECURITY_MAX_SID_SIZE];
    DWORD sidSize = sizeof everyone;
    CreateWellKnownSid(WinWorldSid, nullptr, everyone, &sidSize);
    EXPLICIT_ACCESSW deny{};
    deny.grfAccessPermissions = rights;
    deny.grfAccessMode = DENY_ACCESS;
    deny.grfInheritance = NO_INHERITANCE;
    deny.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    deny.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
    deny.Trustee.ptstrName = reinterpret_cast<LPWSTR>(everyone);
    PACL merged = nullptr;
    SECURITY_DESCRIPTOR sd;
    bool ok = SetEntriesInAclW(1, &deny, present ? dacl : nullptr, &merged) == ERROR_SUCCESS &&
              InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION) &&
              SetSecurityDescriptorDacl(&sd, TRUE, merged, FALSE) &&
              RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, &sd) == ERROR_SUCCESS;
    LocalFree(merged);
    if (!ok) Release();
    return ok;
}

DWORD ExplicitAllowedRights(const std::string& key, WELL_KNOWN_SID_TYPE group) {
    Key k;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, Wide(key).c_str(), 0, READ_CONTROL, &k.h) != ERROR_SUCCESS) return 0;
    DWORD size = 0;
    RegGetKeySecurity(k.h, DACL_SECURITY_INFORMATION, nullptr, &size);
    std::vector<unsigned char> sd(size ? size : 1);
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    if (RegGetKeySecurity(k.h, DACL_SECURITY_INFORMATION, sd.data(), &size) != ERROR_SUCCESS ||
        !GetSecurityDescriptorDacl(sd.data(), &present, &dacl, &defaulted) || !present || !dacl)
        return 0;
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD sidSize = sizeof sid;
    if (!CreateWellKnownSid(group, nullptr, sid, &sidSize)) return 0;
    DWORD rights = 0;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        if (!GetAce(dacl, i, reinterpret_cast<void**>(&ace))) break;
        constexpr BYTE kNotOwnKeyOnly = INHERITED_ACE | CONTAINER_INHERIT_ACE | OBJECT_INHERIT_ACE | INHERIT_ONLY_ACE;
        if (ace->Header.AceType == ACCESS_ALLOWED_ACE_TYPE && !(ace->Header.AceFlags & kNotOwnKeyOnly) &&
            EqualSid(&ace->SidStart, sid))
            rights |= ace->Mask;
    }
    return rights;
}

bool KeyLock::Lock(const std::string& key) {
    if (!OpenAndSave(key, true)) return false;
    PSECURITY_DESCRIPTOR deny = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(D;;KA;;;WD)", SDDL_REVISION_1, &deny, nullptr)) {
        Release();
        return false;
    }
    const bool ok = RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, deny) == ERROR_SUCCESS;
    LocalFree(deny);
    if (!ok) Release();
    return ok;
}

bool KeyLock::Release() {
    if (!key_) return true;
    bool ok = saved_.empty() ||
              RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, saved_.data()) == ERROR_SUCCESS;
    RegCloseKey(key_);
    key_ = nullptr;
    saved_.clear();
    return ok;
}

}  // namespace e2e

// ---- Screen readers ----

namespace e2e {

std::optional<AccessibleInfo> AccessibleOf(HWND h) {
    // Spelled out: MinGW's import library gives IID_IAccessible a value Windows does not know.
    static const IID kIAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
    static const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    (void)com;
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(h, OBJID_CLIENT, kIAccessible, reinterpret_cast<void**>(&object))) ||
        !object)
        return std::nullopt;
    AccessibleInfo info;
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    if (SUCCEEDED(object->get_accName(self, &name)) && name) info.name = Narrow(name);
    SysFreeString(name);
    VARIANT role;
    VariantInit(&role);
    if (SUCCEEDED(object->get_accRole(self, &role)) && role.vt == VT_I4) info.role = role.lVal;
    VariantClear(&role);
    object->Release();
    return info;
}

}  // namespace e2e

namespace e2e {

namespace {
std::vector<HWND> g_liveRegionEvents;
void CALLBACK OnLiveRegionChanged(HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG, DWORD, DWORD) {
    if (object == OBJID_CLIENT) g_liveRegionEvents.push_back(hwnd);
}
constexpr DWORD kLiveRegionChanged = 0x8019;  // EVENT_OBJECT_LIVEREGIONCHANGED
}  // namespace

LiveRegionListener::LiveRegionListener(DWORD pid)
    : hook_(SetWinEventHook(kLiveRegionChanged, kLiveRegionChanged, nullptr, &OnLiveRegionChanged, pid, 0,
                            WINEVENT_OUTOFCONTEXT)) {
    g_liveRegionEvents.clear();
}

LiveRegionListener::~LiveRegionListener() {
    if (hook_) UnhookWinEvent(hook_);
}

int LiveRegionListener::Heard(HWND h) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    return static_cast<int>(std::count(g_liveRegionEvents.begin(), g_liveRegionEvents.end(), h));
}

}  // namespace e2e
