// The hidden application window: a second instance finds it by class and caption (the application
// title) and asks it for our main window.
#pragma once

#include "WindowBase.h"

namespace chw::win32 {

class AppWindow : public WindowBase {
public:
    AppWindow(HINSTANCE instance, const wchar_t* title);
    ~AppWindow() override { DestroyNow(); }

    void SetMainWindow(HWND main) { main_ = main; }

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    HWND main_ = nullptr;
};

}  // namespace chw::win32
