// The one-second watch: the running clock, the player's presence, and the alarm going off.
#include "alarm/AlarmMoment.h"
#include "alarm/AlarmTexts.h"
#include "alarm/AlarmTimings.h"
#include "alarm/BusyScope.h"
#include "alarm/TimeEntry.h"
#include "alarm/Alarm.h"
#include "winamp/PlayerLocation.h"

namespace chw {

using namespace alarm;

void Alarm::MyTimer_Timer() {
    const DateTime now = p_.clock.Now();
    // The running clock, but never over a time the user is typing.
    if (view_.Locked()) view_.SetCaption(MainCtl::txtTime, p_.clock.TimeText(now));
    // Built from the clock's fields rather than cut from the text above, so any time format matches.
    s_.NowText = NowTextOf(now);

    view_.SetEnabled(MainCtl::mnuCloseWinAmp, winamp_.Locate() != 0);

    // A tick inside another alarm handler's message box, or inside our own firing, goes no further.
    if (alarmBusy_ != 0) return;
    BusyScope busy(alarmBusy_);

    const bool restarted = s_.player && RestartVanishedPlayer();
    // The clocks moved the alarm's moment (another time zone): the wake follows it.
    if (s_.wakeFor && NextRingMoment() != s_.wakeFor) ScheduleWake();
    if (s_.Ringing()) return KeepRinging(restarted);

    switch (AlarmDue()) {
        case Due::No: return;
        case Due::Ring: FireAlarm(); return;
        case Due::Missed: MissAlarm(); return;
    }
}

std::optional<DateTime> Alarm::AlarmAt() {
    const std::optional<TimeOfDay> time = ParseAlarmTime(s_.AlarmTime);
    if (s_.AlarmDate.empty() || s_.AlarmDay.year == 0 || !time) return std::nullopt;
    return DateTime{s_.AlarmDay, time->hour, time->minute, 0};
}

std::optional<std::int64_t> Alarm::AlarmMoment() {
    const std::optional<DateTime> at = AlarmAt();
    if (!at) return std::nullopt;
    return p_.clock.MomentOf(*at);
}

std::optional<std::int64_t> Alarm::NextRingMoment() {
    if (s_.snooze) return s_.snooze->moment;
    return AlarmMoment();
}

void Alarm::NoteIfAhead() {
    const std::optional<std::int64_t> moment = AlarmMoment();
    if (moment && p_.clock.UtcSeconds() < *moment + 60) s_.seenAhead = AlarmAt();
}

void Alarm::AlarmChosen() {
    s_.seenAhead.reset();
    NoteIfAhead();
}

// The alarm rings once its moment has come, not only in its own minute: a box left open, a late arming
// or a sleeping computer only delay it. Compared as moments, so a change of the clocks neither skips nor
// doubles it. Late, it rings or is missed only if it was seen ahead: a time already over when it was
// chosen, or one whose arming was refused, stays silent.
Alarm::Due Alarm::AlarmDue() {
    if (s_.fired) return Due::No;
    // Ten minutes more: the same alarm again, late or missed as the alarm itself would be.
    if (s_.snooze) {
        const std::int64_t late = p_.clock.UtcSeconds() - s_.snooze->moment;
        if (late < 0) return Due::No;
        return late <= kCatchUpSeconds ? Due::Ring : Due::Missed;
    }
    const std::optional<DateTime> at = AlarmAt();
    if (!at || at == s_.rungAt) return Due::No;
    const std::int64_t late = p_.clock.UtcSeconds() - p_.clock.MomentOf(*at);
    if (late < 60) {
        s_.seenAhead = at;
        return late < 0 ? Due::No : Due::Ring;  // its own minute
    }
    if (at != s_.seenAhead) return Due::No;
    return late <= kCatchUpSeconds ? Due::Ring : Due::Missed;
}

// The clock was set or the time zone changed: the wake moves with the alarm's moment.
void Alarm::Form_TimeChange() {
    if (s_.wakeFor) ScheduleWake();
}

bool Alarm::RestartVanishedPlayer() {
    if (!s_.armed) return false;
    if (const WindowHandle late = winamp_.Window(); late != 0) {
        // A player slower to open its window than the arming waited for is taken over when it comes,
        // hidden like one that was on time.
        if (*s_.player == 0) {
            p_.windows.Show(late, ShowCommand::Hide);
            s_.player = late;
        }
        return false;
    }
    // A player that will not start, or starts without a window, must not freeze the window on every
    // tick: try again once a minute.
    if (s_.restartFailedAt && p_.clock.TickMs() - *s_.restartFailedAt < static_cast<std::uint64_t>(kRestartRetryMs))
        return false;
    auto failed = [this] {
        s_.restartFailedAt = p_.clock.TickMs();
        return false;
    };
    const std::optional<std::string> file = winamp::FindPlayer(p_.files, p_.registry);
    if (!file || !p_.processes.Launch(winamp::PlayerCommand(*file), WindowStyle::MinimizedFocus).Started())
        return failed();
    // A player just started has seldom opened its window yet: look for it through the pause, so the new
    // player is hidden like the one arming took over instead of ringing in plain sight.
    WindowHandle player = winamp_.Window();
    int waited = 0;
    while (player == 0 && waited < kRestartPauseMs) {
        p_.runtime.Pause(kRestartLookMs);
        waited += kRestartLookMs;
        player = winamp_.Window();
    }
    s_.player = player;
    if (player == 0) return failed();
    s_.restartFailedAt.reset();
    p_.windows.Show(player, ShowCommand::Hide);
    if (waited < kRestartPauseMs) p_.runtime.Pause(kRestartPauseMs - waited);
    return true;
}

void Alarm::FireAlarm() {
    RecordRung();
    EndSnooze();
    // A player already playing gets no Play, only the full volume; the ringing shows all the same.
    const bool playing = winamp_.Playing();
    const bool located = !playing && winamp_.Locate() != 0;
    const bool queued = located && winamp_.TryPlay();
    const bool postFailed = located && !queued;
    // Only a player that took Play needs the moment before it takes a volume.
    if (queued) p_.runtime.Pause(kFirePauseMs);
    winamp_.SetVolume(kFullVolume);
    const bool heard = playing || PlayerPlaysAfterAll(queued);

    s_.phase = AlarmPhase::Ringing;
    s_.snoozeInMenu = true;
    s_.fired = s_.activated = true;
    show_.ShowState();
    show_.ShowWakeNote();  // the moment has come: nothing more to wake for
    show_.ShowBanner();
    p_.power.KeepAwake(AwakeLevel::Display, true);
    s_.keptAwake = true;
    s_.ringOn = RingOn{};
    if (!heard) SoundBuiltIn();
    // Heard first, told after: the box waits for the user, the ringing's checks go on under it.
    if (postFailed) {
        FreeScope ringOn(alarmBusy_);
        p_.boxes.Show(Winamp_Access::PlayFailureText(), p_.runtime.AppTitle(),
                      MbIcon::None, MbButtons::Ok);
    }
}

// Play was pressed: make sure the player really plays (an empty playlist, a player that ignores Play or
// hangs). One more Play where the first one reached it, then the answer stands.
bool Alarm::PlayerPlaysAfterAll(bool playReachedIt) {
    if (winamp_.Playing()) return true;
    if (!playReachedIt) return false;
    winamp_.Locate();
    if (!winamp_.TryPlay()) return false;
    p_.runtime.Pause(kReplayPauseMs);
    return winamp_.Playing();
}

// From the firing until the stop the alarm stays heard: a player that has stopped gets Play once more, a
// player that went is started again and gets Play, and where that does not make it play, or it cannot be
// reached, our own sound takes over. The banner and the captions stay as the firing left them.
void Alarm::KeepRinging(bool restarted) {
    RingOn& ringOn = s_.ringOn;
    if (ringOn.fellBack) return;  // our own sound loops until the stop
    const std::uint64_t now = p_.clock.TickMs();
    if (restarted) return PlayOnceMore(now);
    // Gone and not back, or not answering: one question per tick, and a player that did not answer is
    // not asked again (it would cost the send limit every time).
    const PlayerStatus status = winamp_.Status();
    if (status == PlayerStatus::None) return SoundBuiltIn();
    if (status == PlayerStatus::Playing) {
        // A player that was just pressed again plays now: at full volume, as at the firing.
        if (ringOn.playAskedAt) winamp_.SetVolume(kFullVolume);
        ringOn.silentSince.reset();
        ringOn.playAskedAt.reset();
        return;
    }
    if (ringOn.playAskedAt) {
        if (now - *ringOn.playAskedAt >= static_cast<std::uint64_t>(kPlayAnswerMs)) SoundBuiltIn();
        return;
    }
    if (!ringOn.silentSince) ringOn.silentSince = now;
    if (now - *ringOn.silentSince < static_cast<std::uint64_t>(kSilentMs)) return;
    if (ringOn.replayed) return SoundBuiltIn();
    ringOn.replayed = true;
    PlayOnceMore(now);
}

void Alarm::PlayOnceMore(std::uint64_t now) {
    if (winamp_.Locate() == 0 || !winamp_.TryPlay())
        return SoundBuiltIn();
    s_.ringOn.playAskedAt = now;
    s_.ringOn.silentSince.reset();
}

void Alarm::SoundBuiltIn() {
    s_.ringOn.fellBack = true;
    if (p_.sound.Start()) {
        s_.builtInSounding = true;
        show_.ShowBuiltInSound(true);
        return;
    }
    ShowSilentAlarm();
}

// Not even our own sound can be heard: the window comes where the user may look, out of the tray too,
// and flashes until the stop; the balloon comes where the icon is (Do Not Disturb may swallow it).
void Alarm::ShowSilentAlarm() {
    if (view_.SysTray().Shown()) view_.SysTray().ShowBalloon(p_.runtime.AppTitle(), kRingingBalloon);
    s_.inTray = false;
    view_.Show();
    view_.Activate();
    view_.Flash(true);
    s_.flashing = true;
}

bool Alarm::SnoozeFromMenu() {
    if (!s_.snoozeInMenu) return false;
    SilenceAlarm();
    s_.snoozeInMenu = false;
    if (s_.phase == AlarmPhase::Ringing) s_.phase = AlarmPhase::Halted;
    s_.player.reset();
    show_.ShowState();
    show_.ShowSummary(Summary::Off);
    return s_.armed && s_.Repeating();
}

void Alarm::mnuRingAgain_Click() {
    if (!s_.Ringing()) return;
    BusyScope busy(alarmBusy_);
    // Quiet as the stop leaves it, but the player only paused: the same music carries on at the next ring.
    SilenceAlarm();
    winamp_.SetVolume(kQuietVolume);
    if (winamp_.Playing() && winamp_.Locate() != 0) winamp_.Pause();
    s_.snooze = SnoozeFrom(p_.clock);
    RecordSnooze();
    s_.phase = s_.armed ? AlarmPhase::Armed : AlarmPhase::Idle;
    s_.fired = false;
    s_.snoozeInMenu = false;
    show_.ShowState();
    show_.ShowButtonTip();
    show_.ShowSummary(Summary::Snoozing);
    show_.ShowTrayIcon();
    ScheduleWake();
}

// Too late to wake anybody: say so, and leave the alarm as the stop leaves it (a repeating one goes on
// to its next day).
void Alarm::MissAlarm() {
    const bool movesOn = s_.Repeating() && (s_.armed || s_.armedRecorded);
    RecordRung();
    HaltAlarm(s_.player.has_value());  // a player of the user's own is left alone
    const std::string text = kMissedPrefix + s_.AlarmDate + kTimeLabel + s_.AlarmTime;
    show_.ShowStatus(text);
    view_.SysTray().ShowBalloon(p_.runtime.AppTitle(), text);
    if (movesOn) MoveOn();
}

}  // namespace chw
