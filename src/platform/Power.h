// Sleep and wake: waking the computer for the alarm, and keeping it awake while the alarm rings.
#pragma once

#include <cstdint>

namespace chw {

class IPower {
public:
    virtual ~IPower() = default;
    // Wakes a sleeping computer at this moment (UTC seconds, see IClock::UtcSeconds); replaces the moment
    // set before. False when the system cannot wake for it.
    virtual bool WakeAt(std::int64_t utcSeconds) = 0;
    virtual void CancelWake() = 0;
    // While on, neither the system nor the display goes to sleep.
    virtual void KeepAwake(bool on) = 0;
};

}  // namespace chw
