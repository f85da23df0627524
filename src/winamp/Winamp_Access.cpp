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

bool Winamp_Access::Found(const std::string& windowClass) {
    WinampHwnd = p_.windows.Find(windowClass, std::nullopt);
    return WinampHwnd != 0;
}

WindowHandle Winamp_Access::Locate() {
    Found(winamp::kClass);
    return WinampHwnd;
}

PlayerStatus Winamp_Access::Status() {
    const std::optional<std::intptr_t> reply = AskWinampStatus(winamp::kClass);
    if (!reply) return PlayerStatus::None;
    switch (*reply) {
        case 1: return PlayerStatus::Playing;
        case 3: return PlayerStatus::Paused;
        default: return PlayerStatus::Stopped;
    }
}

std::intptr_t Winamp_Access::GetWinampStatus(const std::string& windowClass) {
    return AskWinampStatus(windowClass).value_or(0);
}

std::optional<std::intptr_t> Winamp_Access::AskWinampStatus(const std::string& windowClass) {
    if (!Found(windowClass)) return std::nullopt;
    return Send(winamp::kWM_USER, 0, winamp::kIpcIsPlaying);
}

std::optional<int> Winamp_Access::GetPlaylistLength(const std::string& windowClass) {
    if (!Found(windowClass)) return std::nullopt;
    std::optional<std::intptr_t> reply = Send(winamp::kWM_USER, 0, winamp::kIpcPlaylistLength);
    if (!reply) return std::nullopt;
    return static_cast<int>(*reply);
}

void Winamp_Access::CloseAllWinamp(const std::string& windowClass) {
    // One instance per pass. A player that ignores the close command or does not answer would keep this
    // going for ever, so stop at the first that does not answer, when the window just told to close
    // outlives its grace period, after a fixed number of passes, and when the time allowed is up.
    const std::uint64_t start = p_.clock.TickMs();
    auto timeUp = [&] { return p_.clock.TickMs() - start >= static_cast<std::uint64_t>(winamp::kCloseAllBudgetMs); };
    for (int pass = 0; pass < winamp::kCloseAllMaxPasses && !timeUp(); ++pass) {
        if (!Found(windowClass)) return;
        const WindowHandle closing = WinampHwnd;
        const std::optional<std::intptr_t> reply = Send(winamp::kWM_COMMAND, winamp::kCmdClose, 0);
        WinampReply = reply.value_or(0);
        if (!reply && p_.windows.Find(windowClass, std::nullopt) == closing) {
            // Busy or hung: the close is left in its queue instead of waited for, so a player that was
            // only slow for a moment still goes when it catches up.
            p_.windows.PostMsg(closing, winamp::kWM_COMMAND, winamp::kCmdClose, 0);
            return;
        }
        int waited = 0;
        while (p_.windows.Find(windowClass, std::nullopt) == closing) {
            if (waited >= winamp::kCloseGraceMs || timeUp()) return;
            p_.runtime.Pause(winamp::kClosePollMs);
            waited += winamp::kClosePollMs;
        }
    }
}

void Winamp_Access::SetWinampVolume(int volume, const std::string& windowClass) {
    if (!Found(windowClass)) return;
    WinampReply = Send(winamp::kWM_USER, static_cast<std::uintptr_t>(volume), winamp::kIpcSetVolume).value_or(0);
}

void Winamp_Access::PressWinampPlay(const std::string& windowClass, bool postWithRetry) {
    if (!Found(windowClass)) return;
    if (postWithRetry)
        PostWinampCommand(static_cast<int>(winamp::kCmdPlay));
    else
        SendWinampCommand(static_cast<int>(winamp::kCmdPlay));
}

void Winamp_Access::PostWinampCommand(int commandId) {
    if (!TryPostWinampCommand(commandId))
        p_.boxes.Show(PostFailureText(commandId), p_.runtime.AppTitle(), MbIcon::None, MbButtons::Ok);
}

bool Winamp_Access::TryPostWinampCommand(int commandId) {
    const std::uint64_t start = p_.clock.TickMs();
    for (;;) {
        // With no window the post would land in our own queue and look like success.
        const bool queued = WinampHwnd != 0 &&
                            p_.windows.PostMsg(WinampHwnd, winamp::kWM_COMMAND, static_cast<std::uintptr_t>(commandId), 0);
        WinampReply = queued ? 1 : 0;
        if (queued) return true;
        if (p_.clock.TickMs() - start > static_cast<std::uint64_t>(winamp::kPostRetryMs)) return false;
        p_.runtime.Pause(winamp::kPostPauseMs);
    }
}

std::string Winamp_Access::PostFailureText(int commandId) {
    return "Couldn't queue message for " + std::to_string(winamp::kPostRetryMs / 1000) +
           " seconds: " + std::to_string(commandId);
}

void Winamp_Access::SendWinampCommand(int commandId) {
    const std::uintptr_t command = static_cast<std::uintptr_t>(commandId);
    WinampReply = WinampHwnd == 0 ? 0 : Send(winamp::kWM_COMMAND, command, 0).value_or(0);
}

void Winamp_Access::GreySystemMenuItem(WindowHandle window, const std::string& caption, int position) {
    p_.windows.GreySystemMenuItem(window, position, caption);
}

}  // namespace chw
