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
};

}  // namespace chw
