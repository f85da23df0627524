// The program's own help window: the help document, read-only, in a resizable top-level window. It
// stands in where no word processor on the system can open the document.
#pragma once

#include <windows.h>

#include <string>

#include "UiLoop.h"
#include "WindowBase.h"

#include "platform/ProductNames.h"

namespace chw::win32 {

class HelpWindow : public WindowBase {
public:
    HelpWindow(HINSTANCE instance, UiLoop& loop) : instance_(instance), loop_(loop) {}
    ~HelpWindow() override { DestroyNow(); }

    // Shows the document; a window already open is brought forward as it is. False when the document
    // cannot be shown (no rich edit control, or the file cannot be read).
    bool Open(const std::wstring& path);

    static constexpr const wchar_t* kClassName = CHW_WIDE(CHW_PRODUCT "Help");

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool Create();
    bool Load(const std::wstring& path);
    void Arrange();
    int Scaled(int pixelsAt96) const { return ::MulDiv(pixelsAt96, dpi_, 96); }

    HINSTANCE instance_;
    UiLoop& loop_;
    HWND edit_ = nullptr;
    HWND close_ = nullptr;
    UniqueFont font_;
    int dpi_ = 96;
};

}  // namespace chw::win32
