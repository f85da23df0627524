// What screen readers learn of the main window's controls: a name and a role for each, and the status
// line as a live region that speaks when its text changes.
#pragma once

#include <windows.h>

#include <string>

namespace chw::win32 {

// A control answers screen readers with the standard object of its class, but for these. An empty name
// is the control's own text without its access-key mark (a button's caption, the status line's text);
// role 0 keeps the standard role.
struct AccessibleIdentity {
    std::wstring name;
    long role = 0;
};
void GiveAccessibleIdentity(HWND control, const AccessibleIdentity& identity);

// The control's text as a screen reader names it: the first single '&' (the access-key mark) goes, and
// "&&" stands for one '&'.
std::wstring WithoutAccessKeyMark(const std::wstring& text);

// How urgently a live region's change is spoken.
enum class Liveness { Polite = 1, Assertive = 2 };
// Marks the control as a live region of this urgency, for readers that look for it.
void SetLiveness(HWND control, Liveness liveness);
// Tells screen readers that the live region's text changed (EVENT_OBJECT_LIVEREGIONCHANGED, which the
// headers give only to builds for Windows 8 and later).
inline constexpr DWORD kLiveRegionChanged = 0x8019;
void RaiseLiveRegionChanged(HWND control);

}  // namespace chw::win32
