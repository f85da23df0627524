// Fake time for the unit tests: a clock that only pauses and event processing move, and the timers that it fires.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/Controls.h"

namespace chw::fakes {

class FakeTimer;

// Milliseconds since the fake start, plus the timers that tick on them.
class FakeScheduler {
public:
    std::int64_t nowMs = 0;
    std::vector<FakeTimer*> timers;
    long doEventsCalls = 0;

    void Advance(std::int64_t ms) { nowMs += ms; }
    // Fires every timer that is due; when none is, moves time on to the next one that will be and fires it.
    // With no timer running, time moves on by 1 ms.
    void DoEvents();
};

class FakeTimer : public ITimer {
public:
    FakeTimer(FakeScheduler& scheduler, bool enabled, int interval);
    ~FakeTimer() override;
    FakeTimer(const FakeTimer&) = delete;
    FakeTimer& operator=(const FakeTimer&) = delete;

    bool Enabled() const override { return enabled_; }
    void SetEnabled(bool enabled) override;
    int Interval() const override { return interval_; }
    void SetInterval(int milliseconds) override;

    bool Running() const { return enabled_ && interval_ > 0; }
    std::int64_t nextDue = 0;
    std::function<void()> onTick;
    std::vector<std::string> history;  // "on", "off", "interval 100" in the order they happened

private:
    FakeScheduler& scheduler_;
    bool enabled_;
    int interval_;
};

// Dates and times in US formats by default (12/7/2026, 6:47:57 AM); the formats can be switched.
class FakeClock : public IClock {
public:
    explicit FakeClock(FakeScheduler& scheduler) : scheduler_(scheduler) {}

    DateTime start{{2026, 12, 7}, 9, 0, 0};  // the fake time at nowMs 0
    enum class DateFormat { US, UK, German, ISO } dateFormat = DateFormat::US;
    enum class TimeFormat { US, LeadingZero12, H24 } timeFormat = TimeFormat::US;

    // Moves the fake time so that Now() reads this.
    void Set(const DateTime& now);
    // The clocks are put forward (minutes > 0) or back when the local time first reads `at`.
    void AddClockChange(const DateTime& at, int minutes);
    std::string shortDatePattern;  // empty: the pattern of dateFormat
    // The time zone's offset from UTC. Changing it is a move to another zone: every local time, past and
    // to come, then reads with the new offset.
    int zoneMinutes = 0;

    DateTime Now() override;
    std::string ShortDateText(const Date& date) override;
    std::string TimeText(const DateTime& time) override;
    std::uint64_t TickMs() override { return static_cast<std::uint64_t>(scheduler_.nowMs); }
    std::int64_t UtcSeconds() override;
    std::int64_t MomentOf(const DateTime& local) override;
    std::string ShortDatePattern() override;

private:
    // Offset of local time from UTC, in seconds, at a UTC moment.
    std::int64_t OffsetAt(std::int64_t utcSeconds) const;
    FakeScheduler& scheduler_;
    std::vector<std::pair<std::int64_t, std::int64_t>> changes_;  // UTC seconds, offset from then on
};

// Days since 1970-01-01 and back, for date arithmetic in tests.
std::int64_t DaysFromCivil(const Date& d);
Date CivilFromDays(std::int64_t days);

}  // namespace chw::fakes
