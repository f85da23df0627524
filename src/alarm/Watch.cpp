// The one-second watch: the running clock, the player's presence, and the alarm going off.
#include "alarm/AlarmTexts.h"
#include "alarm/BusyScope.h"
#include "alarm/TimeEntry.h"
#include "app/frmMain.h"

namespace chw {

using namespace alarm;

void frmMain::MyTimer_Timer() {
    const DateTime now = p_.clock.Now();
    view_.SetCaption(MainCtl::txtTime, p_.clock.TimeText(now));
    // Built from the clock's fields rather than cut from the text above, so any time format matches.
    NowText = NowTextOf(now);

    winamp_.WinampHwnd = p_.windows.Find(winamp::kClass, std::nullopt);
    view_.SetEnabled(MainCtl::mnuCloseWinAmp, winamp_.WinampHwnd != 0);

    // A tick inside another alarm handler's message box, or inside our own firing, goes no further.
    if (alarmBusy_ != 0) return;
    BusyScope busy(alarmBusy_);

    if (!WinampWindowText.empty()) RestartVanishedPlayer();

    const bool due = !AlarmDate.empty() && p_.clock.ShortDateText(now.date) == AlarmDate && NowText == AlarmTime &&
                     FiredMark.empty();
    if (!due) return;
    if (winamp_.GetWinampStatus(winamp::kClass) == 1) return;  // already playing: wait for a later tick
    FireAlarm();
}

void frmMain::RestartVanishedPlayer() {
    if (p_.windows.Find(winamp::kClass, std::nullopt) != 0 || ArmedMark.empty()) return;
    // A player that will not start must not freeze the window: try again once a minute, without the pause.
    if (restartFailed_ && p_.clock.TickMs() - restartFailedAt_ < static_cast<std::uint64_t>(kRestartRetryMs)) return;
    if (!p_.processes.Launch(winamp::kFileStarted, WindowStyle::MinimizedFocus).Started()) {
        restartFailed_ = true;
        restartFailedAt_ = p_.clock.TickMs();
        return;
    }
    restartFailed_ = false;
    // A player just started has seldom opened its window yet: look for it through the pause, so the new
    // player is hidden like the one arming took over instead of ringing in plain sight.
    WindowHandle player = p_.windows.Find(winamp::kClass, std::nullopt);
    int waited = 0;
    while (player == 0 && waited < kRestartPauseMs) {
        p_.runtime.Pause(kRestartLookMs);
        waited += kRestartLookMs;
        player = p_.windows.Find(winamp::kClass, std::nullopt);
    }
    WinampWindowText = std::to_string(player);
    if (player != 0) p_.windows.Show(player, ShowCommand::Hide);
    if (waited < kRestartPauseMs) p_.runtime.Pause(kRestartPauseMs - waited);
}

void frmMain::FireAlarm() {
    winamp_.PressWinampPlay(winamp::kClass, true);
    p_.runtime.Pause(kFirePauseMs);
    winamp_.SetWinampVolume(kFullVolume, winamp::kClass);
    RingingMark = kRingingMark;
    view_.SetCaption(MainCtl::mnuCloseWinAmp, kSnooze);
    view_.SetCaption(MainCtl::cmdSet, kSnooze);
    FiredMark = std::string(kFiredMark);  // a temporary: GCC 12 warns falsely (-Wrestrict) on the one-character assign
    view_.SetCaption(MainCtl::StatusBar1, kBanner);
}

}  // namespace chw
