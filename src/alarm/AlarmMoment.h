// Reading the alarm's stored texts back as a date and a time of day.
#pragma once

#include <optional>
#include <string>

#include "platform/Types.h"

namespace chw::alarm {

struct TimeOfDay {
    int hour = 0;  // 0..23
    int minute = 0;
    friend bool operator==(const TimeOfDay&, const TimeOfDay&) = default;
};

// A time in the alarm's own form ("7:05 PM", "12:30 AM"); nothing for anything else.
std::optional<TimeOfDay> ParseAlarmTime(const std::string& text);

// The day, month and year of a short-date text written with this pattern ("M/d/yyyy", "dd.MM.yyyy",
// "yyyy-MM-dd"); nothing when the text does not hold them in the pattern's order. Two-digit years are
// taken as 20xx. The caller checks that the date written again gives the same text.
std::optional<Date> ReadShortDate(const std::string& text, const std::string& pattern);

}  // namespace chw::alarm
