#include "Win32Services.h"

#include <knownfolders.h>
#include <mmsystem.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "Win32Util.h"

#include "platform/ProductNames.h"

namespace chw::win32 {

namespace {

HKEY RootKey(Hive root) {
    return root == Hive::User ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

// A folder or key path without trailing backslashes, as the registry and the logic want it.
std::wstring WithoutTrailingSlash(std::wstring path) {
    while (!path.empty() && path.back() == L'\\') path.pop_back();
    return path;
}

// A key opened with these rights; empty when it cannot be.
UniqueKey OpenKey(Hive root, const std::string& path, REGSAM access) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(RootKey(root), WithoutTrailingSlash(Wide(path)).c_str(), 0, access, &key) != ERROR_SUCCESS)
        return UniqueKey();
    return UniqueKey(key);
}

// What the locale functions wrote: n characters, the terminator among them; nothing when they failed.
std::string LocaleText(const wchar_t* buffer, int n) {
    return n > 0 ? Utf8(std::wstring(buffer, static_cast<size_t>(n - 1))) : std::string();
}

}  // namespace

UINT MainWindowQueryMessage() {
    static const UINT message = ::RegisterWindowMessageW(CHW_WIDE(CHW_PRODUCT ".MainWindowQuery"));
    return message;
}

// ---- Windows ----

WindowHandle Win32WindowSystem::Find(const std::string& windowClass, const std::optional<std::string>& title) {
    std::wstring cls = Wide(windowClass);
    std::wstring caption = title ? Wide(*title) : std::wstring();
    return HandleOf(::FindWindowW(cls.c_str(), title ? caption.c_str() : nullptr));
}

std::optional<std::intptr_t> Win32WindowSystem::SendMsg(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                                        std::intptr_t lParam, int timeoutMs) {
    if (!window || !::IsWindow(WindowOf(window))) return std::nullopt;
    DWORD_PTR reply = 0;
    if (!::SendMessageTimeoutW(WindowOf(window), message, wParam, lParam, SMTO_ABORTIFHUNG,
                               static_cast<UINT>(timeoutMs > 0 ? timeoutMs : 0), &reply))
        return std::nullopt;
    return static_cast<std::intptr_t>(reply);
}

bool Win32WindowSystem::PostMsg(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (!window) return false;
    return ::PostMessageW(WindowOf(window), message, wParam, lParam) != FALSE;
}

namespace {
// ShowWindow on another thread's window waits for that thread to handle it, for ever if it hangs; the
// asynchronous form only queues the change.
bool OfAnotherThread(HWND window) { return ::GetWindowThreadProcessId(window, nullptr) != ::GetCurrentThreadId(); }
}  // namespace

void Win32WindowSystem::Show(WindowHandle window, ShowCommand command) {
    HWND hwnd = WindowOf(window);
    if (hwnd) (OfAnotherThread(hwnd) ? ::ShowWindowAsync : ::ShowWindow)(hwnd, ShowWindowCommand(command));
}

bool Win32WindowSystem::IsMinimized(WindowHandle window) { return window && ::IsIconic(WindowOf(window)); }

void Win32WindowSystem::BringToFront(WindowHandle window) {
    HWND hwnd = WindowOf(window);
    if (!hwnd || !::IsWindow(hwnd)) return;
    // A window of another process may take the foreground only if we let it; we are usually the
    // foreground process ourselves here (the user just started us), so this is allowed.
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid != ::GetCurrentProcessId()) ::AllowSetForegroundWindow(pid);
    if (!::SetForegroundWindow(hwnd)) ::BringWindowToTop(hwnd);
}

WindowHandle Win32WindowSystem::MainWindowOf(WindowHandle applicationWindow) {
    // A busy instance (in one of its long pauses) must not hang this one forever.
    const std::optional<std::intptr_t> reply = SendMsg(applicationWindow, MainWindowQueryMessage(), 0, 0, 5000);
    HWND main = reply ? reinterpret_cast<HWND>(*reply) : nullptr;
    return main && ::IsWindow(main) ? HandleOf(main) : 0;
}

bool Win32WindowSystem::GreySystemMenuItem(WindowHandle window, int position, const std::string& text) {
    HMENU menu = window ? ::GetSystemMenu(WindowOf(window), FALSE) : nullptr;
    if (!menu) return false;
    // Addressed by its command, replaced by a greyed item whose id (-9) is no command of the window.
    constexpr int kNoCommand = -9;
    const UINT itemId = ::GetMenuItemID(menu, position);
    std::wstring caption = Wide(text);
    BOOL ok = ::ModifyMenuW(menu, itemId, MF_BYCOMMAND | MF_GRAYED,
                            static_cast<UINT_PTR>(static_cast<UINT>(kNoCommand)), caption.c_str());
    // The close box in the title bar follows the system menu; have it drawn again.
    ::RedrawWindow(WindowOf(window), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
    return ok != FALSE;
}

// ---- Registry ----

bool Win32Registry::CreateKey(Hive root, const std::string& path) {
    HKEY key = nullptr;
    // Only whether the key is there afterwards matters: ask for no more than a standard user is granted.
    LSTATUS rc = ::RegCreateKeyExW(RootKey(root), WithoutTrailingSlash(Wide(path)).c_str(), 0, nullptr,
                                   REG_OPTION_NON_VOLATILE, KEY_QUERY_VALUE, nullptr, &key, nullptr);
    UniqueKey owned(key);
    return rc == ERROR_SUCCESS;
}

bool Win32Registry::SetString(Hive root, const std::string& path, const std::string& name,
                              const std::string& data) {
    const UniqueKey key = OpenKey(root, path, KEY_SET_VALUE);
    if (!key) return false;
    std::wstring value = Wide(data);
    std::wstring valueName = Wide(name);
    auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(key.get(), valueName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            bytes) == ERROR_SUCCESS;
}

namespace {
// The data of a value of one of these types, read with these extra rights (a registry view).
std::optional<std::vector<BYTE>> ReadValue(Hive root, const std::string& path, const std::string& name, REGSAM extra,
                                           DWORD type1, DWORD type2) {
    const UniqueKey key = OpenKey(root, path, KEY_QUERY_VALUE | extra);
    if (!key) return std::nullopt;
    const std::wstring valueName = Wide(name);
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD type = 0, size = 0;
        if (::RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
            (type != type1 && type != type2))
            return std::nullopt;
        std::vector<BYTE> data(size + 1);  // never empty: a null buffer would only be measured
        DWORD got = size + 1;
        const LSTATUS rc = ::RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, data.data(), &got);
        if (rc == ERROR_MORE_DATA) continue;  // it grew meanwhile
        if (rc != ERROR_SUCCESS) return std::nullopt;
        data.resize(got);
        return data;
    }
    return std::nullopt;
}
}  // namespace

std::optional<std::string> Win32Registry::GetString(Hive root, const std::string& path, const std::string& name,
                                                    RegView view) {
    constexpr REGSAM kViews[] = {0, KEY_WOW64_64KEY, KEY_WOW64_32KEY};  // in the order of RegView
    const auto data = ReadValue(root, path, name, kViews[static_cast<int>(view)], REG_SZ, REG_EXPAND_SZ);
    if (!data) return std::nullopt;
    // The stored data need not end in a terminator.
    std::wstring text(data->size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), data->data(), text.size() * sizeof(wchar_t));
    if (auto end = text.find(L'\0'); end != std::wstring::npos) text.resize(end);
    return Utf8(text);
}

std::optional<std::vector<std::uint8_t>> Win32Registry::GetBinary(Hive root, const std::string& path,
                                                                  const std::string& name) {
    return ReadValue(root, path, name, 0, REG_BINARY, REG_BINARY);
}

// ---- Files ----

namespace {
// Whether the path names an existing entry that is (or is not) a folder.
bool Exists(const std::string& path, bool folder) {
    const DWORD attributes = ::GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) == folder;
}
}  // namespace

bool Win32FileSystem::FolderExists(const std::string& path) { return Exists(path, true); }

bool Win32FileSystem::FileExists(const std::string& path) { return Exists(path, false); }

std::string Win32FileSystem::SystemFolder() { return Utf8(WithoutTrailingSlash(SystemDirectory())); }

std::string Win32FileSystem::AppFolder() {
    // As long as the longest path Windows knows: no longer name can come back.
    std::wstring path(32768, L'\0');
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0 || n >= path.size()) return {};
    path.resize(n);
    size_t slash = path.find_last_of(L"\\/");
    return Utf8(slash == std::wstring::npos ? std::wstring() : path.substr(0, slash));
}

std::string Win32FileSystem::ProgramFilesX86Folder() {
    PWSTR path = nullptr;
    const HRESULT hr = ::SHGetKnownFolderPath(FOLDERID_ProgramFilesX86, 0, nullptr, &path);
    const std::wstring folder = SUCCEEDED(hr) && path ? path : L"";
    ::CoTaskMemFree(path);
    return Utf8(WithoutTrailingSlash(folder));
}

// ---- Processes ----

LaunchResult Win32ProcessLauncher::Launch(const std::string& commandLine, WindowStyle style) {
    std::wstring line = Wide(commandLine);
    line.push_back(L'\0');  // CreateProcessW may write into the command line
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(ShowWindowCommand(style));
    PROCESS_INFORMATION pi{};
    // No application name: an unquoted path with blanks is resolved by CreateProcess itself.
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        const DWORD error = ::GetLastError();
        return {.error = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? LaunchError::FileNotFound
                                                                                         : LaunchError::Other};
    }
    UniqueHandle process(pi.hProcess), thread(pi.hThread);
    return {.taskId = static_cast<long>(pi.dwProcessId)};
}

bool Win32ProcessLauncher::OpenDocument(const std::string& path) {
    // Some associations are started through COM (an app's delegate): the thread needs it meanwhile.
    ComScope com(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const std::wstring file = Wide(path);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    // Told here whether it failed, not in a box of the shell's own.
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = file.c_str();
    info.nShow = SW_SHOWNORMAL;
    return ::ShellExecuteExW(&info) != FALSE;
}

// ---- Message boxes ----

MbAnswer Win32MessageBoxes::Show(const std::string& text, const std::string& title, MbIcon icon, MbButtons buttons) {
    // In the order of MbIcon and MbButtons.
    constexpr UINT kIcons[] = {0, MB_ICONERROR, MB_ICONQUESTION, MB_ICONEXCLAMATION, MB_ICONINFORMATION};
    constexpr UINT kButtons[] = {MB_OK, MB_OKCANCEL, MB_YESNO};
    UINT type = MB_SETFOREGROUND | kIcons[static_cast<int>(icon)] | kButtons[static_cast<int>(buttons)];
    HWND owner = loop_.MainWindow();
    if (owner && !::IsWindowVisible(owner)) owner = nullptr;
    // Without a visible owner the box still keeps the program's other windows from input meanwhile.
    if (!owner) type |= MB_TASKMODAL;
    const int answer = ::MessageBoxW(owner, Wide(text).c_str(), Wide(title).c_str(), type);
    constexpr std::pair<int, MbAnswer> kAnswers[] = {
        {IDOK, MbAnswer::Ok}, {IDYES, MbAnswer::Yes}, {IDNO, MbAnswer::No}, {IDCANCEL, MbAnswer::Cancel}};
    for (const auto& [id, meaning] : kAnswers)
        if (answer == id) return meaning;
    // The box could not be shown: give the answer that changes nothing, in the order of MbButtons.
    constexpr MbAnswer kNothing[] = {MbAnswer::Ok, MbAnswer::Cancel, MbAnswer::No};
    return kNothing[static_cast<int>(buttons)];
}

// ---- Run-time ----

void Win32Runtime::EndProgram() {
    if (beforeExit_) Guarded([this] { beforeExit_(); });
    ::ExitProcess(0);
}

// Every Windows the program runs on (7 and later) keeps such a registration.
void Win32Runtime::RegisterRestart(bool on) {
    if (on)
        ::RegisterApplicationRestart(L"", 0);
    else
        ::UnregisterApplicationRestart();
}

Version Win32Runtime::ProgramVersion() {
    HRSRC info = ::FindResourceW(nullptr, MAKEINTRESOURCEW(VS_VERSION_INFO), MAKEINTRESOURCEW(16) /* RT_VERSION */);
    HGLOBAL loaded = info ? ::LoadResource(nullptr, info) : nullptr;
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (!data) return {};
    // VerQueryValue wants a block it may write to, not the read-only resource itself.
    auto* bytes = static_cast<const BYTE*>(data);
    std::vector<BYTE> copy(bytes, bytes + ::SizeofResource(nullptr, info));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(copy.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || !fixed ||
        length < sizeof(VS_FIXEDFILEINFO))
        return {};
    return {HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS)};
}

// ---- Clock ----

DateTime Win32Clock::Now() {
    SYSTEMTIME st;
    ::GetLocalTime(&st);
    return DateTime{Date{st.wYear, st.wMonth, st.wDay}, st.wHour, st.wMinute, st.wSecond};
}

std::string Win32Clock::ShortDateText(const Date& date) {
    SYSTEMTIME st = ToSystemTime(date);
    wchar_t buffer[128];
    return LocaleText(buffer,
                      ::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer, 128, nullptr));
}

std::string Win32Clock::TimeText(const DateTime& time) {
    SYSTEMTIME st = ToSystemTime(time.date, time.hour, time.minute, time.second);
    wchar_t buffer[128];
    return LocaleText(buffer, ::GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &st, nullptr, buffer, 128));
}

namespace {
constexpr std::int64_t kUnixEpochIn100ns = 116444736000000000LL;

std::int64_t SecondsOf(const FILETIME& ft) {
    return (static_cast<std::int64_t>(Ticks(ft)) - kUnixEpochIn100ns) / 10000000LL;
}

// Whole seconds since 1970 of a SYSTEMTIME read as it stands (no zone).
std::int64_t SecondsOf(const SYSTEMTIME& st) {
    FILETIME ft{};
    if (!::SystemTimeToFileTime(&st, &ft)) return 0;
    return SecondsOf(ft);
}

SYSTEMTIME SystemTimeOf(std::int64_t seconds) {
    ULARGE_INTEGER u{};
    u.QuadPart = static_cast<ULONGLONG>(seconds * 10000000LL + kUnixEpochIn100ns);
    FILETIME ft{u.LowPart, u.HighPart};
    SYSTEMTIME st{};
    ::FileTimeToSystemTime(&ft, &st);
    return st;
}

// The local time shown at a UTC moment, as seconds of a zone-less clock; nullopt when it cannot be told.
std::optional<std::int64_t> LocalAt(const TIME_ZONE_INFORMATION& zone, std::int64_t utc) {
    SYSTEMTIME u = SystemTimeOf(utc), local{};
    if (!::SystemTimeToTzSpecificLocalTime(&zone, &u, &local)) return std::nullopt;
    return SecondsOf(local);
}
}  // namespace

std::int64_t Win32Clock::UtcSeconds() {
    FILETIME ft;
    ::GetSystemTimeAsFileTime(&ft);
    return SecondsOf(ft);
}

std::int64_t MomentIn(const TIME_ZONE_INFORMATION& zone, const DateTime& local) {
    const std::int64_t wanted = SecondsOf(ToSystemTime(local.date, local.hour, local.minute, local.second));
    // UTC = local + bias: the moment is one of the two offsets in use this year, whichever shows it.
    std::int64_t a = wanted + 60LL * (zone.Bias + zone.StandardBias);
    std::int64_t b = wanted + 60LL * (zone.Bias + zone.DaylightBias);
    if (a > b) std::swap(a, b);
    for (std::int64_t candidate : {a, b})  // the earlier first: a time shown twice means its first showing
        if (LocalAt(zone, candidate) == wanted) return candidate;
    // The clocks skip it: the first minute after the gap is the change itself, the first moment whose
    // local time lies beyond the one asked for. Changes fall on whole minutes.
    std::int64_t lo = a - a % 60, hi = b + 60 - b % 60;
    while (hi - lo > 60) {
        std::int64_t mid = lo + (hi - lo) / 120 * 60;
        if (LocalAt(zone, mid).value_or(wanted) > wanted)
            hi = mid;
        else
            lo = mid;
    }
    return hi;
}

std::int64_t Win32Clock::MomentOf(const DateTime& local) {
    TIME_ZONE_INFORMATION current{};
    const bool known = ::GetTimeZoneInformation(&current) != TIME_ZONE_ID_INVALID;
    // Read again when the user picks another zone or the year differs.
    if (known && rules_ && rules_->year == local.date.year &&
        std::memcmp(&rules_->current, &current, sizeof(current)) == 0)
        return MomentIn(rules_->rules, local);
    rules_.reset();
    DYNAMIC_TIME_ZONE_INFORMATION dynamic{};
    TIME_ZONE_INFORMATION zone{};
    // The rules of that year: a zone may have changed its offsets or its change dates since.
    if (::GetDynamicTimeZoneInformation(&dynamic) == TIME_ZONE_ID_INVALID ||
        !::GetTimeZoneInformationForYear(static_cast<USHORT>(local.date.year), &dynamic, &zone)) {
        if (!known) return 0;
        zone = current;
    }
    if (known) rules_ = YearRules{local.date.year, current, zone};
    return MomentIn(zone, local);
}

std::string Win32Clock::ShortDatePattern() {
    wchar_t buffer[80];
    return LocaleText(buffer, ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SSHORTDATE, buffer, 80));
}

// ---- Sound and power ----

// One second of four short beeps and a pause, 16-bit mono at 16 kHz, that loops without a seam. Each
// beep is a 2 kHz tone with some of its third harmonic, which cuts through a room better than a pure
// tone, with 4 ms ramps so that neither the beeps nor the loop's joint click.
std::vector<std::uint8_t> AlarmWave() {
    constexpr int kRate = 16000, kToneHz = 2000, kBeeps = 4;
    constexpr int kBeep = kRate * 110 / 1000, kGap = kRate * 70 / 1000, kPause = kRate * 350 / 1000;
    constexpr int kRamp = kRate * 4 / 1000;
    constexpr double kLevel = 0.7 / 1.3;  // loud, with room for the harmonic
    constexpr double kTwoPi = 6.283185307179586;
    std::vector<std::int16_t> pcm;
    pcm.reserve(kRate);
    for (int beep = 0; beep < kBeeps; ++beep) {
        for (int i = 0; i < kBeep; ++i) {
            const double t = static_cast<double>(i) / kRate;
            const double tone = std::sin(kTwoPi * kToneHz * t) + 0.3 * std::sin(kTwoPi * 3 * kToneHz * t);
            const double edge = std::min({1.0, static_cast<double>(i) / kRamp, static_cast<double>(kBeep - 1 - i) / kRamp});
            pcm.push_back(static_cast<std::int16_t>(std::lround(kLevel * tone * edge * 32767)));
        }
        pcm.insert(pcm.end(), beep < kBeeps - 1 ? kGap : kPause, 0);
    }
    // The file: its RIFF header, the format the system's own structure describes, then the samples.
    const auto dataBytes = static_cast<std::uint32_t>(pcm.size() * 2);
    const std::uint32_t fileBytes = 36 + dataBytes, formatBytes = sizeof(PCMWAVEFORMAT);
    const PCMWAVEFORMAT format{{WAVE_FORMAT_PCM, 1, kRate, kRate * 2, 2}, 16};  // mono, 16-bit
    static_assert(sizeof(PCMWAVEFORMAT) == 16);
    std::vector<std::uint8_t> wave;
    auto put = [&wave](const void* data, size_t size) {
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        wave.insert(wave.end(), bytes, bytes + size);
    };
    put("RIFF", 4);
    put(&fileBytes, 4);
    put("WAVEfmt ", 8);
    put(&formatBytes, 4);
    put(&format, sizeof(format));
    put("data", 4);
    put(&dataBytes, 4);
    put(pcm.data(), dataBytes);  // little-endian, as the format wants
    return wave;
}

bool Win32AlarmSound::Start() {
    if (!Load()) return false;
    // PlaySound may fall back to a silent "success" where no device plays: ask for one first.
    if (deviceCount_() == 0) return false;
    // Made the first time, and kept: the asynchronous player reads it while it loops.
    static const std::vector<std::uint8_t> wave = AlarmWave();
    playing_ = playSound_(reinterpret_cast<LPCWSTR>(wave.data()), nullptr,
                          SND_MEMORY | SND_ASYNC | SND_LOOP | SND_NODEFAULT) != FALSE;
    return playing_;
}

void Win32AlarmSound::Stop() {
    // Only our own sound: PlaySound(nullptr) would end any sound of this process.
    if (playing_) playSound_(nullptr, nullptr, 0);
    playing_ = false;
}

// The sound library is mapped the first time the alarm has to sound itself, which most runs never do.
// It stays for the rest of the program: its player thread may still be ending after the last stop.
bool Win32AlarmSound::Load() {
    if (deviceCount_ && playSound_) return true;
    HMODULE winmm = LoadSystemLibrary(L"winmm.dll");
    deviceCount_ = ProcOf<DeviceCount>(winmm, "waveOutGetNumDevs");
    playSound_ = ProcOf<PlaySoundFn>(winmm, "PlaySoundW");
    return deviceCount_ && playSound_;
}

bool Win32Power::WakeAt(std::int64_t utcSeconds) {
    if (!timer_) timer_ = UniqueHandle(::CreateWaitableTimerW(nullptr, TRUE, nullptr));
    if (!timer_) return false;
    LARGE_INTEGER due{};
    due.QuadPart = utcSeconds * 10000000LL + kUnixEpochIn100ns;  // positive: an absolute UTC time
    ::SetLastError(ERROR_SUCCESS);
    // Setting the timer again replaces the moment set before.
    if (!::SetWaitableTimer(timer_.get(), &due, 0, nullptr, nullptr, TRUE)) return false;
    // The timer is set, but this machine cannot wake for it. Wine says so with the status's own code.
    constexpr DWORD kResumeIgnored = 722;
    const DWORD error = ::GetLastError();
    return error != ERROR_NOT_SUPPORTED && error != kResumeIgnored;
}

void Win32Power::KeepAwake(AwakeLevel level, bool on) {
    (level == AwakeLevel::Display ? ringing_ : armed_) = on;
    // The thread's execution state holds both wishes at once.
    EXECUTION_STATE state = ES_CONTINUOUS;
    if (ringing_ || armed_) state |= ES_SYSTEM_REQUIRED;
    if (ringing_) state |= ES_DISPLAY_REQUIRED;
    ::SetThreadExecutionState(state);
}

namespace {
// powrprof is mapped only when the wake is judged, at arming.
template <class F>
F PowrProfEntry(const char* name) {
    static const HMODULE module = LoadSystemLibrary(L"powrprof.dll");
    return ProcOf<F>(module, name);
}

// The sleep subgroup and its "Allow wake timers" setting.
constexpr GUID kSleepSubgroup = {0x238c9fa8, 0x0aad, 0x41ed, {0x83, 0xf4, 0x97, 0xbe, 0x24, 0x2c, 0x8f, 0x20}};
constexpr GUID kAllowWakeTimers = {0xbd3b718a, 0x0680, 0x4d9d, {0x8a, 0xb2, 0xe1, 0xd2, 0xb4, 0xac, 0x80, 0x6d}};
constexpr DWORD kWakeTimersEnabled = 1;  // 0 disabled, 2 important wake timers only
}  // namespace

bool Win32Power::ModernStandby() {
    using GetCaps = BOOLEAN(WINAPI*)(SYSTEM_POWER_CAPABILITIES*);
    const auto getCaps = PowrProfEntry<GetCaps>("GetPwrCapabilities");
    SYSTEM_POWER_CAPABILITIES caps{};
    if (!getCaps || !getCaps(&caps)) return false;
    // This SDK's headers predate the field: the byte after Hiberboot and WakeAlarmPresent is AoAc.
    return caps.spare2[2] != 0;
}

PowerSource Win32Power::Source() {
    SYSTEM_POWER_STATUS status{};
    return ::GetSystemPowerStatus(&status) && status.ACLineStatus == 0 ? PowerSource::Battery : PowerSource::Mains;
}

std::optional<bool> Win32Power::WakeTimersAllowed(PowerSource source) {
    using ActiveScheme = DWORD(WINAPI*)(HKEY, GUID**);
    using ReadIndex = DWORD(WINAPI*)(HKEY, const GUID*, const GUID*, const GUID*, DWORD*);
    const auto activeScheme = PowrProfEntry<ActiveScheme>("PowerGetActiveScheme");
    const auto read =
        PowrProfEntry<ReadIndex>(source == PowerSource::Mains ? "PowerReadACValueIndex" : "PowerReadDCValueIndex");
    GUID* scheme = nullptr;
    // Without an active plan nothing more is asked (Wine has none, and would end the process at the read).
    if (!activeScheme || !read || activeScheme(nullptr, &scheme) != ERROR_SUCCESS || !scheme) return std::nullopt;
    DWORD value = 0;
    const DWORD rc = read(nullptr, scheme, &kSleepSubgroup, &kAllowWakeTimers, &value);
    ::LocalFree(scheme);
    if (rc != ERROR_SUCCESS) return std::nullopt;
    return value == kWakeTimersEnabled;
}

}  // namespace chw::win32
