#include "fakes/FakeTime.h"

#include <optional>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace chw::fakes {

void FakeScheduler::DoEvents() {
    if (++doEventsCalls > 10'000'000) throw std::runtime_error("DoEvents called without end");
    std::vector<FakeTimer*> due;
    for (FakeTimer* t : timers)
        if (t->Running() && t->nextDue <= nowMs) due.push_back(t);
    if (due.empty()) {
        FakeTimer* next = nullptr;
        for (FakeTimer* t : timers)
            if (t->Running() && (!next || t->nextDue < next->nextDue)) next = t;
        if (!next) {
            nowMs += 1;
            return;
        }
        nowMs = next->nextDue;
        due.push_back(next);
    }
    for (FakeTimer* t : due) {
        // A tick may switch timers off or destroy nothing; check again before each.
        if (std::find(timers.begin(), timers.end(), t) == timers.end() || !t->Running()) continue;
        t->nextDue = nowMs + t->Interval();
        if (t->onTick) t->onTick();
    }
}

FakeTimer::FakeTimer(FakeScheduler& scheduler, bool enabled, int interval)
    : scheduler_(scheduler), enabled_(enabled), interval_(interval) {
    nextDue = scheduler_.nowMs + interval_;
    scheduler_.timers.push_back(this);
}

FakeTimer::~FakeTimer() {
    auto& v = scheduler_.timers;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
}

void FakeTimer::SetEnabled(bool enabled) {
    history.push_back(enabled ? "on" : "off");
    if (enabled && !enabled_) nextDue = scheduler_.nowMs + interval_;
    enabled_ = enabled;
}

void FakeTimer::SetInterval(int milliseconds) {
    history.push_back("interval " + std::to_string(milliseconds));
    interval_ = milliseconds;
    nextDue = scheduler_.nowMs + interval_;
}

std::int64_t DaysFromCivil(const Date& d) {
    std::int64_t y = d.year - (d.month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t mp = (d.month + 9) % 12;
    const std::int64_t doy = (153 * mp + 2) / 5 + d.day - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

Date CivilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
    return {year, month, day};
}

namespace {
std::int64_t ToMs(const DateTime& t) {
    return ((DaysFromCivil(t.date) * 24 + t.hour) * 60 + t.minute) * 60'000LL + t.second * 1000LL;
}
}  // namespace

// The fake start is at UTC offset 0; clock changes move the offset from their moment on.
void FakeClock::Set(const DateTime& now) { scheduler_.nowMs = MomentOf(now) * 1000 - ToMs(start); }

std::int64_t FakeClock::UtcSeconds() { return (ToMs(start) + scheduler_.nowMs) / 1000; }

std::int64_t FakeClock::OffsetAt(std::int64_t utcSeconds) const {
    std::int64_t offset = 0;
    for (const auto& [at, after] : changes_)
        if (utcSeconds >= at) offset = after;
    return offset + zoneMinutes * 60LL;
}

void FakeClock::AddClockChange(const DateTime& at, int minutes) {
    const std::int64_t before = changes_.empty() ? 0 : changes_.back().second;
    changes_.emplace_back(ToMs(at) / 1000 - before, before + minutes * 60LL);
}

std::int64_t FakeClock::MomentOf(const DateTime& local) {
    const std::int64_t wall = ToMs(local) / 1000;
    // Every offset in use: a moment is the wall time less one of them that is in force then.
    for (std::int64_t shift = 0; shift < 24 * 3600; shift += 60) {
        std::optional<std::int64_t> first;
        std::vector<std::int64_t> offsets{0};
        for (const auto& c : changes_) offsets.push_back(c.second);
        for (std::int64_t o : offsets) {
            o += zoneMinutes * 60LL;
            const std::int64_t utc = wall + shift - o;
            if (OffsetAt(utc) == o && (!first || utc < *first)) first = utc;
        }
        if (first) return *first;  // in a gap: the first minute after it
    }
    return wall;
}

std::string FakeClock::ShortDatePattern() {
    if (!shortDatePattern.empty()) return shortDatePattern;
    switch (dateFormat) {
        case DateFormat::US: return "M/d/yyyy";
        case DateFormat::UK: return "dd/MM/yyyy";
        case DateFormat::German: return "d.M.yyyy";
        case DateFormat::ISO: return "yyyy-MM-dd";
    }
    return {};
}

DateTime FakeClock::Now() {
    const std::int64_t utcMs = ToMs(start) + scheduler_.nowMs;
    std::int64_t ms = utcMs + OffsetAt(utcMs / 1000) * 1000;
    std::int64_t days = ms / 86'400'000LL;
    std::int64_t rest = ms % 86'400'000LL;
    DateTime t;
    t.date = CivilFromDays(days);
    t.hour = static_cast<int>(rest / 3'600'000LL);
    t.minute = static_cast<int>(rest / 60'000LL % 60);
    t.second = static_cast<int>(rest / 1000 % 60);
    return t;
}

std::string FakeClock::ShortDateText(const Date& d) {
    char buf[32];
    switch (dateFormat) {
        case DateFormat::US: std::snprintf(buf, sizeof buf, "%d/%d/%04d", d.month, d.day, d.year); break;
        case DateFormat::UK: std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", d.day, d.month, d.year); break;
        case DateFormat::German: std::snprintf(buf, sizeof buf, "%d.%d.%04d", d.day, d.month, d.year); break;
        case DateFormat::ISO: std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day); break;
    }
    return buf;
}

std::string FakeClock::TimeText(const DateTime& t) {
    char buf[32];
    int h12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
    const char* ampm = t.hour < 12 ? "AM" : "PM";
    switch (timeFormat) {
        case TimeFormat::US: std::snprintf(buf, sizeof buf, "%d:%02d:%02d %s", h12, t.minute, t.second, ampm); break;
        case TimeFormat::LeadingZero12:
            std::snprintf(buf, sizeof buf, "%02d:%02d:%02d %s", h12, t.minute, t.second, ampm);
            break;
        case TimeFormat::H24: std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.hour, t.minute, t.second); break;
    }
    return buf;
}

}  // namespace chw::fakes
