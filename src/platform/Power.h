// Sleep and wake: waking the computer for the alarm, what the computer says about waking at all, and
// keeping it awake.
#pragma once

#include <cstdint>
#include <optional>

namespace chw {

enum class PowerSource { Mains, Battery };

class IPower {
public:
    virtual ~IPower() = default;
    // Wakes a sleeping computer at this moment (UTC seconds, see IClock::UtcSeconds); replaces the moment
    // set before. False when the timer could not be set, or was set but the system cannot wake for it.
    virtual bool WakeAt(std::int64_t utcSeconds) = 0;
    virtual void CancelWake() = 0;
    // While on, neither the system nor the display goes to sleep (the alarm rings).
    virtual void KeepAwake(bool on) = 0;
    // While on, the system does not go to sleep on its own; the display may. Independent of KeepAwake.
    virtual void KeepSystemAwake(bool on) = 0;

    // Modern Standby (S0 low-power idle): such a computer does not wake for a wake timer.
    virtual bool ModernStandby() = 0;
    virtual PowerSource Source() = 0;
    // The active power plan's "Allow wake timers" for that source: true when they may wake the computer,
    // false when off (or for important timers only); nothing when it cannot be told.
    virtual std::optional<bool> WakeTimersAllowed(PowerSource source) = 0;
};

}  // namespace chw
