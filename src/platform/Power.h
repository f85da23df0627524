// Sleep and wake: waking the computer for the alarm, what the computer says about waking at all, and
// keeping it awake.
#pragma once

#include <cstdint>
#include <optional>

namespace chw {

enum class PowerSource { Mains, Battery };
// How awake to keep the computer: the system only (the display may sleep), or the display as well.
enum class AwakeLevel { System, Display };

class IPower {
public:
    virtual ~IPower() = default;
    // Wakes a sleeping computer at this moment (UTC seconds, see IClock::UtcSeconds); replaces the moment
    // set before. False when the timer could not be set, or was set but the system cannot wake for it.
    virtual bool WakeAt(std::int64_t utcSeconds) = 0;
    virtual void CancelWake() = 0;
    // While on, the computer does not go to sleep on its own at that level: Display while the alarm rings,
    // System while it is armed. Each level is on or off independently of the other.
    virtual void KeepAwake(AwakeLevel level, bool on) = 0;

    // Modern Standby (S0 low-power idle): such a computer does not wake for a wake timer.
    virtual bool ModernStandby() = 0;
    virtual PowerSource Source() = 0;
    // The active power plan's "Allow wake timers" for that source: true when they may wake the computer,
    // false when off (or for important timers only); nothing when it cannot be told.
    virtual std::optional<bool> WakeTimersAllowed(PowerSource source) = 0;
};

}  // namespace chw
