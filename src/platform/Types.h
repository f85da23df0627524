// Plain value types shared by the logic and the platform layer.
#pragma once

#include <cstdint>
#include <string>

namespace chw {

// A window of any program, as the window system knows it; 0 means none.
using WindowHandle = std::intptr_t;

struct Version {
    int major = 0;
    int minor = 0;
    int revision = 0;
};

struct Date {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;    // 1..31
    friend bool operator==(const Date&, const Date&) = default;
    friend auto operator<=>(const Date&, const Date&) = default;
};

// The number of days in a month of the Gregorian calendar; 31 for a month out of range.
inline int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 31;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

struct DateTime {
    Date date;
    int hour = 0;    // 0..23
    int minute = 0;  // 0..59
    int second = 0;  // 0..59
    friend bool operator==(const DateTime&, const DateTime&) = default;
};

}  // namespace chw
