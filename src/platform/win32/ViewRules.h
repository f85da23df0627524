// Small rules of the main window's controls that need no window: menu captions and shortcuts, the days
// of a month, the layout.
#pragma once

#include <algorithm>
#include <string>

#include "Twips.h"
#include "platform/Types.h"

namespace chw::win32 {

// A menu item's text is "caption\tshortcut"; the logic reads and writes the caption only.
inline std::wstring CaptionPart(const std::wstring& text) { return text.substr(0, text.find(L'\t')); }
inline std::wstring ShortcutPart(const std::wstring& text) {
    size_t tab = text.find(L'\t');
    return tab == std::wstring::npos ? std::wstring() : text.substr(tab);
}

// The calendar keeps its day within the month it shows.
inline int ClampDay(int year, int month, int day) {
    if (day < 1) return 1;
    int last = DaysInMonth(year, month);
    return day > last ? last : day;
}

// ---- The calendar by the keyboard ----

// The keys that move the calendar's selected day (the same on every system's calendar control).
enum class CalendarKey { PreviousDay, NextDay, PreviousWeek, NextWeek, PreviousMonth, NextMonth, FirstDay, LastDay,
                         PreviousYear, NextYear };

// Days since 1 January 1970, and back (proleptic Gregorian calendar).
inline long long DayNumber(const Date& d) {
    const int y = d.year - (d.month <= 2 ? 1 : 0);
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = static_cast<int>(y - era * 400);
    const int doy = (153 * (d.month + (d.month > 2 ? -3 : 9)) + 2) / 5 + d.day - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}
inline Date FromDayNumber(long long n) {
    n += 719468;
    const long long era = (n >= 0 ? n : n - 146096) / 146097;
    const int doe = static_cast<int>(n - era * 146097);
    const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int mp = (5 * doy + 2) / 153;
    const int day = doy - (153 * mp + 2) / 5 + 1;
    const int month = mp < 10 ? mp + 3 : mp - 9;
    return Date{static_cast<int>(yoe + era * 400) + (month <= 2 ? 1 : 0), month, day};
}

// Where a key moves the selected day; a move by months or years keeps the day within the month.
inline Date MoveSelectedDay(const Date& from, CalendarKey key) {
    auto byMonths = [&](int months) {
        const int index = from.year * 12 + (from.month - 1) + months;
        const int year = index / 12, month = index % 12 + 1;
        return Date{year, month, ClampDay(year, month, from.day)};
    };
    switch (key) {
        case CalendarKey::PreviousDay: return FromDayNumber(DayNumber(from) - 1);
        case CalendarKey::NextDay: return FromDayNumber(DayNumber(from) + 1);
        case CalendarKey::PreviousWeek: return FromDayNumber(DayNumber(from) - 7);
        case CalendarKey::NextWeek: return FromDayNumber(DayNumber(from) + 7);
        case CalendarKey::PreviousMonth: return byMonths(-1);
        case CalendarKey::NextMonth: return byMonths(1);
        case CalendarKey::FirstDay: return Date{from.year, from.month, 1};
        case CalendarKey::LastDay: return Date{from.year, from.month, DaysInMonth(from.year, from.month)};
        case CalendarKey::PreviousYear: return byMonths(-12);
        case CalendarKey::NextYear: return byMonths(12);
    }
    return from;
}

// ---- The main window's layout, designed in twips; the designed sizes are a minimum ----

struct Extent {
    int cx = 0, cy = 0;
};

struct Placement {
    Extent calendar;      // the calendar's size; it keeps its place
    int columnShift = 0;  // how far the column right of the calendar moves right
    int label1Width = 0;  // "Date Selected:"
    int dateShift = 0;    // how far lblDate moves right to make room for a wider Label1
    int label2Width = 0;  // the time box's caption
    Extent client;
};

// calendar: its designed size in pixels; calendarNeed: what it needs to show a whole month;
// label1Text, label2Text: the widths of the two captions' texts in their fonts.
inline Placement ArrangeMain(Extent calendar, Extent calendarNeed, int label1Text, int label2Text, int dpi) {
    using namespace mainwindow;
    auto px = [dpi](int twips) { return Twips(twips, dpi); };
    Placement p;
    p.calendar = {std::max(calendar.cx, calendarNeed.cx), std::max(calendar.cy, calendarNeed.cy)};
    p.columnShift = p.calendar.cx - calendar.cx;
    p.label1Width = std::max(px(kLabel1Place.width), label1Text);
    p.dateShift = p.label1Width - px(kLabel1Place.width);
    p.label2Width = std::max(px(kLabel2Place.width), label2Text);

    const int column = px(kLabel1Place.left) + p.columnShift;
    int right = std::max({column + label1Text, px(kLblDatePlace.left) + p.columnShift + p.dateShift + px(kLblDatePlace.width),
                          column + label2Text, px(kCmdResetPlace.right()) + p.columnShift});
    // As much room right of the column as left of the calendar.
    p.client.cx = std::max(px(kClientWidth), right + px(kMonthViewPlace.left));
    // The calendar keeps its designed distance above the status bar.
    p.client.cy = px(kClientHeight) + (p.calendar.cy - calendar.cy);
    return p;
}

}  // namespace chw::win32
