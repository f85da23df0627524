#include "IntroWindow.h"

#include <commctrl.h>

#include "app/FormTexts.h"
#include "platform/ProductNames.h"
#include "resource.h"

namespace chw::win32 {

namespace {

constexpr wchar_t kClassName[] = CHW_WIDE(CHW_PRODUCT "Intro");
constexpr UINT_PTR kTimerId = 1;
constexpr UINT_PTR kClockTimerId = 2;  // moves the hands of the clock picture
constexpr int kClientWidth = 6585, kClientHeight = 4440;  // twips

struct IntroControlDef {
    IntroCtl ctl;
    int id;
    const wchar_t* windowClass;
    TwipsRect place;
    DWORD style;
    const char* text;
    int font;
};

constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX;
using F = IntroWindow::Font;
const IntroControlDef kControls[] = {
    {IntroCtl::Label1, IDC_INTRO_LABEL1, L"STATIC", {1320, 120, 3855, 495}, kLabel, texts::kIntroLabel1, F::kTitle},
    {IntroCtl::Label2, IDC_INTRO_LABEL2, L"STATIC", {1320, 720, 4095, 255}, kLabel, texts::kIntroLabel2, F::kTahoma},
    {IntroCtl::ProgressBar1, IDC_INTRO_PROGRESSBAR1, PROGRESS_CLASSW, {1320, 1080, 3975, 495}, 0, "", F::kForm},
    {IntroCtl::label4, IDC_INTRO_LABEL4, L"STATIC", {3840, 1800, 2655, 255}, kLabel, texts::kIntroLabel4, F::kComic},
    {IntroCtl::Label3, IDC_INTRO_LABEL3, L"STATIC", {5280, 0, 1215, 255}, kLabel, texts::kIntroLabel3, F::kTahoma},
};

TRIVERTEX Vertex(LONG x, LONG y, COLORREF c) {
    auto channel = [](BYTE value) { return static_cast<COLOR16>(value << 8); };
    return TRIVERTEX{x, y, channel(GetRValue(c)), channel(GetGValue(c)), channel(GetBValue(c)), 0};
}

}  // namespace

IntroWindow::IntroWindow(HINSTANCE instance, int dpi)
    : instance_(instance), dpi_(dpi > 0 ? dpi : ScreenDpi()), timer_(kTimerId, false, 1000) {
    RegisterClassOnce(instance, kClassName, nullptr, nullptr);

    // A pop-up without a frame is all client area. No WS_CLIPCHILDREN: the labels are transparent and
    // show the background painted under them.
    const int width = Twips(kClientWidth, dpi_), height = Twips(kClientHeight, dpi_);
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    int x = work.left + (work.right - work.left - width) / 2;
    int y = work.top + (work.bottom - work.top - height) / 2;
    CreateWin(WS_EX_TOOLWINDOW, kClassName, Wide(texts::kAppTitle).c_str(), WS_POPUP, x, y, width, height, nullptr,
              nullptr, instance);
    if (!hwnd()) return;
    // Laid out for the monitor it opened on.
    if (dpi <= 0 && WindowDpi(hwnd()) != dpi_) {
        dpi_ = WindowDpi(hwnd());
        SetClientSize(hwnd(), Twips(kClientWidth, dpi_), Twips(kClientHeight, dpi_));
    }

    for (const auto& def : kControls)
        ::CreateWindowExW(0, def.windowClass, Wide(def.text).c_str(), WS_CHILD | WS_VISIBLE | def.style, 0, 0, 0, 0,
                          hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(def.id)), instance, nullptr);
    ApplyDpi();
    ::SendMessageW(Control(IntroCtl::ProgressBar1), PBM_SETRANGE32, 0, max_);
    timer_.Attach(hwnd());
    if (GdiplusReady()) ::SetTimer(hwnd(), kClockTimerId, 1000, nullptr);
}

// The fonts, the controls' places and the pictures for the DPI; the backdrop is drawn again.
void IntroWindow::ApplyDpi() {
    UniqueFont fonts[kFonts] = {MakeFont(L"Berlin Sans FBD", 8, dpi_), MakeFont(L"Comic Sans MS", 18, dpi_, FW_BOLD),
                                MakeFont(L"Tahoma", 8, dpi_), MakeFont(L"Comic Sans MS", 8, dpi_)};
    ::SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(fonts[kForm].get()), FALSE);
    for (const auto& def : kControls) {
        HWND child = Control(def.ctl);
        if (!child) continue;
        ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(fonts[def.font].get()), FALSE);
        RECT r = ToPixels(def.place, dpi_);
        // Label3's designed place is on the top edge, where the frame is drawn: just inside it instead.
        if (def.ctl == IntroCtl::Label3) ::OffsetRect(&r, 0, FrameWidth() + ::MulDiv(2, dpi_, 96));
        MoveTo(child, r);
    }
    // The controls hold the new fonts before the old ones go.
    std::swap(fonts_, fonts);
    const int iconSize = ::MulDiv(48, dpi_, 96);
    programIcon_ = UniqueIcon(static_cast<HICON>(::LoadImageW(instance_, MAKEINTRESOURCEW(IDI_CHIMEWELL), IMAGE_ICON,
                                                              iconSize, iconSize, LR_DEFAULTCOLOR)));
    backdrop_.reset();
    ::InvalidateRect(hwnd(), nullptr, TRUE);
}

// A pale sky fading to white, framed in a deep blue; in a high-contrast theme the user's window colours.
IntroWindow::Colours IntroWindow::ColoursFor(bool highContrast) {
    if (highContrast) {
        const COLORREF window = ::GetSysColor(COLOR_WINDOW), text = ::GetSysColor(COLOR_WINDOWTEXT);
        return Colours{window, window, text, window, text, text};
    }
    return Colours{RGB(0xD6, 0xE6, 0xFA), RGB(0xFF, 0xFF, 0xFF), RGB(0x1F, 0x3F, 0x7A), RGB(0xFF, 0xFF, 0xFF),
                   RGB(0x1F, 0x3F, 0x7A), RGB(0x20, 0x20, 0x20)};
}

int IntroWindow::FrameWidth() const { return ::MulDiv(2, dpi_, 96) + 1; }

// The lower half of the window, under the designed labels: a large clock, centred under the progress bar.
RECT IntroWindow::ClockPlace() const {
    RECT bar = ToPixels(kControls[2].place, dpi_);
    RECT client;
    ::GetClientRect(hwnd(), &client);
    const int top = ToPixels(kControls[3].place, dpi_).bottom + ::MulDiv(6, dpi_, 96);
    const int bottom = client.bottom - FrameWidth() - ::MulDiv(6, dpi_, 96);
    const int size = bottom - top;
    const int centre = (bar.left + bar.right) / 2;
    return RECT{centre - size / 2, top, centre + size / 2, bottom};
}

IntroWindow::Dial IntroWindow::LargeClock() const {
    RECT place = ClockPlace();
    float radius = (place.bottom - place.top) / 2.7f;
    return Dial{(place.left + place.right) / 2.0f, place.top + radius * 1.4f, radius};
}

IntroWindow::~IntroWindow() { Unload(); }

HWND IntroWindow::Control(IntroCtl control) const {
    if (!hwnd()) return nullptr;
    if (control == IntroCtl::Form) return hwnd();
    for (const auto& def : kControls)
        if (def.ctl == control) return ::GetDlgItem(hwnd(), def.id);
    return nullptr;
}

std::string IntroWindow::Caption(IntroCtl control) const {
    HWND h = Control(control);
    return h && control != IntroCtl::ProgressBar1 ? Utf8(WindowTextW(h)) : std::string();
}

void IntroWindow::SetCaption(IntroCtl control, const std::string& text) {
    HWND h = Control(control);
    if (!h || control == IntroCtl::ProgressBar1) return;
    ::SetWindowTextW(h, Wide(text).c_str());
    if (control != IntroCtl::Form) {
        // The labels are transparent: the background under the old text must be painted again.
        const RECT r = PlaceInParent(h);
        ::RedrawWindow(hwnd(), &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
}

void IntroWindow::SetProgressMax(int max) {
    max_ = max;
    if (HWND bar = Control(IntroCtl::ProgressBar1)) ::SendMessageW(bar, PBM_SETRANGE32, 0, max);
}

void IntroWindow::SetProgressValue(int value) {
    value_ = value;
    if (HWND bar = Control(IntroCtl::ProgressBar1)) ::SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(value), 0);
}

void IntroWindow::Unload() {
    if (hwnd()) ::KillTimer(hwnd(), kClockTimerId);
    timer_.Detach();
    DestroyNow();
    // What only the splash used goes with it, rather than for as long as the program runs.
    for (UniqueFont& font : fonts_) font.reset();
    programIcon_.reset();
    backdrop_.reset();
    canvas_.reset();
    gdiplus_.reset();
}

// Drawn off screen and copied at once, so that the moving hands do not flicker; of the picture only the
// large clock's hands change, so the rest is drawn once and copied under them.
void IntroWindow::PaintBackground(HDC target) {
    RECT rc;
    ::GetClientRect(hwnd(), &rc);
    if (!backdrop_ || !canvas_ || canvasSize_.cx != rc.right || canvasSize_.cy != rc.bottom) {
        canvasSize_ = SIZE{rc.right, rc.bottom};
        backdrop_ = MakeCanvas(target, rc.right, rc.bottom);
        canvas_ = MakeCanvas(target, rc.right, rc.bottom);
        if (backdrop_) {
            MemoryDC mem(target);
            SelectObj keep(mem.get(), backdrop_.get());
            DrawBackdrop(mem.get(), rc);
        }
    }
    if (!backdrop_ || !canvas_) {
        DrawBackdrop(target, rc);
        DrawHands(target);
        return;
    }
    MemoryDC from(target), mem(target);
    SelectObj keepBackdrop(from.get(), backdrop_.get());
    SelectObj keepCanvas(mem.get(), canvas_.get());
    ::BitBlt(mem.get(), 0, 0, rc.right, rc.bottom, from.get(), 0, 0, SRCCOPY);
    DrawHands(mem.get());
    ::BitBlt(target, 0, 0, rc.right, rc.bottom, mem.get(), 0, 0, SRCCOPY);
}

void IntroWindow::DrawBackdrop(HDC dc, const RECT& rc) {
    const Colours c = ColoursFor(highContrast_);
    TRIVERTEX v[2] = {Vertex(rc.left, rc.top, c.top), Vertex(rc.right, rc.bottom, c.bottom)};
    GRADIENT_RECT g{0, 1};
    ::GdiGradientFill(dc, v, 2, &g, 1, GRADIENT_FILL_RECT_V);

    // A double frame: a deep outer line, w pixels wide, and a light inner one.
    const int w = FrameWidth() - 1;
    UniqueBrush frame(::CreateSolidBrush(c.frame)), inner(::CreateSolidBrush(c.innerFrame));
    for (int i = 0; i <= w; ++i) {
        RECT r{rc.left + i, rc.top + i, rc.right - i, rc.bottom - i};
        ::FrameRect(dc, &r, (i < w ? frame : inner).get());
    }

    // The product's mark beside the title, and a large clock that shows the time in the lower half.
    int size = ::MulDiv(48, dpi_, 96);
    const TwipsRect& title = kControls[0].place;
    int x = (Twips(title.left, dpi_) - size) / 2;
    int y = Twips(title.top, dpi_) + (Twips(title.height, dpi_) - size) / 2 + ::MulDiv(8, dpi_, 96);
    if (GdiplusReady()) {
        const Dial mark{x + size / 2.0f, y + size * 0.56f, size * 0.36f};
        DrawAlarmClockBody(dc, mark.cx, mark.cy, mark.radius);
        DrawAlarmClockHands(dc, mark.cx, mark.cy, mark.radius, SYSTEMTIME{2000, 1, 0, 1, 10, 8, 0, 0}, false);
        const Dial dial = LargeClock();
        DrawAlarmClockBody(dc, dial.cx, dial.cy, dial.radius);
    } else if (programIcon_) {
        ::DrawIconEx(dc, x, y, programIcon_.get(), size, size, 0, nullptr, DI_NORMAL);
    }
}

void IntroWindow::DrawHands(HDC dc) {
    if (!GdiplusReady()) return;
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    const Dial dial = LargeClock();
    DrawAlarmClockHands(dc, dial.cx, dial.cy, dial.radius, now, true);
}

LRESULT IntroWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            PaintBackground(reinterpret_cast<HDC>(wParam));
            return 1;
        case WM_CTLCOLORSTATIC: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            ::SetBkMode(dc, TRANSPARENT);
            bool title = reinterpret_cast<HWND>(lParam) == Control(IntroCtl::Label1);
            const Colours c = ColoursFor(highContrast_);
            ::SetTextColor(dc, title ? c.title : c.text);
            return reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
        }
        case WM_SYSCOLORCHANGE:
        case WM_SETTINGCHANGE:
            // The user's colours or a high-contrast theme changed: the picture is drawn again in them.
            highContrast_ = HighContrastOn();
            backdrop_.reset();
            if (message == WM_SYSCOLORCHANGE) {
                if (HWND bar = Control(IntroCtl::ProgressBar1)) ::SendMessageW(bar, message, wParam, lParam);
            }
            ::InvalidateRect(hwnd(), nullptr, TRUE);
            return Default(message, wParam, lParam);
        case WM_DPICHANGED:
            dpi_ = DpiChangedDpi(wParam);
            TakeSuggestedRect(hwnd(), lParam);
            ApplyDpi();
            return 0;
        case WM_TIMER:
            if (wParam == kClockTimerId) {
                RECT place = ClockPlace();
                ::InvalidateRect(hwnd(), &place, TRUE);
                return 0;
            }
            if (wParam == timer_.Id() && onTick_ && !inTick_) {
                inTick_ = true;
                Guarded(onTick_);
                inTick_ = false;
            }
            return 0;
        default:
            return Default(message, wParam, lParam);
    }
}

}  // namespace chw::win32
