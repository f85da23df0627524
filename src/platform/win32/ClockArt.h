// The alarm clock picture of the start-up window, drawn as vectors so that it is sharp at every DPI.
#pragma once

#include <windows.h>

namespace chw::win32 {

// GDI+ for the length of a window's life.
class GdiplusSession {
public:
    GdiplusSession();
    ~GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;
    bool Ready() const { return token_ != 0; }

private:
    ULONG_PTR token_ = 0;
};

// An alarm clock (bells, case, face, hands at the given time) centred at (cx, cy); radius is the case's.
// It is drawn in two layers: all but the hands, which never changes, and the hands over it;
// showSeconds: a red second hand as well.
void DrawAlarmClockBody(HDC dc, float cx, float cy, float radius);
void DrawAlarmClockHands(HDC dc, float cx, float cy, float radius, const SYSTEMTIME& time, bool showSeconds);

}  // namespace chw::win32
