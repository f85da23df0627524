// Whether this computer will wake from sleep for the alarm, told from what the system says about it.
#pragma once

#include "platform/Power.h"

namespace chw::alarm {

enum class WakeDoubt {
    None,           // it will wake (as far as the system tells)
    TimerNotSet,    // the wake timer could not be set, or cannot wake this system
    ModernStandby,  // S0 low-power idle ignores wake timers
    WakeTimersOff,  // the power plan does not let timers wake it on the current power source
};

// timerSet: what setting the wake timer answered.
WakeDoubt JudgeWake(IPower& power, bool timerSet);

}  // namespace chw::alarm
