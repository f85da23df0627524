#include "alarm/AlarmMoment.h"

#include <cctype>
#include <vector>

#include "alarm/TimeEntry.h"

namespace chw::alarm {

namespace {
bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }
}  // namespace

std::optional<TimeOfDay> ParseAlarmTime(const std::string& text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos || colon == 0 || colon > 2) return std::nullopt;
    int hour = 0;
    for (std::size_t i = 0; i < colon; ++i) {
        if (!IsDigit(text[i])) return std::nullopt;
        hour = hour * 10 + (text[i] - '0');
    }
    const std::string rest = text.substr(colon + 1);
    if (rest.size() != 5 || !IsDigit(rest[0]) || !IsDigit(rest[1]) || rest[2] != ' ') return std::nullopt;
    const int minute = (rest[0] - '0') * 10 + (rest[1] - '0');
    const std::string designator = rest.substr(3);
    if (hour < 1 || hour > 12 || minute > 59 || (designator != "AM" && designator != "PM")) return std::nullopt;
    // Written back it must read the same: no leading zero on the hour.
    if (AlarmTimeText(hour, minute, designator) != text) return std::nullopt;
    return TimeOfDay{hour % 12 + (designator == "PM" ? 12 : 0), minute};
}

std::optional<Date> ReadShortDate(const std::string& text, const std::string& pattern) {
    // The order of the fields, from the pattern's letters; text in quotes is literal.
    std::vector<char> order;
    bool quoted = false;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '\'') {
            quoted = !quoted;
            continue;
        }
        if (quoted || (c != 'd' && c != 'M' && c != 'y')) continue;
        std::size_t run = 1;
        while (i + run < pattern.size() && pattern[i + run] == c) ++run;
        if (c != 'y' && run > 2) return std::nullopt;  // day or month names: not read back here
        order.push_back(c);
        i += run - 1;
    }
    std::vector<int> numbers;
    for (std::size_t i = 0; i < text.size();) {
        if (!IsDigit(text[i])) {
            ++i;
            continue;
        }
        int n = 0, digits = 0;
        while (i < text.size() && IsDigit(text[i]) && digits < 5) {
            n = n * 10 + (text[i] - '0');
            ++i;
            ++digits;
        }
        numbers.push_back(n);
    }
    if (order.size() != 3 || numbers.size() != 3) return std::nullopt;
    Date d;
    for (std::size_t k = 0; k < 3; ++k) {
        if (order[k] == 'd') d.day = numbers[k];
        if (order[k] == 'M') d.month = numbers[k];
        if (order[k] == 'y') d.year = numbers[k] < 100 ? 2000 + numbers[k] : numbers[k];
    }
    if (d.year == 0 || d.month < 1 || d.month > 12 || d.day < 1 || d.day > DaysInMonth(d.year, d.month))
        return std::nullopt;
    return d;
}

}  // namespace chw::alarm
