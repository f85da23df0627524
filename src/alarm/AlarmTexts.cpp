#include "alarm/AlarmTexts.h"

namespace chw::alarm {

std::string AlarmSummary(const char* prefix, const std::string& date, const std::string& time, const char* tail) {
    return prefix + date + kTimeLabel + time + tail;
}

std::string CountdownText(int secondsLeft) {
    std::string text = "Process Will Be Complete In: ";
    text += std::to_string(secondsLeft);
    text += " Seconds. . . ";
    return text;
}

}  // namespace chw::alarm
