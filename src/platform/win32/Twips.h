// Twips, the unit the windows are designed in, and the main window's designed places. Free of
// <windows.h>, so that the layout rules built on it stay plain arithmetic.
#pragma once

namespace chw::win32 {

// Twips to pixels at the given DPI (15 twips a pixel at 96 DPI), rounded to the nearest pixel.
inline constexpr int Twips(int twips, int dpi) {
    return static_cast<int>((static_cast<long long>(twips) * dpi + 720) / 1440);
}

struct TwipsRect {
    int left, top, width, height;
    constexpr int right() const { return left + width; }
};

// Where the main window's controls are designed to be; the status bar keeps to the bottom edge by
// itself, at least kStatusHeight high. The layout rules widen the window from these.
namespace mainwindow {
inline constexpr int kClientWidth = 5790, kClientHeight = 3150;
inline constexpr int kStatusHeight = 375;
inline constexpr TwipsRect kMonthViewNamePlace{240, 360, 2640, 255};
inline constexpr TwipsRect kMonthViewPlace{240, 360, 2640, 2310};
inline constexpr TwipsRect kCmdResetPlace{4440, 2160, 1110, 330};
inline constexpr TwipsRect kCmdSetPlace{3000, 2160, 1110, 330};
inline constexpr TwipsRect kLabel1Place{3000, 360, 1095, 255};
inline constexpr TwipsRect kLblDatePlace{4200, 360, 1095, 255};
inline constexpr TwipsRect kLabel2Place{3000, 1200, 2775, 255};
inline constexpr TwipsRect kTxtTimePlace{3000, 1560, 1215, 315};
}  // namespace mainwindow

}  // namespace chw::win32
