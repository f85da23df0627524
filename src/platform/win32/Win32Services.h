// Win32 implementations of the operating-system services that the logic uses (src/platform/*.h).
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "UiLoop.h"
#include "Win32Util.h"
#include "platform/Platform.h"

namespace chw::win32 {

class Win32WindowSystem : public IWindowSystem {
public:
    WindowHandle Find(const std::string& windowClass, const std::optional<std::string>& title) override;
    std::optional<std::intptr_t> SendMsg(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                         std::intptr_t lParam, int timeoutMs) override;
    bool PostMsg(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void Show(WindowHandle window, ShowCommand command) override;
    bool IsMinimized(WindowHandle window) override;
    void BringToFront(WindowHandle window) override;
    WindowHandle MainWindowOf(WindowHandle applicationWindow) override;
    bool GreySystemMenuItem(WindowHandle window, int position, const std::string& caption) override;
};

class Win32Registry : public IRegistry {
public:
    bool CreateKey(Hive root, const std::string& path) override;
    bool SetString(Hive root, const std::string& path, const std::string& name, const std::string& data) override;
    std::optional<std::string> GetString(Hive root, const std::string& path, const std::string& name,
                                         RegView view = RegView::Native) override;
    std::optional<std::vector<std::uint8_t>> GetBinary(Hive root, const std::string& path,
                                                       const std::string& name) override;
};

class Win32FileSystem : public IFileSystem {
public:
    bool FolderExists(const std::string& path) override;
    bool FileExists(const std::string& path) override;
    std::string SystemFolder() override;
    std::string AppFolder() override;
    std::string ProgramFilesX86Folder() override;
};

class Win32ProcessLauncher : public IProcessLauncher {
public:
    LaunchResult Launch(const std::string& commandLine, WindowStyle style) override;
    bool OpenDocument(const std::string& path) override;
};

class Win32MessageBoxes : public IMessageBoxes {
public:
    explicit Win32MessageBoxes(UiLoop& loop) : loop_(loop) {}
    MbAnswer Show(const std::string& text, const std::string& title, MbIcon icon, MbButtons buttons) override;

private:
    UiLoop& loop_;
};

class Win32Runtime : public IRuntime {
public:
    Win32Runtime(UiLoop& loop, HWND applicationWindow) : loop_(loop), appWindow_(applicationWindow) {}

    // Called by EndProgram before the process ends (the tray icon must not outlive us).
    void SetBeforeExit(std::function<void()> f) { beforeExit_ = std::move(f); }

    void Pause(int milliseconds) override { loop_.Pause(milliseconds); }
    void DoEvents() override { loop_.DoEvents(); }
    [[noreturn]] void EndProgram() override;
    std::string AppTitle() override { return Utf8(WindowTextW(appWindow_)); }
    void SetAppTitle(const std::string& title) override { ::SetWindowTextW(appWindow_, Wide(title).c_str()); }
    Version ProgramVersion() override;
    void RegisterRestart(bool on) override;

private:
    UiLoop& loop_;
    HWND appWindow_;
    std::function<void()> beforeExit_;
};

class Win32Clock : public IClock {
public:
    DateTime Now() override;
    std::string ShortDateText(const Date& date) override;
    std::string TimeText(const DateTime& time) override;
    std::uint64_t TickMs() override { return ::GetTickCount64(); }
    std::int64_t UtcSeconds() override;
    std::int64_t MomentOf(const DateTime& local) override;
    std::string ShortDatePattern() override;

private:
    // The rules of one year under the zone in force when they were read: the watch asks every second.
    struct YearRules {
        int year = 0;
        TIME_ZONE_INFORMATION current{};
        TIME_ZONE_INFORMATION rules{};
    };
    std::optional<YearRules> rules_;
};

// The moment (UTC seconds) a local time stands for under a zone's rules for that year.
std::int64_t MomentIn(const TIME_ZONE_INFORMATION& zone, const DateTime& local);

// The built-in alarm sound as a complete wave file.
std::vector<std::uint8_t> AlarmWave();

// The built-in alarm sound, looped.
class Win32AlarmSound : public IAlarmSound {
public:
    Win32AlarmSound() = default;
    Win32AlarmSound(const Win32AlarmSound&) = delete;
    Win32AlarmSound& operator=(const Win32AlarmSound&) = delete;
    ~Win32AlarmSound() override { Stop(); }
    bool Start() override;
    void Stop() override;

private:
    using DeviceCount = UINT(WINAPI*)();
    using PlaySoundFn = BOOL(WINAPI*)(LPCWSTR, HMODULE, DWORD);
    bool Load();

    DeviceCount deviceCount_ = nullptr;
    PlaySoundFn playSound_ = nullptr;
    bool playing_ = false;
};

// One waitable timer that can wake the machine, kept for the program's life.
class Win32Power : public IPower {
public:
    bool WakeAt(std::int64_t utcSeconds) override;
    void CancelWake() override {
        if (timer_) ::CancelWaitableTimer(timer_.get());
    }
    void KeepAwake(AwakeLevel level, bool on) override;
    bool ModernStandby() override;
    PowerSource Source() override;
    std::optional<bool> WakeTimersAllowed(PowerSource source) override;

private:
    UniqueHandle timer_;
    bool ringing_ = false;
    bool armed_ = false;
};

// The registered message by which a second instance asks our application window for the main window.
UINT MainWindowQueryMessage();

}  // namespace chw::win32
