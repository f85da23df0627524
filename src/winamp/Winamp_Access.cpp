#include "winamp/Winamp_Access.h"

namespace chw {

namespace {
constexpr unsigned kMenuGrayed = 1;  // by command, greyed
constexpr int kGreyedItemId = -9;
constexpr int kPostPauseMs = 10;   // between post attempts, so the retry does not spin the core
constexpr int kClosePollMs = 100;
}  // namespace

std::intptr_t Winamp_Access::GetWinampStatus(const std::string& windowClass) {
    WinampHwnd = p_.windows.Find(windowClass, std::nullopt);
    if (WinampHwnd == 0) return 0;
    return p_.windows.SendMsg(WinampHwnd, winamp::kWM_USER, 0, winamp::kIpcIsPlaying);
}

void Winamp_Access::CloseAllWinamp(const std::string& windowClass) {
    // One instance per pass. A player that ignores the close command would keep this going for ever,
    // so stop when the window just told to close outlives its grace period, and after a fixed number of passes.
    for (int pass = 0; pass < winamp::kCloseAllMaxPasses; ++pass) {
        WinampHwnd = p_.windows.Find(windowClass, std::nullopt);
        if (WinampHwnd == 0) return;
        const WindowHandle closing = WinampHwnd;
        WinampReply = p_.windows.SendMsg(closing, winamp::kWM_COMMAND, winamp::kCmdClose, 0);
        int waited = 0;
        while (p_.windows.Find(windowClass, std::nullopt) == closing) {
            if (waited >= winamp::kCloseGraceMs) return;
            p_.runtime.Pause(kClosePollMs);
            waited += kClosePollMs;
        }
    }
}

void Winamp_Access::SetWinampVolume(int volume, const std::string& windowClass) {
    WinampHwnd = p_.windows.Find(windowClass, std::nullopt);
    if (WinampHwnd == 0) return;
    WinampReply = p_.windows.SendMsg(WinampHwnd, winamp::kWM_USER, static_cast<std::uintptr_t>(volume),
                                     winamp::kIpcSetVolume);
}

void Winamp_Access::PressWinampPlay(const std::string& windowClass, bool postWithRetry) {
    WinampHwnd = p_.windows.Find(windowClass, std::nullopt);
    if (WinampHwnd == 0) return;
    if (postWithRetry)
        PostWinampCommand(static_cast<int>(winamp::kCmdPlay));
    else
        SendWinampCommand(static_cast<int>(winamp::kCmdPlay));
}

void Winamp_Access::PostWinampCommand(int commandId) {
    const std::uint64_t start = p_.clock.TickMs();
    for (;;) {
        // With no window the post would land in our own queue and look like success.
        const bool queued = WinampHwnd != 0 &&
                            p_.windows.PostMsg(WinampHwnd, winamp::kWM_COMMAND, static_cast<std::uintptr_t>(commandId), 0);
        WinampReply = queued ? 1 : 0;
        if (queued) return;
        if (p_.clock.TickMs() - start > static_cast<std::uint64_t>(winamp::kPostRetryMs)) {
            std::string text = "Couldn't queue message for 5 seconds: ";
            text += std::to_string(commandId);
            p_.boxes.Show(text, p_.runtime.AppTitle(), MbIcon::None, MbButtons::Ok);
            return;
        }
        p_.runtime.Pause(kPostPauseMs);
    }
}

void Winamp_Access::SendWinampCommand(int commandId) {
    if (WinampHwnd == 0) {
        WinampReply = 0;
        return;
    }
    WinampReply = p_.windows.SendMsg(WinampHwnd, winamp::kWM_COMMAND, static_cast<std::uintptr_t>(commandId), 0);
}

void Winamp_Access::GreySystemMenuItem(WindowHandle window, const std::string& caption, int position) {
    const int id = p_.windows.SystemMenuItemId(window, position);
    p_.windows.ModifySystemMenuItem(window, id, kMenuGrayed, kGreyedItemId, caption);
}

}  // namespace chw
