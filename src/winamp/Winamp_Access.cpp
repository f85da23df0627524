#include "winamp/Winamp_Access.h"

namespace chw {

std::optional<std::intptr_t> Winamp_Access::Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    // A player that has stopped answering is not waited for again at once: the stop and Exit stay quick.
    if (WinampHwnd == hungWindow_ && p_.clock.TickMs() - hungSince_ < static_cast<std::uint64_t>(winamp::kHungMemoryMs))
        return std::nullopt;
    std::optional<std::intptr_t> reply = p_.windows.SendMsg(WinampHwnd, message, wParam, lParam, winamp::kSendTimeoutMs);
    if (!reply) {
        hungWindow_ = WinampHwnd;
        hungSince_ = p_.clock.TickMs();
    }
    return reply;
}

bool Winamp_Access::Found() {
    WinampHwnd = Window();
    return WinampHwnd != 0;
}

WindowHandle Winamp_Access::Locate() {
    Found();
    return WinampHwnd;
}

PlayerStatus Winamp_Access::Status() {
    const std::optional<std::intptr_t> reply =
        Found() ? Send(winamp::kWM_USER, 0, winamp::kIpcIsPlaying) : std::nullopt;
    if (!reply) return PlayerStatus::None;
    switch (*reply) {
        case 1: return PlayerStatus::Playing;
        case 3: return PlayerStatus::Paused;
        default: return PlayerStatus::Stopped;
    }
}

std::optional<int> Winamp_Access::PlaylistLength() {
    if (!Found()) return std::nullopt;
    std::optional<std::intptr_t> reply = Send(winamp::kWM_USER, 0, winamp::kIpcPlaylistLength);
    if (!reply) return std::nullopt;
    return static_cast<int>(*reply);
}

void Winamp_Access::CloseAll() {
    // One instance per pass. A player that ignores the close command or does not answer would keep this
    // going for ever, so stop at the first that does not answer, when the window just told to close
    // outlives its grace period, after a fixed number of passes, and when the time allowed is up.
    const std::uint64_t start = p_.clock.TickMs();
    auto timeUp = [&] { return p_.clock.TickMs() - start >= static_cast<std::uint64_t>(winamp::kCloseAllBudgetMs); };
    for (int pass = 0; pass < winamp::kCloseAllMaxPasses && !timeUp(); ++pass) {
        if (!Found()) return;
        const WindowHandle closing = WinampHwnd;
        const std::optional<std::intptr_t> reply = Send(winamp::kWM_COMMAND, winamp::kCmdClose, 0);
        if (!reply && Window() == closing) return;
        int waited = 0;
        while (Window() == closing) {
            if (waited >= winamp::kCloseGraceMs || timeUp()) return;
            p_.runtime.Pause(winamp::kClosePollMs);
            waited += winamp::kClosePollMs;
        }
    }
}

void Winamp_Access::SetVolume(int volume) {
    if (Found()) Send(winamp::kWM_USER, static_cast<std::uintptr_t>(volume), winamp::kIpcSetVolume);
}

bool Winamp_Access::TryPost(std::uintptr_t command) {
    const std::uint64_t start = p_.clock.TickMs();
    for (;;) {
        // With no window the post would land in our own queue and look like success.
        if (WinampHwnd != 0 && p_.windows.PostMsg(WinampHwnd, winamp::kWM_COMMAND, command, 0)) return true;
        if (p_.clock.TickMs() - start > static_cast<std::uint64_t>(winamp::kPostRetryMs)) return false;
        p_.runtime.Pause(winamp::kPostPauseMs);
    }
}

std::string Winamp_Access::PlayFailureText() {
    return "Couldn't queue message for " + std::to_string(winamp::kPostRetryMs / 1000) +
           " seconds: " + std::to_string(winamp::kCmdPlay);
}

}  // namespace chw
