// The skinned push buttons: owner-drawn BUTTON controls (so that they stay push buttons for keyboard
// users and screen readers) painted from three bitmaps: up, pointer over, pressed.
#pragma once

#include <windows.h>

#include <vector>

#include "Win32Util.h"

namespace chw::win32 {

class SkinButtons {
public:
    explicit SkinButtons(HINSTANCE instance);

    // Creates one skinned button as a child of parent.
    HWND Create(HWND parent, int id, const wchar_t* caption, const RECT& place);
    // The captions' font, for every button made here (the window owns it), and the DPI the buttons are
    // drawn for; they are drawn again.
    void SetFont(HFONT font, int dpi);
    // In a high-contrast theme the buttons are drawn as plain ones in the system's colours, not from the
    // skins; they are drawn again when this changes.
    void SetHighContrast(bool on);
    // The parent forwards WM_DRAWITEM of its skinned buttons here.
    void Draw(const DRAWITEMSTRUCT& item) const;

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR data) noexcept;

    HINSTANCE instance_;
    UniqueBitmap up_, over_, down_;

    HFONT font_ = nullptr;
    int dpi_ = 96;
    bool highContrast_ = false;
    std::vector<HWND> buttons_;
};

}  // namespace chw::win32
