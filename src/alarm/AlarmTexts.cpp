#include "alarm/AlarmTexts.h"

namespace chw::alarm {

std::string AlarmSummary(const char* prefix, const std::string& date, const std::string& time, const char* tail) {
    return prefix + date + kTimeLabel + time + tail;
}

std::string CountdownText(int secondsLeft) {
    return "Process Will Be Complete In: " + std::to_string(secondsLeft) + " Seconds. . . ";
}

}  // namespace chw::alarm
