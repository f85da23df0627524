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
inline int ClampDay(int year, int month, int day) { return std::clamp(day, 1, DaysInMonth(year, month)); }

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
