// Reading the typed alarm time, and writing times in the alarm's own form ("7:05 PM").
#pragma once

#include <optional>
#include <string>

#include "platform/Types.h"

namespace chw::alarm {

struct TypedTime {
    int hour = 0;    // 1..12
    int minute = 0;  // 0..59
    friend bool operator==(const TypedTime&, const TypedTime&) = default;
};

// "07:05" -> 7, 5. The hour is the first two characters and the minutes the fourth and fifth, each a whole
// number that may carry blanks and a sign; the third character and anything after the fifth are ignored.
// Nothing when a piece is not a number or the time cannot exist on a 12-hour clock.
std::optional<TypedTime> ParseTypedTime(const std::string& text);

// Whole-number conversion of a short piece of text: blanks around it and a leading sign are allowed.
std::optional<int> ToWholeNumber(const std::string& piece);

// hour + ":" + two-digit minutes + " " + designator: "7:05 AM".
std::string AlarmTimeText(int hour, int minute, const std::string& designator);

// The current minute in the alarm's form, from the clock's own fields so that it matches whatever the
// user's time format looks like: 21:05 gives "9:05 PM", 0:30 gives "12:30 AM".
std::string NowTextOf(const DateTime& now);

}  // namespace chw::alarm
