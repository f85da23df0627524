// Small helpers of the Win32 layer: handle ownership, UTF-8 <-> UTF-16, and twips to pixels.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>
#include <utility>

#include "Twips.h"
#include "platform/Processes.h"
#include "platform/WindowSystem.h"

namespace chw::win32 {

// ---- Ownership of handles ----

// Owns one handle and frees it with Close; movable, not copyable.
template <class H, class Traits>
class Unique {
public:
    Unique() = default;
    explicit Unique(H h) : h_(h) {}
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    Unique(Unique&& other) noexcept : h_(std::exchange(other.h_, Traits::Invalid())) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other) reset(std::exchange(other.h_, Traits::Invalid()));
        return *this;
    }
    ~Unique() { reset(); }

    H get() const { return h_; }
    explicit operator bool() const { return h_ != Traits::Invalid(); }
    H release() { return std::exchange(h_, Traits::Invalid()); }
    void reset(H h = Traits::Invalid()) {
        if (h_ != Traits::Invalid()) Traits::Close(h_);
        h_ = h;
    }

private:
    H h_ = Traits::Invalid();
};

struct HandleTraits {
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE h) { ::CloseHandle(h); }
};
struct KeyTraits {
    static HKEY Invalid() { return nullptr; }
    static void Close(HKEY h) { ::RegCloseKey(h); }
};
template <class G>
struct GdiTraits {
    static G Invalid() { return nullptr; }
    static void Close(G h) { ::DeleteObject(h); }
};
struct IconTraits {
    static HICON Invalid() { return nullptr; }
    static void Close(HICON h) { ::DestroyIcon(h); }
};
struct MenuTraits {
    static HMENU Invalid() { return nullptr; }
    static void Close(HMENU h) { ::DestroyMenu(h); }
};
struct WindowTraits {
    static HWND Invalid() { return nullptr; }
    static void Close(HWND h) {
        if (::IsWindow(h)) ::DestroyWindow(h);
    }
};

using UniqueHandle = Unique<HANDLE, HandleTraits>;
using UniqueKey = Unique<HKEY, KeyTraits>;
using UniqueFont = Unique<HFONT, GdiTraits<HFONT>>;
using UniqueBitmap = Unique<HBITMAP, GdiTraits<HBITMAP>>;
using UniqueBrush = Unique<HBRUSH, GdiTraits<HBRUSH>>;
using UniqueIcon = Unique<HICON, IconTraits>;
using UniqueMenu = Unique<HMENU, MenuTraits>;
using UniqueWindow = Unique<HWND, WindowTraits>;

// A device context of a window for the length of a scope.
class WindowDC {
public:
    explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() {
        if (dc_) ::ReleaseDC(hwnd_, dc_);
    }
    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// An off-screen 32-bit picture to draw into. A DIB section rather than a compatible bitmap: its memory
// is mapped for it alone and goes back to the system when it is deleted.
inline UniqueBitmap MakeCanvas(HDC dc, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    return UniqueBitmap(::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
}

// A memory device context, deleted at the end of the scope.
class MemoryDC {
public:
    explicit MemoryDC(HDC compatibleWith) : dc_(::CreateCompatibleDC(compatibleWith)) {}
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    ~MemoryDC() {
        if (dc_) ::DeleteDC(dc_);
    }
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

// Selects a GDI object into a DC and puts the previous one back at the end of the scope.
class SelectObj {
public:
    SelectObj(HDC dc, HGDIOBJ obj) : dc_(dc), old_(::SelectObject(dc, obj)) {}
    SelectObj(const SelectObj&) = delete;
    SelectObj& operator=(const SelectObj&) = delete;
    ~SelectObj() {
        if (old_ && old_ != HGDI_ERROR) ::SelectObject(dc_, old_);
    }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// ---- Texts: the logic speaks UTF-8, Windows UTF-16 ----

// ShowWindow's numbers for the program's own words.
inline int ShowWindowCommand(ShowCommand command) {
    switch (command) {
        case ShowCommand::Hide: return SW_HIDE;
        case ShowCommand::Normal: return SW_SHOWNORMAL;
        case ShowCommand::Minimize: return SW_MINIMIZE;
        case ShowCommand::Restore: return SW_RESTORE;
        case ShowCommand::ShowDefault: return SW_SHOWDEFAULT;
    }
    return SW_SHOWNORMAL;
}

// How a started program shows its first window (STARTUPINFO's wShowWindow).
inline int ShowWindowCommand(WindowStyle style) {
    switch (style) {
        case WindowStyle::Hidden: return SW_HIDE;
        case WindowStyle::NormalFocus: return SW_SHOWNORMAL;
        case WindowStyle::MinimizedFocus: return SW_SHOWMINIMIZED;
        case WindowStyle::MaximizedFocus: return SW_SHOWMAXIMIZED;
        case WindowStyle::NormalNoFocus: return SW_SHOWNOACTIVATE;
        case WindowStyle::MinimizedNoFocus: return SW_SHOWMINNOACTIVE;
    }
    return SW_SHOWNORMAL;
}

inline std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) return {};
    int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

inline std::string Utf8(const std::wstring& wide) {
    if (wide.empty()) return {};
    int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}

inline std::wstring WindowTextW(HWND hwnd) {
    int n = ::GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    n = ::GetWindowTextW(hwnd, text.data(), n + 1);
    text.resize(static_cast<size_t>(n > 0 ? n : 0));
    return text;
}

// ---- Colours ----

// A high-contrast theme is on: the user's system colours replace every colour of our own.
inline bool SystemHighContrastOn() {
    HIGHCONTRASTW hc{};
    hc.cbSize = sizeof(hc);
    return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(hc), &hc, 0) && (hc.dwFlags & HCF_HIGHCONTRASTON);
}
// Where the windows learn it: the system, unless a test (or a system without the setting, as Wine)
// stands in for it.
using HighContrastProbe = bool (*)();
inline HighContrastProbe& HighContrastSource() {
    static HighContrastProbe source = &SystemHighContrastOn;
    return source;
}
inline bool HighContrastOn() { return HighContrastSource()(); }

// ---- Layout: the windows are designed in twips (1440 to the inch) ----

inline int ScreenDpi() {
    WindowDC dc(nullptr);
    int dpi = dc.get() ? ::GetDeviceCaps(dc.get(), LOGPIXELSY) : 96;
    return dpi > 0 ? dpi : 96;
}

// The DPI a window is laid out for: its monitor's where Windows tells each window its own (Windows 10
// and later), the screen's otherwise.
inline int WindowDpi(HWND hwnd) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    const int dpi = getDpiForWindow && hwnd ? static_cast<int>(getDpiForWindow(hwnd)) : 0;
    return dpi > 0 ? dpi : ScreenDpi();
}

// WM_DPICHANGED: the new DPI, and the window's place that Windows suggests for it.
inline int DpiChangedDpi(WPARAM wParam) {
    const int dpi = HIWORD(wParam);
    return dpi > 0 ? dpi : 96;
}
inline void TakeSuggestedRect(HWND hwnd, LPARAM lParam) {
    const RECT& r = *reinterpret_cast<const RECT*>(lParam);
    ::SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

inline RECT ToPixels(const TwipsRect& r, int dpi) {
    int left = Twips(r.left, dpi), top = Twips(r.top, dpi);
    return RECT{left, top, left + Twips(r.width, dpi), top + Twips(r.height, dpi)};
}

// What a font comes out as on this machine: the face found, its size, and whether it has outlines.
struct RealizedFont {
    std::wstring face;
    TEXTMETRICW metrics{};
    bool operator==(const RealizedFont& o) const {
        return face == o.face && metrics.tmHeight == o.metrics.tmHeight &&
               metrics.tmAveCharWidth == o.metrics.tmAveCharWidth && metrics.tmMaxCharWidth == o.metrics.tmMaxCharWidth &&
               metrics.tmWeight == o.metrics.tmWeight && metrics.tmItalic == o.metrics.tmItalic &&
               metrics.tmCharSet == o.metrics.tmCharSet && metrics.tmPitchAndFamily == o.metrics.tmPitchAndFamily;
    }
    bool Raster() const { return !(metrics.tmPitchAndFamily & (TMPF_VECTOR | TMPF_TRUETYPE)); }
};

inline RealizedFont Realize(HFONT font) {
    RealizedFont r;
    HDC screen = ::GetDC(nullptr);
    if (!screen) return r;
    HGDIOBJ old = ::SelectObject(screen, font);
    wchar_t face[LF_FACESIZE] = {};
    if (::GetTextFaceW(screen, LF_FACESIZE, face) > 0) r.face = face;
    ::GetTextMetricsW(screen, &r.metrics);
    ::SelectObject(screen, old);
    ::ReleaseDC(nullptr, screen);
    return r;
}

// A font by face and point size; Windows substitutes a face that is not installed. Outlines are drawn
// with ClearType. A raster face has no smoothing to give, so it is asked for as unsmoothed: the same
// pixels, and no look-up of smoothing settings each time the font is selected into a device context (the
// X11 driver under Wine reads its resource files for that, every time, where the display has none).
inline UniqueFont MakeFont(const wchar_t* face, int points, int dpi, int weight = FW_NORMAL, bool italic = false) {
    auto create = [&](DWORD quality) {
        return UniqueFont(::CreateFontW(-::MulDiv(points, dpi, 72), 0, 0, 0, weight, italic, FALSE, FALSE,
                                        DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, quality,
                                        DEFAULT_PITCH | FF_DONTCARE, face));
    };
    UniqueFont font = create(CLEARTYPE_QUALITY);
    if (!font) return font;
    const RealizedFont smooth = Realize(font.get());
    if (smooth.face.empty() || !smooth.Raster()) return font;
    UniqueFont plain = create(NONANTIALIASED_QUALITY);
    return plain && Realize(plain.get()) == smooth ? std::move(plain) : std::move(font);
}

// Runs f and swallows any exception: nothing may unwind into Windows.
template <class F>
void Guarded(F&& f) noexcept {
    try {
        f();
    } catch (...) {
    }
}

}  // namespace chw::win32
