// The program's only channel to the Winamp player: its main window, found by class, and its messages.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Platform.h"
#include "winamp/WinampTimings.h"

namespace chw {

// What the player says it is doing. None: there is no player, or it did not answer.
enum class PlayerStatus { None, Stopped, Playing, Paused };

namespace winamp {
inline constexpr const char* kClass = "Winamp v1.x";
inline constexpr unsigned kWM_USER = 0x400;
inline constexpr unsigned kWM_COMMAND = 0x111;
inline constexpr std::intptr_t kIpcIsPlaying = 104;   // WM_USER lParam: 1 playing, 3 paused, 0 stopped
inline constexpr std::intptr_t kIpcSetVolume = 122;   // WM_USER lParam, wParam 0..255
inline constexpr std::intptr_t kIpcPlaylistLength = 124;  // WM_USER lParam: the number of tracks
inline constexpr std::uintptr_t kCmdClose = 40001;    // WM_COMMAND wParam
inline constexpr std::uintptr_t kCmdPlay = 40045;     // WM_COMMAND wParam
inline constexpr std::uintptr_t kCmdPause = 40046;    // WM_COMMAND wParam: pauses a playing player, resumes a paused one

// The player's classic folder, the first place looked in (winamp/PlayerLocation.h has the others).
inline constexpr const char* kFolder = "c:\\Program Files\\Winamp";
inline constexpr const char* kFileTested = "c:\\Program Files\\Winamp\\Winamp.exe";
}  // namespace winamp

class Winamp_Access {
public:
    explicit Winamp_Access(Platform& platform) : p_(platform) {}

    // The typed face the rest of the program uses; the protocol's numbers stay in this file and its .cpp.
    // Finds the player's window and keeps it in WinampHwnd (0: none).
    WindowHandle Locate();
    // The player's window as it is now, without keeping it.
    WindowHandle Window() { return p_.windows.Find(winamp::kClass, std::nullopt); }
    PlayerStatus Status();
    bool Playing() { return Status() == PlayerStatus::Playing; }
    std::optional<int> PlaylistLength() { return GetPlaylistLength(winamp::kClass); }
    void SetVolume(int volume) { SetWinampVolume(volume, winamp::kClass); }
    void CloseAll() { CloseAllWinamp(winamp::kClass); }
    // Play, posted to WinampHwnd and retried for kPostRetryMs: false when it could not be queued.
    bool TryPlay() { return TryPostWinampCommand(static_cast<int>(winamp::kCmdPlay)); }
    // Pause (a toggle: only for a player that plays), posted as Play is; false when it could not be queued.
    bool Pause() { return TryPostWinampCommand(static_cast<int>(winamp::kCmdPause)); }
    // The box's text when Play could not be queued.
    static std::string PlayFailureText() { return PostFailureText(static_cast<int>(winamp::kCmdPlay)); }

    // Handle of the Winamp window found last (0: none). Other handlers store their own searches here too.
    WindowHandle WinampHwnd = 0;
    // Reply of the last message sent or posted by the close, volume, post and send operations.
    std::intptr_t WinampReply = 0;

    // The player's answer to the status query; 0 (not playing) when there is none or it did not answer.
    std::intptr_t GetWinampStatus(const std::string& windowClass);
    // The same answer, or nothing when there is no player or it did not answer.
    std::optional<std::intptr_t> AskWinampStatus(const std::string& windowClass);
    // The number of tracks in the player's playlist; nothing when there is no player or it did not answer.
    std::optional<int> GetPlaylistLength(const std::string& windowClass);
    void CloseAllWinamp(const std::string& windowClass);
    void SetWinampVolume(int volume, const std::string& windowClass);
    void PressWinampPlay(const std::string& windowClass, bool postWithRetry);
    void PostWinampCommand(int commandId);
    // The post and its retries without the box: false when the command could not be queued in time, so
    // that the caller can make itself heard before it says so.
    bool TryPostWinampCommand(int commandId);
    static std::string PostFailureText(int commandId);
    void SendWinampCommand(int commandId);
    void GreySystemMenuItem(WindowHandle window, const std::string& caption, int position);

private:
    // Finds the player's window by class and keeps it in WinampHwnd; false when there is none.
    bool Found(const std::string& windowClass);
    // Sends to WinampHwnd, waiting a bounded time; nothing when it did not answer.
    std::optional<std::intptr_t> Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

    Platform& p_;
    WindowHandle hungWindow_ = 0;
    std::uint64_t hungSince_ = 0;
};

}  // namespace chw
