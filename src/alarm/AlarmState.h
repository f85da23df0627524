// The alarm's whole state as one value: what is chosen, where the alarm is in its life, what it took
// over and what it does to be heard. The window only shows it (see app/AlarmPresenter.h); nothing is
// read back from what the window shows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "alarm/Repeat.h"
#include "platform/Types.h"

namespace chw {

// Where the alarm is in its life, as the set button offers it.
enum class AlarmPhase {
    Idle,     // nothing waits or rings: the button arms (a day and a time may be chosen or not)
    Armed,    // waits for its moment: the button disarms
    Ringing,  // rang: the button stops it, and so does the player menu's Snooze
    Halted,   // rang, then silenced by the tray's Snooze but not stopped: the button still stops it
};

// What the ringing has done to stay heard (ms of IClock::TickMs), reset at each firing.
struct RingOn {
    std::optional<std::uint64_t> silentSince;  // the player first seen not playing
    std::optional<std::uint64_t> playAskedAt;  // Play pressed again, its answer awaited
    bool replayed = false;                     // the one Play again has been used
    bool fellBack = false;                     // our own sound was tried: nothing more to check
};

struct AlarmState {
    AlarmPhase phase = AlarmPhase::Idle;
    // The chosen day in the short-date form shown, and its time as "7:05 PM"; empty: not chosen.
    std::string AlarmDate;
    std::string AlarmTime;
    // The day as a date, beside its text: a change of the date format cannot lose it. Year 0: none.
    Date AlarmDay;

    // The days an armed alarm comes back on (Settings > Repeat); Once: it rings once and is done.
    alarm::RepeatRule repeat = alarm::RepeatRule::Once;
    // Asked for ten minutes more while it rang: it rings again then, and the day is not moved on meanwhile.
    std::optional<alarm::Snooze> snooze;

    // Set by the arming and kept through the ringing and the stop: only a press that disarms clears it
    // (so the press after a stop disarms rather than arms).
    bool armed = false;
    // Armed or rung at least once in this run: until then the set button keeps the caption it started with.
    bool activated = false;
    // Rang and not yet stopped by the button: nothing rings again until the next arming.
    bool fired = false;
    // The player menu's item offers the snooze: from the firing until that snooze.
    bool snoozeInMenu = false;
    // The player the arming took over (0: it looked, and none was there); none once stopped or snoozed.
    std::optional<WindowHandle> player;

    // The tray's Set Alarm is withheld from an arming, or from going to the tray with the alarm fired,
    // until the next stop: a fired alarm is stopped from the window, not armed again from the tray.
    bool trayArmWithheld = false;
    // A saved alarm came back at load with the start-in-tray option on: the option stays so until the
    // alarm is disarmed or stopped.
    bool startOptionHeld = false;

    // The window sits in the tray (sent there by the user or by the start).
    bool inTray = false;
    // The load put the window in the tray: the hand-over after the splash leaves it there.
    bool startsInTray = false;

    // The load brought a saved or an armed alarm back: the start ends by showing its summary.
    bool restoredAtLoad = false;

    // Today at load, which moves the calendar back to today; a year, month or day of 0 is unusable.
    Date today;
    // The current minute in the form of AlarmTime.
    std::string NowText;

    // The alarm (local day and minute) that last rang or was missed: the watch does not take it up again
    // until an arming. Local, not UTC: another time zone must not make it a different alarm.
    std::optional<DateTime> rungAt;
    // The alarm last seen before its minute was over. Only such an alarm rings late or is missed: a time
    // already over when it was chosen never rings.
    std::optional<DateTime> seenAhead;

    // The wake: the moment it was last set for, whether this PC may sleep through the alarm, and whether
    // the program keeps it awake meanwhile.
    std::optional<std::int64_t> wakeFor;
    bool mustStayAwake = false;
    bool keepingAwake = false;

    // The armed record in the settings; an armed alarm restored from it waits for the end of the start.
    bool armedRecorded = false;
    // The snooze's record in the settings holds a moment to ring again.
    bool snoozeRecorded = false;
    bool resumePending = false;

    // What the ringing does to be heard: the display kept on, our own sound, the window flashing.
    bool keptAwake = false;
    bool builtInSounding = false;
    bool flashing = false;
    RingOn ringOn;
    // The watch's restart of a vanished player: when it last failed to start (ms of IClock::TickMs).
    std::optional<std::uint64_t> restartFailedAt;

    // Both a day and a time are chosen.
    bool Chosen() const { return !AlarmDate.empty() && !AlarmTime.empty(); }
    // Armed and still to ring: the wake and the wake note belong to this time only.
    bool Waiting() const { return armed && !fired; }
    // The day, the time and the set button are locked while an armed alarm waits or rings.
    bool InputsLocked() const { return armed && phase != AlarmPhase::Idle; }
    bool Ringing() const { return phase == AlarmPhase::Ringing; }
    bool Repeating() const { return repeat != alarm::RepeatRule::Once; }
};

}  // namespace chw
