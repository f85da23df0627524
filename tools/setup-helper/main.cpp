// chwsetup.exe: the few things the setup program needs done that its script language cannot do well.
//   chwsetup grant          create the settings key and let standard users keep their settings in it
//   chwsetup close SECONDS  ask the copies of Chimewell in this session to close, and wait for them
//                           (close 0 only tells whether one runs)
//   chwsetup end            end the copies of Chimewell in this session by force
//   chwsetup run EXE        start a program with the rights of the signed-in user, not the setup's
// The exit code is 0 on success, 1 when the work could not be done, 2 for a wrong command line.
#include <windows.h>
#include <aclapi.h>
#include <exdisp.h>
#include <shellapi.h>
#include <shldisp.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <tlhelp32.h>

#include <cwchar>
#include <memory>
#include <set>
#include <string>
#include <type_traits>

namespace {

constexpr const wchar_t* kSettingsKey = L"SOFTWARE\\TALLOWMERE\\CHWL";
constexpr const wchar_t* kProgramFile = L"CHWLU.EXE";
constexpr const wchar_t* kAppWindowClass = L"ThunderRT6Main";
constexpr const wchar_t* kAppWindowTitle = L"Chimewell System";
// Answered by the program's application window with the handle of its main window.
constexpr const wchar_t* kMainWindowQuery = L"Chimewell.MainWindowQuery";

struct KeyCloser {
    void operator()(HKEY k) const noexcept { RegCloseKey(k); }
};
struct LocalFreer {
    void operator()(void* p) const noexcept { LocalFree(p); }
};
struct HandleCloser {
    void operator()(HANDLE h) const noexcept { CloseHandle(h); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

// Just enough of a COM pointer: released at the end of its scope.
template <class T>
struct Com {
    T* p = nullptr;
    Com() = default;
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    ~Com() {
        if (p) p->Release();
    }
    T* operator->() const { return p; }
    void** Out() { return reinterpret_cast<void**>(&p); }
};

// ---- grant ----

// Standard users may read, set values in and make subkeys of the settings key; the grant covers that
// key alone, not its parent and not the rest of the machine's software settings.
bool GrantSettingsKey() {
    HKEY raw = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kSettingsKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        READ_CONTROL | WRITE_DAC | KEY_WOW64_64KEY, nullptr, &raw, nullptr) != ERROR_SUCCESS)
        return false;
    std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser> key(raw);

    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR sdRaw = nullptr;
    if (GetSecurityInfo(key.get(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr,
                        &sdRaw) != ERROR_SUCCESS)
        return false;
    std::unique_ptr<void, LocalFreer> sd(sdRaw);

    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD sidSize = sizeof sid;
    if (!CreateWellKnownSid(WinBuiltinUsersSid, nullptr, sid, &sidSize)) return false;

    EXPLICIT_ACCESSW grant{};
    grant.grfAccessPermissions = KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY;
    grant.grfAccessMode = GRANT_ACCESS;
    grant.grfInheritance = NO_INHERITANCE;
    grant.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    grant.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
    grant.Trustee.ptstrName = reinterpret_cast<LPWSTR>(sid);
    PACL merged = nullptr;
    if (SetEntriesInAclW(1, &grant, dacl, &merged) != ERROR_SUCCESS) return false;
    std::unique_ptr<void, LocalFreer> mergedOwner(merged);
    return SetSecurityInfo(key.get(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, merged,
                           nullptr) == ERROR_SUCCESS;
}

// ---- close, end ----

// The running copies of the program in this session; copies of other signed-in users are theirs.
std::set<DWORD> CopiesInThisSession() {
    std::set<DWORD> pids;
    DWORD session = 0;
    if (!ProcessIdToSessionId(GetCurrentProcessId(), &session)) return pids;
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (snapshot.get() == INVALID_HANDLE_VALUE) {
        snapshot.release();
        return pids;
    }
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
        DWORD itsSession = 0;
        if (_wcsicmp(entry.szExeFile, kProgramFile) == 0 && ProcessIdToSessionId(entry.th32ProcessID, &itsSession) &&
            itsSession == session)
            pids.insert(entry.th32ProcessID);
    }
    return pids;
}

DWORD ProcessOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

// Whether a process shows a message box (its own questions, asked after the close request).
bool ShowsABox(DWORD pid) {
    struct Search {
        DWORD pid;
        bool found;
    } search{pid, false};
    EnumWindows(
        [](HWND w, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            wchar_t cls[16] = {};
            GetClassNameW(w, cls, 16);
            if (ProcessOf(w) == s->pid && IsWindowVisible(w) && std::wcscmp(cls, L"#32770") == 0) s->found = true;
            return !s->found;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Posts a close request to the main window of each copy not asked yet: the same request as the
// program's Exit item, so the program asks its usual questions (and offers to save the alarm).
void AskToClose(const std::set<DWORD>& copies, std::set<DWORD>& asked) {
    static const UINT query = RegisterWindowMessageW(kMainWindowQuery);
    for (HWND app = FindWindowExW(nullptr, nullptr, kAppWindowClass, kAppWindowTitle); app;
         app = FindWindowExW(nullptr, app, kAppWindowClass, kAppWindowTitle)) {
        const DWORD pid = ProcessOf(app);
        if (!copies.count(pid) || asked.count(pid)) continue;
        DWORD_PTR reply = 0;
        // A copy still on its splash has no main window yet: asked again on the next round.
        if (!SendMessageTimeoutW(app, query, 0, 0, SMTO_ABORTIFHUNG, 2000, &reply)) continue;
        HWND main = reinterpret_cast<HWND>(reply);
        if (main && IsWindow(main) && PostMessageW(main, WM_CLOSE, 0, 0)) asked.insert(pid);
    }
}

// True when no copy is left. A copy whose user answered its questions and kept it running ends the
// wait early: nothing more will happen there.
bool CloseAndWait(DWORD seconds) {
    const ULONGLONG deadline = GetTickCount64() + seconds * 1000ull;
    std::set<DWORD> asked, sawBox;
    ULONGLONG lastBox = 0;
    for (;;) {
        const std::set<DWORD> copies = CopiesInThisSession();
        if (copies.empty()) return true;
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) return false;
        AskToClose(copies, asked);
        bool anyBox = false;
        for (DWORD pid : copies) {
            if (!ShowsABox(pid)) continue;
            sawBox.insert(pid);
            anyBox = true;
        }
        if (anyBox) lastBox = now;
        bool allKept = true;
        for (DWORD pid : copies) allKept = allKept && sawBox.count(pid);
        if (allKept && !anyBox && now - lastBox > 3000) return false;
        Sleep(250);
    }
}

bool EndByForce() {
    for (DWORD pid : CopiesInThisSession()) {
        UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid));
        if (!process) continue;
        if (TerminateProcess(process.get(), 1)) WaitForSingleObject(process.get(), 5000);
    }
    for (int i = 0; i < 20 && !CopiesInThisSession().empty(); ++i) Sleep(250);
    return CopiesInThisSession().empty();
}

// ---- run ----

// The desktop's shell (Explorer) starts the program, so it runs with the signed-in user's own rights
// even though the setup runs elevated.
bool RunThroughDesktopShell(const std::wstring& exe, const std::wstring& folder) {
    Com<IShellWindows> windows;
    if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows, windows.Out())))
        return false;
    VARIANT location{}, root{};
    location.vt = VT_I4;
    location.lVal = CSIDL_DESKTOP;
    long hwnd = 0;
    Com<IDispatch> desktop;
    if (windows->FindWindowSW(&location, &root, SWC_DESKTOP, &hwnd, SWFO_NEEDDISPATCH,
                              reinterpret_cast<IDispatch**>(desktop.Out())) != S_OK ||
        !desktop.p)
        return false;
    Com<IServiceProvider> services;
    Com<IShellBrowser> browser;
    Com<IShellView> view;
    Com<IDispatch> background;
    Com<IShellFolderViewDual> folderView;
    Com<IDispatch> application;
    Com<IShellDispatch2> shell;
    if (FAILED(desktop->QueryInterface(IID_IServiceProvider, services.Out())) ||
        FAILED(services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.Out())) ||
        FAILED(browser->QueryActiveShellView(reinterpret_cast<IShellView**>(view.Out()))) ||
        FAILED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.Out())) ||
        FAILED(background->QueryInterface(IID_IShellFolderViewDual, folderView.Out())) ||
        FAILED(folderView->get_Application(reinterpret_cast<IDispatch**>(application.Out()))) ||
        FAILED(application->QueryInterface(IID_IShellDispatch2, shell.Out())))
        return false;

    BSTR file = SysAllocString(exe.c_str());
    VARIANT args{}, dir{}, verb{}, show{};
    dir.vt = VT_BSTR;
    dir.bstrVal = SysAllocString(folder.c_str());
    show.vt = VT_I4;
    show.lVal = SW_SHOWNORMAL;
    const HRESULT hr = shell->ShellExecute(file, args, dir, verb, show);
    SysFreeString(file);
    VariantClear(&dir);
    return SUCCEEDED(hr);
}

// Where there is no such shell (no Explorer desktop, or a system that does not offer it), a plain
// start is the best there is.
bool Run(const std::wstring& exe) {
    std::wstring folder = exe;
    PathRemoveFileSpecW(folder.data());
    folder.resize(std::wcslen(folder.c_str()));

    bool started = false;
    if (SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {
        started = RunThroughDesktopShell(exe, folder);
        CoUninitialize();
    }
    if (started) return true;
    return reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", exe.c_str(), nullptr, folder.c_str(),
                                                   SW_SHOWNORMAL)) > 32;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    std::unique_ptr<LPWSTR, LocalFreer> argv(CommandLineToArgvW(GetCommandLineW(), &argc));
    if (!argv || argc < 2) return 2;
    const std::wstring command = argv.get()[1];
    if (command == L"grant" && argc == 2) return GrantSettingsKey() ? 0 : 1;
    if (command == L"close" && argc == 3) return CloseAndWait(std::wcstoul(argv.get()[2], nullptr, 10)) ? 0 : 1;
    if (command == L"end" && argc == 2) return EndByForce() ? 0 : 1;
    if (command == L"run" && argc == 3) return Run(argv.get()[2]) ? 0 : 1;
    return 2;
}
