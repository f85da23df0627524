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

// Days since 1 January 1970, and back (proleptic Gregorian calendar): the one home of day counting.
inline std::int64_t DayNumber(const Date& d) {
    const std::int64_t y = d.year - (d.month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (d.month + (d.month > 2 ? -3 : 9)) + 2) / 5 + d.day - 1;
    return era * 146097 + yoe * 365 + yoe / 4 - yoe / 100 + doy - 719468;
}
inline Date FromDayNumber(std::int64_t n) {
    n += 719468;
    const std::int64_t era = (n >= 0 ? n : n - 146096) / 146097;
    const std::int64_t doe = n - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return Date{static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0)), month, static_cast<int>(doy - (153 * mp + 2) / 5 + 1)};
}

struct DateTime {
    Date date;
    int hour = 0;    // 0..23
    int minute = 0;  // 0..59
    int second = 0;  // 0..59
    friend bool operator==(const DateTime&, const DateTime&) = default;
};

}  // namespace chw
