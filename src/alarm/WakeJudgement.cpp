#include "alarm/WakeJudgement.h"

namespace chw::alarm {

WakeDoubt JudgeWake(IPower& power, bool timerSet) {
    if (!timerSet) return WakeDoubt::TimerNotSet;
    if (power.ModernStandby()) return WakeDoubt::ModernStandby;
    // A plan that cannot be read is no reason for doubt.
    if (power.WakeTimersAllowed(power.Source()) == false) return WakeDoubt::WakeTimersOff;
    return WakeDoubt::None;
}

}  // namespace chw::alarm
