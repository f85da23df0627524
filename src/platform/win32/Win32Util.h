// Small helpers of the Win32 layer: handle ownership, UTF-8 <-> UTF-16, and twips to pixels.
#pragma once

#include <windows.h>

#include <objbase.h>

#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>

#include "Twips.h"
#include "platform/Processes.h"
#include "platform/WindowSystem.h"

namespace chw::win32 {

// ---- Ownership of handles ----

// Frees a handle with Close.
template <auto Close>
struct Closer {
    template <class H>
    void operator()(H h) const {
        Close(h);
    }
};
// Owns one handle and frees it with Close; movable, not copyable. Null is no handle.
template <class H, auto Close>
using Unique = std::unique_ptr<std::remove_pointer_t<H>, Closer<Close>>;

// A window that its parent took down with it is gone already.
inline void DestroyIfWindow(HWND h) {
    if (::IsWindow(h)) ::DestroyWindow(h);
}

using UniqueHandle = Unique<HANDLE, &::CloseHandle>;
using UniqueKey = Unique<HKEY, &::RegCloseKey>;
using UniqueFont = Unique<HFONT, &::DeleteObject>;
using UniqueBitmap = Unique<HBITMAP, &::DeleteObject>;
using UniqueBrush = Unique<HBRUSH, &::DeleteObject>;
using UniqueIcon = Unique<HICON, &::DestroyIcon>;
using UniqueMenu = Unique<HMENU, &::DestroyMenu>;
using UniqueWindow = Unique<HWND, &DestroyIfWindow>;

// A device context of a window (of the screen, for none) for the length of a scope.
inline void ReleaseWindowDC(HDC dc) { ::ReleaseDC(::WindowFromDC(dc), dc); }
struct WindowDC : Unique<HDC, &ReleaseWindowDC> {
    explicit WindowDC(HWND hwnd) : unique_ptr(::GetDC(hwnd)) {}
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
struct MemoryDC : Unique<HDC, &::DeleteDC> {
    explicit MemoryDC(HDC compatibleWith) : unique_ptr(::CreateCompatibleDC(compatibleWith)) {}
};

// Selects a GDI object into a DC and puts the previous one back at the end of the scope.
struct PutBack {
    HDC dc;
    void operator()(HGDIOBJ old) const {
        if (old != HGDI_ERROR) ::SelectObject(dc, old);
    }
};
struct SelectObj : std::unique_ptr<void, PutBack> {
    SelectObj(HDC dc, HGDIOBJ obj) : unique_ptr(::SelectObject(dc, obj), PutBack{dc}) {}
};

// COM in this thread for the length of a scope.
class ComScope {
public:
    explicit ComScope(DWORD model = COINIT_APARTMENTTHREADED) : result_(::CoInitializeEx(nullptr, model)) {}
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    ~ComScope() {
        if (SUCCEEDED(result_)) ::CoUninitialize();
    }

private:
    HRESULT result_;
};

// ---- Libraries mapped when first needed ----

// The system folder; empty when it cannot be told.
inline std::wstring SystemDirectory() {
    wchar_t folder[MAX_PATH];
    const UINT n = ::GetSystemDirectoryW(folder, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(folder, n) : std::wstring();
}

// A library of the system folder, by its whole path: never a file of that name beside the program.
inline HMODULE LoadSystemLibrary(const wchar_t* name) {
    const std::wstring folder = SystemDirectory();
    return folder.empty() ? nullptr : ::LoadLibraryW((folder + L"\\" + name).c_str());
}

// A function of a library looked up by name; null where the library or this system lacks it.
template <class F>
F ProcOf(HMODULE module, const char* name) {
    return module ? reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(module, name))) : nullptr;
}

// ---- Texts: the logic speaks UTF-8, Windows UTF-16 ----

// ShowWindow's numbers for the program's own words, in the order of ShowCommand.
inline int ShowWindowCommand(ShowCommand command) {
    constexpr int kCommands[] = {SW_HIDE, SW_SHOWNORMAL, SW_MINIMIZE, SW_RESTORE, SW_SHOWDEFAULT};
    return kCommands[static_cast<int>(command)];
}

// How a started program shows its first window (STARTUPINFO's wShowWindow), in the order of WindowStyle.
inline int ShowWindowCommand(WindowStyle style) {
    constexpr int kCommands[] = {SW_HIDE,          SW_SHOWNORMAL,     SW_SHOWMINIMIZED,
                                 SW_SHOWMAXIMIZED, SW_SHOWNOACTIVATE, SW_SHOWMINNOACTIVE};
    return kCommands[static_cast<int>(style)];
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

// The logic's handle of a window, and back.
inline WindowHandle HandleOf(HWND window) { return reinterpret_cast<WindowHandle>(window); }
inline HWND WindowOf(WindowHandle handle) { return reinterpret_cast<HWND>(handle); }

inline std::wstring WindowTextW(HWND hwnd) {
    int n = ::GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    n = ::GetWindowTextW(hwnd, text.data(), n + 1);
    text.resize(static_cast<size_t>(n > 0 ? n : 0));
    return text;
}

// ---- Times ----

inline SYSTEMTIME ToSystemTime(const Date& date, int hour = 0, int minute = 0, int second = 0) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(date.year);
    st.wMonth = static_cast<WORD>(date.month);
    st.wDay = static_cast<WORD>(date.day);
    st.wHour = static_cast<WORD>(hour);
    st.wMinute = static_cast<WORD>(minute);
    st.wSecond = static_cast<WORD>(second);
    return st;
}

// A FILETIME as one count of 100 ns steps.
inline std::uint64_t Ticks(const FILETIME& ft) {
    return (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
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
    static const auto getDpiForWindow =
        ProcOf<UINT(WINAPI*)(HWND)>(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow");
    const int dpi = getDpiForWindow && hwnd ? static_cast<int>(getDpiForWindow(hwnd)) : 0;
    return dpi > 0 ? dpi : ScreenDpi();
}

// A window moved and sized to a rectangle of its parent's client area (of the screen, for a top-level one).
inline void MoveTo(HWND hwnd, const RECT& r) {
    ::SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Where a child window is, in its parent's client coordinates.
inline RECT PlaceInParent(HWND child) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Sizes a top-level window so that its client area is width by height. A menu bar may wrap and take
// more room than one line: the window grows by what is missing.
inline void SetClientSize(HWND hwnd, int width, int height) {
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(hwnd, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrW(hwnd, GWL_EXSTYLE));
    RECT frame{0, 0, width, height};
    ::AdjustWindowRectEx(&frame, style, ::GetMenu(hwnd) != nullptr, exStyle);
    const UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    ::SetWindowPos(hwnd, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top, flags);
    RECT client, window;
    ::GetClientRect(hwnd, &client);
    const int extra = height - (client.bottom - client.top);
    if (extra > 0 && ::GetWindowRect(hwnd, &window))
        ::SetWindowPos(hwnd, nullptr, 0, 0, window.right - window.left, window.bottom - window.top + extra, flags);
}

// How wide and high a text is in the font of a control.
inline SIZE TextExtent(HWND control, const std::wstring& text) {
    SIZE extent{};
    WindowDC dc(control);
    SelectObj keep(dc.get(), reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    ::GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
    return extent;
}

// WM_DPICHANGED: the new DPI, and the window's place that Windows suggests for it.
inline int DpiChangedDpi(WPARAM wParam) {
    const int dpi = HIWORD(wParam);
    return dpi > 0 ? dpi : 96;
}
inline void TakeSuggestedRect(HWND hwnd, LPARAM lParam) { MoveTo(hwnd, *reinterpret_cast<const RECT*>(lParam)); }

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
    WindowDC screen(nullptr);
    if (!screen.get()) return r;
    SelectObj keep(screen.get(), font);
    wchar_t face[LF_FACESIZE] = {};
    if (::GetTextFaceW(screen.get(), LF_FACESIZE, face) > 0) r.face = face;
    ::GetTextMetricsW(screen.get(), &r.metrics);
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
