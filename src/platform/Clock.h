// The clock and the user's date and time formats.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Types.h"

namespace chw {

class IClock {
public:
    virtual ~IClock() = default;
    virtual DateTime Now() = 0;
    // A date in the user's short-date format (12/7/2026 with US settings).
    virtual std::string ShortDateText(const Date& date) = 0;
    // A time of day in the user's time format, with seconds (6:47:57 AM with US settings).
    virtual std::string TimeText(const DateTime& time) = 0;
    // A monotonic count of milliseconds, for measuring short waits.
    virtual std::uint64_t TickMs() = 0;

    // Now, as seconds since 1970-01-01 UTC: the alarm's moment is compared on this scale, so that a
    // change of the clocks (daylight saving) neither skips nor doubles it.
    virtual std::int64_t UtcSeconds() = 0;
    // The moment a local date and time of day stands for, in the same seconds. A time that the clocks
    // skip stands for the first minute after the gap; a time they show twice, for its first showing.
    virtual std::int64_t MomentOf(const DateTime& local) = 0;
    // The user's short-date pattern in the system's letters ("M/d/yyyy", "dd.MM.yyyy"), to read a date
    // text back.
    virtual std::string ShortDatePattern() = 0;
};

}  // namespace chw
