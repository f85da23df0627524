// In-memory stand-ins for every platform service, recording what the logic asked of them.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "fakes/FakeTime.h"
#include "platform/Platform.h"

namespace chw::fakes {

// ---- Windows of other programs ----

struct FakeWindow {
    std::string windowClass;
    std::string title;
    bool visible = true;
    bool minimized = false;
    WindowHandle mainWindow = 0;  // for an application window: its instance's main window
    // Replies to sent messages; default: 0. Posted messages are recorded and accepted unless acceptPosts is false.
    std::function<std::intptr_t(unsigned, std::uintptr_t, std::intptr_t)> onSend;
    bool acceptPosts = true;
    bool hung = false;  // sent messages time out (the fake time moves on by the timeout)
    std::map<int, std::string> greyedSystemMenu;  // position -> caption of the greyed item put there
};

struct SentMessage {
    WindowHandle to;
    unsigned message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
    bool posted;
};

// A fake Winamp player window: answers the status query, takes the volume, closes on the close command.
struct FakePlayer {
    WindowHandle handle = 0;
    int status = 0;   // 0 stopped, 1 playing, 3 paused
    int volume = -1;  // last volume set
    bool refuseClose = false;
    bool ignorePlay = false;  // Play is taken but nothing starts
    int playlistLength = 5;
    int playPresses = 0;
};

class FakeWindowSystem : public IWindowSystem {
public:
    std::map<WindowHandle, FakeWindow> windows;
    std::vector<WindowHandle> zOrder;  // first is found first
    std::vector<SentMessage> messages;
    std::vector<std::pair<WindowHandle, ShowCommand>> shows;
    std::vector<WindowHandle> minimizeCalls;
    std::vector<WindowHandle> broughtToFront;
    std::map<WindowHandle, FakePlayer> players;  // keyed by window handle
    int postFailuresLeft = 0;  // posts that fail before they succeed again (-1: all fail)
    FakeScheduler* scheduler = nullptr;  // moved on by the timeout of a send to a hung window

    WindowHandle Add(const std::string& windowClass, const std::string& title = "");
    void Remove(WindowHandle window);
    bool Exists(WindowHandle window) const { return windows.count(window) != 0; }
    // Adds a player window of class "Winamp v1.x" that behaves like the real one.
    FakePlayer& AddPlayer(int status = 0);
    // The Play commands sent or posted to any player.
    long PlayCommands() const;
    // Messages sent or posted to one window, in order.
    std::vector<SentMessage> MessagesTo(WindowHandle window) const;

    WindowHandle Find(const std::string& windowClass, const std::optional<std::string>& title) override;
    std::optional<std::intptr_t> SendMsg(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                         std::intptr_t lParam, int timeoutMs) override;
    bool PostMsg(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void Show(WindowHandle window, ShowCommand command) override;
    bool IsMinimized(WindowHandle window) override;
    void BringToFront(WindowHandle window) override;
    WindowHandle MainWindowOf(WindowHandle applicationWindow) override;
    bool GreySystemMenuItem(WindowHandle window, int position, const std::string& caption) override;

private:
    WindowHandle next_ = 0x1000;
};

// ---- Registry ----

// Keys of HKEY_LOCAL_MACHINE are named by their path alone, keys of HKEY_CURRENT_USER as "HKCU\\path",
// in the log, in `fail` and in the test helpers alike.
class FakeRegistry : public IRegistry {
public:
    // Return true to make that operation fail: op is "create", "write" or "read".
    std::function<bool(const std::string& op, const std::string& key, const std::string& name)> fail;
    std::vector<std::string> log;  // "create KEY", "write KEY|NAME=DATA", "read KEY|NAME" (failed ones end in " FAILED")

    bool HasKey(const std::string& key) const;
    std::optional<std::string> Value(const std::string& key, const std::string& name) const;
    void Put(const std::string& key, const std::string& name, const std::string& data);  // creates the key
    void Delete(const std::string& key, const std::string& name);
    // The log's successful writes only, "NAME=DATA", or "HKCU NAME=DATA" for the user's hive.
    std::vector<std::string> Writes() const;

    bool CreateKey(Hive root, const std::string& path) override;
    bool SetString(Hive root, const std::string& path, const std::string& name, const std::string& data) override;
    // The 32-bit view of a key under SOFTWARE is the key under SOFTWARE\WOW6432Node, as Windows keeps it.
    std::optional<std::string> GetString(Hive root, const std::string& path, const std::string& name,
                                         RegView view = RegView::Native) override;
    // Binary data is kept as the characters of a string value (Put it so).
    std::optional<std::vector<std::uint8_t>> GetBinary(Hive root, const std::string& path,
                                                       const std::string& name) override;

private:
    static std::string Norm(const std::string& s);
    static std::string Rooted(Hive root, const std::string& path);
    std::map<std::string, std::map<std::string, std::string>> keys_;  // normalised key -> normalised name -> data
};

// ---- Files ----

class FakeFileSystem : public IFileSystem {
public:
    std::set<std::string> folders;  // compared without letter case
    std::set<std::string> files;
    std::string systemFolder = "C:\\windows\\system32";
    std::string appFolder = "c:\\Program Files\\Tallowmer\\CHWL";
    std::string programFilesX86 = "C:\\Program Files (x86)";

    void AddFolder(const std::string& path);
    void AddFile(const std::string& path);
    void RemoveFile(const std::string& path);

    bool FolderExists(const std::string& path) override;
    bool FileExists(const std::string& path) override;
    std::string SystemFolder() override { return systemFolder; }
    std::string AppFolder() override { return appFolder; }
    std::string ProgramFilesX86Folder() override { return programFilesX86; }
};

// ---- Processes ----

struct LaunchCall {
    std::string commandLine;
    WindowStyle style;
};

class FakeProcessLauncher : public IProcessLauncher {
public:
    std::vector<LaunchCall> launches;
    // Decides the result; by default every launch starts. Tests may also add windows here.
    std::function<LaunchResult(const std::string&, WindowStyle)> onLaunch;

    LaunchResult Launch(const std::string& commandLine, WindowStyle style) override;

    std::vector<std::string> openedDocuments;  // every OpenDocument asked for
    bool associated = true;  // whether the system has a program for the documents asked to open
    bool OpenDocument(const std::string& path) override {
        openedDocuments.push_back(path);
        return associated;
    }

private:
    long nextTask_ = 100;
};

// ---- Message boxes ----

struct ShownBox {
    std::string text;
    std::string title;
    MbIcon icon;
    MbButtons buttons;
};

class FakeMessageBoxes : public IMessageBoxes {
public:
    std::vector<ShownBox> shown;
    std::deque<MbAnswer> answers;  // scripted answers, taken in order
    // Runs while a box is "open", before it is answered.
    std::function<void(const ShownBox&)> onShow;

    // Unscripted boxes answer OK (OK boxes), Cancel (OK/Cancel) or No (Yes/No).
    MbAnswer Show(const std::string& text, const std::string& title, MbIcon icon, MbButtons buttons) override;
    std::vector<std::string> Titles() const;
};

// ---- Run-time ----

class FakeRuntime : public IRuntime {
public:
    explicit FakeRuntime(FakeScheduler& scheduler) : scheduler_(scheduler) {}

    std::vector<int> pauses;
    bool ended = false;
    int endCalls = 0;
    std::string title = "Chimewell System";
    Version version{1, 0, 0};
    std::function<void()> onDoEvents;  // runs on each DoEvents, before the timers
    std::function<void(int)> onPause;  // runs at the start of each pause, with its length

    void Pause(int milliseconds) override;
    void DoEvents() override;
    void EndProgram() override;
    std::string AppTitle() override { return title; }
    void SetAppTitle(const std::string& t) override { title = t; }
    Version ProgramVersion() override { return version; }
    bool restartRegistered = false;
    void RegisterRestart(bool on) override { restartRegistered = on; }

private:
    FakeScheduler& scheduler_;
};

// ---- Sound and power ----

class FakeAlarmSound : public IAlarmSound {
public:
    bool device = true;  // false: there is nothing to play it on
    bool playing = false;
    int starts = 0;
    bool Start() override {
        ++starts;
        playing = device;
        return device;
    }
    void Stop() override { playing = false; }
};

class FakePower : public IPower {
public:
    std::optional<std::int64_t> wakeAt;  // the moment set, while set
    std::vector<std::string> log;        // "wake <seconds>", "cancel", "awake on", "awake off", "system on", "system off"
    bool awake = false;
    bool systemAwake = false;
    // What the machine says about waking.
    bool timerWorks = true;
    bool modernStandby = false;
    PowerSource source = PowerSource::Mains;
    std::optional<bool> wakeTimersOnMains = true, wakeTimersOnBattery = true;
    bool WakeAt(std::int64_t utcSeconds) override {
        wakeAt = utcSeconds;
        log.push_back("wake " + std::to_string(utcSeconds));
        return timerWorks;
    }
    bool ModernStandby() override { return modernStandby; }
    PowerSource Source() override { return source; }
    std::optional<bool> WakeTimersAllowed(PowerSource s) override {
        return s == PowerSource::Mains ? wakeTimersOnMains : wakeTimersOnBattery;
    }
    void CancelWake() override {
        wakeAt.reset();
        log.push_back("cancel");
    }
    void KeepAwake(AwakeLevel level, bool on) override {
        const bool display = level == AwakeLevel::Display;
        (display ? awake : systemAwake) = on;
        log.push_back(std::string(display ? "awake " : "system ") + (on ? "on" : "off"));
    }
};

// Everything at once, wired into a Platform bundle.
struct FakeSystem {
    FakeSystem() { windows.scheduler = &scheduler; }

    FakeScheduler scheduler;
    FakeClock clock{scheduler};
    FakeWindowSystem windows;
    FakeRegistry registry;
    FakeFileSystem files;
    FakeProcessLauncher processes;
    FakeMessageBoxes boxes;
    FakeRuntime runtime{scheduler};
    FakeAlarmSound sound;
    FakePower power;
    Platform platform{windows, registry, files, processes, boxes, runtime, clock, sound, power};
};

}  // namespace chw::fakes
