// Small rules of the main window's controls that need no window: menu captions and shortcuts, the days
// of a month, the layout.
#pragma once

#include <algorithm>
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

inline int TwipsAt(int twips, int dpi) { return static_cast<int>((static_cast<long long>(twips) * dpi + 720) / 1440); }

// calendar: its designed size in pixels; calendarNeed: what it needs to show a whole month;
// label1Text, label2Text: the widths of the two captions' texts in their fonts.
inline Placement ArrangeMain(Extent calendar, Extent calendarNeed, int label1Text, int label2Text, int dpi) {
    auto px = [dpi](int twips) { return TwipsAt(twips, dpi); };
    Placement p;
    p.calendar = {std::max(calendar.cx, calendarNeed.cx), std::max(calendar.cy, calendarNeed.cy)};
    p.columnShift = p.calendar.cx - calendar.cx;
    p.label1Width = std::max(px(1095), label1Text);
    p.dateShift = p.label1Width - px(1095);
    p.label2Width = std::max(px(2775), label2Text);

    const int column = px(3000) + p.columnShift;
    int right = std::max({column + label1Text, px(4200) + p.columnShift + p.dateShift + px(1095),
                          column + label2Text, px(4440 + 1110) + p.columnShift});
    // As much room right of the column as left of the calendar.
    p.client.cx = std::max(px(5790), right + px(240));
    // The calendar keeps its designed distance above the status bar.
    p.client.cy = px(3150) + (p.calendar.cy - calendar.cy);
    return p;
}

}  // namespace chw::win32
