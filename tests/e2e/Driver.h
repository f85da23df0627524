// What the end-to-end scenarios need to drive CHWLU.EXE from a second process in the same Wine
// prefix: install it, start it, find its windows and message boxes, read and press them, give it
// real mouse and keyboard input, read the registry it wrote, and take screenshots.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

// ---- Texts and paths ----
std::string Narrow(const std::wstring& w);
std::wstring Wide(const std::string& s);
std::string EnvVar(const char* name);
// A path of the Linux side as Wine sees it (drive Z:).
std::string WinPathOf(const std::string& unixPath);

inline constexpr const char* kInstallDir = "C:\\Program Files\\Tallowmer\\CHWL";
inline constexpr const char* kWinampDir = "C:\\Program Files\\Winamp";
// Where a 64-bit Windows (and this Wine) installs the 32-bit player.
inline constexpr const char* kWinampX86Dir = "C:\\Program Files (x86)\\Winamp";
inline constexpr const char* kSettingsKey = "SOFTWARE\\TALLOWMERE\\CHWL";
inline constexpr const char* kPlayerClass = "Winamp v1.x";
inline constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

// ---- Installation inside the prefix ----
// True when the scenario's prefix holds the program as its setup program installed it (see
// run_case.sh); InstallProgram then keeps that copy.
bool InstalledBySetup();
void InstallProgram();        // CHWLU.EXE into the program folder
void MakeWinampFolderOnly();  // the folder without a player in it
void InstallPlayer(const char* dir = kWinampDir);  // the stand-in player as Winamp.exe
std::string PlayerLogPath();  // where the stand-in player logs the messages it receives
// A file that the build places beside CHWLU.EXE (CHWLHELP.DOC, update.exe), into the program folder.
bool InstallBeside(const std::string& name);
bool RemoveInstalled(const std::string& name);
std::string ReadFileText(const std::string& path);
// Major and minor version of the installed CHWLU.EXE, from its version resource.
std::optional<std::pair<int, int>> ProgramVersion();

// ---- Waiting: every wait has a deadline ----
bool WaitUntil(const std::function<bool()>& done, int timeoutMs, int pollMs = 100);
void Pause(int ms);
// Input that must show it arrived: `give`, then a wait for `arrived`. In a Wine desktop a click or key
// that comes with a change of the active window is now and then lost before it reaches the program:
// it is given again (up to `tries` in all), each repeat said in the log. False when it never arrived.
bool Confirmed(const char* what, const std::function<void()>& give, const std::function<bool()>& arrived,
               int timeoutMs = 4000, int tries = 2);

// ---- The program's process ----
class Process {
public:
    Process() = default;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();
    bool Start(const std::string& exe, const std::string& dir, const std::string& args = "");
    bool WaitExit(int timeoutMs);
    bool Running() const;
    DWORD Id() const { return pi_.dwProcessId; }
    DWORD ExitCode() const;
    void Kill();

private:
    PROCESS_INFORMATION pi_{};
};

// Starts the installed CHWLU.EXE.
bool StartProgram(Process& p);

// ---- Windows ----
std::vector<HWND> TopLevelWindows(DWORD pid);  // pid 0: every process
std::vector<HWND> Children(HWND parent);
std::string ClassOf(HWND h);
std::string TitleOf(HWND h);  // the stored caption, no message sent
// WM_GETTEXT, answered by the window's own thread; nullopt while that thread is busy.
std::optional<std::string> TextOf(HWND h, int timeoutMs = 2000);
bool Visible(HWND h);
bool Enabled(HWND h);
DWORD Style(HWND h);

// The main window: the program's top-level window that holds the month calendar.
HWND FindMainWindow(DWORD pid);
// The splash: the program's top-level window that holds the progress bar.
HWND FindSplash(DWORD pid);
HWND FindPlayerWindow();

// The main window's controls, by their control ids.
struct MainControls {
    HWND main = nullptr, monthView = nullptr, lblDate = nullptr, label1 = nullptr, label2 = nullptr,
         txtTime = nullptr, cmdSet = nullptr, cmdReset = nullptr, statusBar = nullptr;
};
MainControls FindControls(HWND main);
// The text of a part of the status bar (0 the first); "" when it cannot be read.
std::string StatusText(const MainControls& c, int part = 0);

// ---- Sound (see run_case.sh: a scenario run with CHW_E2E_SOUND=1 captures what the prefix plays) ----
// Whether this run captures sound at all.
bool SoundCaptured();
// How much has been played so far (bytes of 16-bit samples), and whether any of it since an earlier
// count is more than near-silence.
std::uint64_t SoundBytes();
bool LoudSince(std::uint64_t offset);

// ---- Message boxes ----
struct MsgBox {
    HWND hwnd = nullptr;
    std::string title;
    std::string text;
};
// The first visible message box of the process, waiting for it up to timeoutMs.
std::optional<MsgBox> WaitMsgBox(DWORD pid, int timeoutMs);
// Waits for a box with this title (other boxes are left alone).
std::optional<MsgBox> WaitMsgBoxTitled(DWORD pid, const std::string& title, int timeoutMs);
// Presses a button (IDOK, IDYES, ...) of a box without waiting for what the program does next.
void PressButton(HWND box, int id);
bool WaitGone(HWND h, int timeoutMs);

// ---- Commands and input ----
// A click of a button as its parent sees it (BN_CLICKED), posted so that a handler that opens a
// modal box does not hold the test.
void PostClick(HWND button);
void PostMenuCommand(HWND main, int id);
// Real input through the system's input queue.
void RealClick(HWND h, int clientX, int clientY);
void RealType(const std::string& text);
void RealKey(WORD vk, bool ctrl = false);
void RealRightClick(HWND h, int clientX, int clientY);
bool BringToFront(HWND h);
// The control that has the keyboard focus in the thread that owns the window.
HWND FocusOf(HWND anyWindowOfThread);

// ---- The month calendar ----
// The centre of the calendar cell that shows this day (client coordinates), found by hit-testing
// the control inside its own process.
std::optional<POINT> CalendarCell(HWND monthView, const SYSTEMTIME& day, bool currentMonthOnly = true);

// ---- Choosing an alarm through the real controls ----
// A real click on a day of the calendar; false when the calendar does not show that day.
bool ClickDay(const MainControls& c, const SYSTEMTIME& day, bool currentMonthOnly = true);
// A real click into the time box, its text replaced by `typed`, then Tab away (the program then asks
// AM or PM). False when the box did not become editable or take the focus.
bool TypeTimeAndLeave(const MainControls& c, const std::string& typed);

// ---- Other programs' windows ----
// Visible top-level windows of this class, of any process.
std::vector<HWND> WindowsOfClass(const std::string& cls);
// The visible pop-up menu of a process (class "#32768"), or null.
HWND FindPopupMenu(DWORD pid);

// ---- The notification area (only inside a Wine desktop with a taskbar, see run_case.sh) ----
struct TrayIconInfo {
    HWND tray = nullptr;  // the taskbar window that draws the icon
    RECT rect{};          // where, in the taskbar's client coordinates
    std::string tip;
};
// The icons shown now, read from the taskbar's tooltip tools (one tool per icon; a removed icon's
// tool stays behind with an empty rectangle and is left out).
std::vector<TrayIconInfo> TrayIcons();
// The icon whose tooltip begins with `tip` (the tooltips go on with the alarm's state).
std::optional<TrayIconInfo> TrayIconWithTip(const std::string& tip);

// ---- Dates and times as the program writes them ----
std::string ShortDate(const SYSTEMTIME& t);

// ---- Registry (HKEY_LOCAL_MACHINE unless a root is given) ----
bool KeyExists(const std::string& key);
std::optional<std::string> ReadValue(const std::string& key, const std::string& name, HKEY root = HKEY_LOCAL_MACHINE);
std::map<std::string, std::string> ReadAllValues(const std::string& key, bool* allStrings = nullptr);
bool WriteValue(const std::string& key, const std::string& name, const std::string& data,
                HKEY root = HKEY_LOCAL_MACHINE);
bool WriteBinary(const std::string& key, const std::string& name, const std::vector<unsigned char>& data,
                 HKEY root = HKEY_LOCAL_MACHINE);
// The rights of the key's own (not inherited) allow entries for a well-known group, 0 when none.
DWORD ExplicitAllowedRights(const std::string& key, WELL_KNOWN_SID_TYPE group);

// ---- What a screen reader finds (MSAA, asked from this process as a reader asks) ----
struct AccessibleInfo {
    std::string name;
    long role = 0;  // ROLE_SYSTEM_*
};
// The accessible object of a window's client area; nullopt when the window offers none.
std::optional<AccessibleInfo> AccessibleOf(HWND h);

// The status line's "live region changed" events of a process, heard from here as a screen reader
// hears them (an out-of-context event hook: this thread's messages are pumped while asking).
class LiveRegionListener {
public:
    explicit LiveRegionListener(DWORD pid);
    ~LiveRegionListener();
    LiveRegionListener(const LiveRegionListener&) = delete;
    LiveRegionListener& operator=(const LiveRegionListener&) = delete;
    // How many were raised by this window so far.
    int Heard(HWND h);

private:
    HWINEVENTHOOK hook_ = nullptr;
};

// ---- Screenshots, saved beside the scenario's log ----
bool Screenshot(const std::string& name);

}  // namespace e2e

namespace e2e {

// ---- More input ----
// A key pressed with modifier keys held (VK_SHIFT, VK_CONTROL, VK_MENU), released in reverse order.
void RealChord(WORD vk, std::initializer_list<WORD> modifiers);
// Alt+E on the main window, brought to the front first: the Settings menu is open for the keys that
// follow. False when the window would not come to the front.
bool OpenSettingsMenu(HWND main);

// ---- A registry key made unwritable for the program ----
// Lock replaces the key's security with one that denies everyone everything (SDDL D:P(D;;KA;;;WD)),
// creating the key when it does not exist; Deny adds to it one entry of the key's own that denies
// everyone these rights, as a standard user meets them. The handle opened before keeps the right to
// put the old security back, which Release does (also at destruction).
class KeyLock {
public:
    KeyLock() = default;
    KeyLock(const KeyLock&) = delete;
    KeyLock& operator=(const KeyLock&) = delete;
    ~KeyLock() { Release(); }
    bool Lock(const std::string& key);
    bool Deny(const std::string& key, DWORD rights);
    bool Release();

private:
    bool OpenAndSave(const std::string& key, bool create);
    HKEY key_ = nullptr;
    std::vector<unsigned char> saved_;
};

}  // namespace e2e
