// Small rules of the main window's controls, kept apart from the window code so that they are easy to test.
#pragma once

#include <string>

namespace chw::win32 {

// A menu item's text is "caption\tshortcut"; the logic reads and writes the caption only.
inline std::wstring CaptionPart(const std::wstring& text) { return text.substr(0, text.find(L'\t')); }
inline std::wstring ShortcutPart(const std::wstring& text) {
    size_t tab = text.find(L'\t');
    return tab == std::wstring::npos ? std::wstring() : text.substr(tab);
}

inline int DaysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 31;
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

// The calendar keeps its day within the month it shows.
inline int ClampDay(int year, int month, int day) {
    if (day < 1) return 1;
    int last = DaysInMonth(year, month);
    return day > last ? last : day;
}

}  // namespace chw::win32
