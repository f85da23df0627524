#include "alarm/TimeEntry.h"

#include <cctype>

namespace chw::alarm {

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Trim(const std::string& s) {
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}
}  // namespace

std::optional<int> ToWholeNumber(const std::string& piece) {
    std::string t = Trim(piece);
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) {
        negative = t[i] == '-';
        ++i;
        while (i < t.size() && IsBlank(t[i])) ++i;
    }
    if (i == t.size()) return std::nullopt;
    int value = 0;
    for (; i < t.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(t[i]))) return std::nullopt;
        value = value * 10 + (t[i] - '0');
    }
    return negative ? -value : value;
}

std::optional<TypedTime> ParseTypedTime(const std::string& text) {
    const std::string t = Trim(text);
    auto hour = ToWholeNumber(t.substr(0, 2));
    auto minute = ToWholeNumber(t.size() > 3 ? t.substr(3, 2) : std::string());
    if (!hour || !minute) return std::nullopt;
    // Hour 0 or a negative piece would make an alarm that no clock reading ever matches.
    if (*hour < 1 || *hour > 12 || *minute < 0 || *minute > 59) return std::nullopt;
    return TypedTime{*hour, *minute};
}

std::string AlarmTimeText(int hour, int minute, const std::string& designator) {
    return std::to_string(hour) + (minute < 10 ? ":0" : ":") + std::to_string(minute) + " " + designator;
}

std::string NowTextOf(const DateTime& now) {
    int h12 = now.hour % 12 == 0 ? 12 : now.hour % 12;
    return AlarmTimeText(h12, now.minute, now.hour < 12 ? "AM" : "PM");
}

}  // namespace chw::alarm
