#include "SkinButton.h"

#include <commctrl.h>

#include "resource.h"

#include "platform/ProductNames.h"

namespace chw::win32 {

namespace {

constexpr UINT_PTR kSubclassId = 0x5B;
// The pointer is over the button; kept as a window property so each button knows its own state.
constexpr wchar_t kHotProperty[] = CHW_WIDE(CHW_PRODUCT ".SkinHot");

bool IsHot(HWND button) { return ::GetPropW(button, kHotProperty) != nullptr; }

void SetHot(HWND button, bool hot) {
    if (hot == IsHot(button)) return;
    if (hot)
        ::SetPropW(button, kHotProperty, reinterpret_cast<HANDLE>(1));
    else
        ::RemovePropW(button, kHotProperty);
    ::InvalidateRect(button, nullptr, FALSE);
}

void DrawSkin(HDC dc, const RECT& rc, HBITMAP skin) {
    BITMAP bm{};
    if (!skin || !::GetObjectW(skin, sizeof(bm), &bm)) {
        ::FillRect(dc, &rc, ::GetSysColorBrush(COLOR_BTNFACE));
        ::DrawEdge(dc, const_cast<RECT*>(&rc), EDGE_RAISED, BF_RECT);
        return;
    }
    MemoryDC mem(dc);
    SelectObj keep(mem.get(), skin);
    int oldMode = ::SetStretchBltMode(dc, HALFTONE);
    ::SetBrushOrgEx(dc, 0, 0, nullptr);
    ::StretchBlt(dc, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, mem.get(), 0, 0, bm.bmWidth,
                 bm.bmHeight, SRCCOPY);
    ::SetStretchBltMode(dc, oldMode);
}

// Washes the skin out towards the face colour, the usual look of a disabled button.
void WashOut(HDC dc, const RECT& rc) {
    MemoryDC mem(dc);
    UniqueBitmap face(::CreateCompatibleBitmap(dc, 1, 1));
    SelectObj keep(mem.get(), face.get());
    RECT one{0, 0, 1, 1};
    ::FillRect(mem.get(), &one, ::GetSysColorBrush(COLOR_BTNFACE));
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 150, 0};
    ::GdiAlphaBlend(dc, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, mem.get(), 0, 0, 1, 1, blend);
}

UniqueBitmap LoadSkin(HINSTANCE instance, int id) {
    return UniqueBitmap(
        static_cast<HBITMAP>(::LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

}  // namespace

SkinButtons::SkinButtons(HINSTANCE instance)
    : instance_(instance), up_(LoadSkin(instance, IDB_SKIN_UP)), over_(LoadSkin(instance, IDB_SKIN_OVER)),
      down_(LoadSkin(instance, IDB_SKIN_DOWN)) {}

HWND SkinButtons::Create(HWND parent, int id, const wchar_t* caption, const RECT& place) {
    HWND button = ::CreateWindowExW(0, L"BUTTON", caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW,
                                    place.left, place.top, place.right - place.left, place.bottom - place.top, parent,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
    if (button) {
        ::SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        ::SetWindowSubclass(button, &SkinButtons::SubclassProc, kSubclassId, 0);
        buttons_.push_back(button);
    }
    return button;
}

void SkinButtons::SetFont(HFONT font, int dpi) {
    font_ = font;
    dpi_ = dpi;
    for (HWND button : buttons_)
        if (::IsWindow(button)) ::SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

LRESULT CALLBACK SkinButtons::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR) noexcept {
    switch (message) {
        case WM_MOUSEMOVE:
            if (!IsHot(hwnd)) {
                TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, hwnd, 0};
                ::TrackMouseEvent(&tme);
                SetHot(hwnd, true);
            }
            break;
        case WM_MOUSELEAVE:
            SetHot(hwnd, false);
            break;
        case WM_ENABLE:
            if (!wParam) SetHot(hwnd, false);
            break;
        case WM_SETTEXT: {
            // Owner-drawn buttons do not repaint themselves for a new caption.
            LRESULT result = ::DefSubclassProc(hwnd, message, wParam, lParam);
            ::InvalidateRect(hwnd, nullptr, FALSE);
            return result;
        }
        case WM_NCDESTROY:
            ::RemovePropW(hwnd, kHotProperty);
            ::RemoveWindowSubclass(hwnd, &SkinButtons::SubclassProc, kSubclassId);
            break;
        default:
            break;
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

void SkinButtons::SetHighContrast(bool on) {
    if (on == highContrast_) return;
    highContrast_ = on;
    for (HWND button : buttons_)
        if (::IsWindow(button)) ::InvalidateRect(button, nullptr, FALSE);
}

void SkinButtons::Draw(const DRAWITEMSTRUCT& item) const {
    const RECT& rc = item.rcItem;
    const bool disabled = item.itemState & ODS_DISABLED;
    const bool pressed = (item.itemState & ODS_SELECTED) && !disabled;
    const bool hot = !disabled && IsHot(item.hwndItem);

    // Drawn off screen first so that hovering does not flicker.
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    MemoryDC mem(item.hDC);
    UniqueBitmap canvas(::CreateCompatibleBitmap(item.hDC, w, h));
    SelectObj keepCanvas(mem.get(), canvas.get());
    const HDC dc = mem.get();
    RECT local{0, 0, w, h};
    if (highContrast_) {
        // A plain push button in the system's colours, with a frame in the text colour too: in a
        // high-contrast theme the edges alone may not show.
        ::FillRect(dc, &local, ::GetSysColorBrush(COLOR_BTNFACE));
        ::DrawEdge(dc, &local, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
        ::FrameRect(dc, &local, ::GetSysColorBrush(COLOR_WINDOWFRAME));
    } else {
        DrawSkin(dc, local, pressed ? down_.get() : hot ? over_.get() : up_.get());
        if (disabled) WashOut(dc, local);
    }

    SelectObj keepFont(dc, font_);
    ::SetBkMode(dc, TRANSPARENT);
    RECT text = local;
    if (pressed) ::OffsetRect(&text, 1, 1);
    UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (item.itemState & ODS_NOACCEL) format |= DT_HIDEPREFIX;
    const std::wstring caption = WindowTextW(item.hwndItem);
    if (disabled && !highContrast_) {
        // Etched grey text over the skin, as Windows draws disabled captions.
        RECT shadow = text;
        ::OffsetRect(&shadow, 1, 1);
        ::SetTextColor(dc, ::GetSysColor(COLOR_3DHILIGHT));
        ::DrawTextW(dc, caption.c_str(), -1, &shadow, format);
    }
    ::SetTextColor(dc, disabled       ? ::GetSysColor(COLOR_GRAYTEXT)
                       : highContrast_ ? ::GetSysColor(COLOR_BTNTEXT)
                                       : RGB(0x10, 0x10, 0x10));
    ::DrawTextW(dc, caption.c_str(), -1, &text, format);

    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        // Inside the skin's rounded border (the plain edge's) at any DPI.
        RECT focus = local;
        const int inset = ::MulDiv(highContrast_ ? 3 : 4, dpi_, 96);
        ::InflateRect(&focus, -inset, -inset);
        ::SetTextColor(dc, highContrast_ ? ::GetSysColor(COLOR_BTNTEXT) : RGB(0, 0, 0));
        ::SetBkColor(dc, highContrast_ ? ::GetSysColor(COLOR_BTNFACE) : RGB(0xFF, 0xFF, 0xFF));
        ::DrawFocusRect(dc, &focus);
    }
    ::BitBlt(item.hDC, rc.left, rc.top, w, h, dc, 0, 0, SRCCOPY);
}

}  // namespace chw::win32
