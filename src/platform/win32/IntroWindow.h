// The start-up window (splash): its labels, progress bar and timer, driven by frmIntro.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "ClockArt.h"
#include "WindowBase.h"
#include "WindowTimer.h"
#include "platform/IntroView.h"

namespace chw::win32 {

class IntroWindow : public WindowBase, public IIntroView {
public:
    // Created hidden; the first progress tick shows it. Laid out for `dpi` (0: the DPI of its monitor).
    explicit IntroWindow(HINSTANCE instance, int dpi = 0);
    ~IntroWindow() override;

    // The splash's colours: its own, or in a high-contrast theme the user's.
    struct Colours {
        COLORREF top, bottom, frame, innerFrame, title, text;
    };
    static Colours ColoursFor(bool highContrast);
    bool HighContrast() const { return highContrast_; }

    // What runs at each tick of MyTimer (frmIntro::MyTimer_Timer).
    void SetTickHandler(std::function<void()> onTick) { onTick_ = std::move(onTick); }

    // ICaptions
    std::string Caption(IntroCtl control) const override;
    void SetCaption(IntroCtl control, const std::string& text) override;

    // IIntroView
    ITimer& MyTimer() override { return timer_; }
    int ProgressMax() const override { return max_; }
    void SetProgressMax(int max) override;
    int ProgressValue() const override { return value_; }
    void SetProgressValue(int value) override;
    void Show() override { ShowAs(SW_SHOW); }
    void Hide() override { ShowAs(SW_HIDE); }
    void Repaint() override { RedrawAll(RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW); }
    void Unload() override;

    // The window's own font and the labels' three.
    enum Font { kForm, kTitle, kTahoma, kComic, kFonts };

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    HWND Control(IntroCtl control) const;
    void ApplyDpi();
    void PaintBackground(HDC dc);
    void DrawBackdrop(HDC dc, const RECT& client);
    void DrawHands(HDC dc);
    int FrameWidth() const;
    RECT ClockPlace() const;
    struct Dial {
        float cx, cy, radius;
    };
    Dial LargeClock() const;
    bool GdiplusReady() const { return gdiplus_ && gdiplus_->Ready(); }

    // First in, last out: the pictures drawn with it go before it.
    std::optional<GdiplusSession> gdiplus_{std::in_place};
    HINSTANCE instance_;
    int dpi_;
    bool highContrast_ = HighContrastOn();
    WindowTimer timer_;
    std::function<void()> onTick_;
    bool inTick_ = false;
    int max_ = 100;
    int value_ = 0;
    UniqueFont fonts_[kFonts];
    UniqueIcon programIcon_;
    // The picture but for the large clock's hands, drawn once, and the image each paint builds from it.
    UniqueBitmap backdrop_, canvas_;
    SIZE canvasSize_{};
};

}  // namespace chw::win32
