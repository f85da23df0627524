// The program's one user-interface thread: its message loop, DoEvents, and the windows they translate for.
#pragma once

#include <windows.h>

#include <functional>

namespace chw::win32 {

class UiLoop {
public:
    // The main window gets dialog-style keyboard navigation and its accelerators.
    void SetMainWindow(HWND main, HACCEL accelerators) {
        main_ = main;
        accel_ = accelerators;
    }
    HWND MainWindow() const { return main_ && ::IsWindow(main_) ? main_ : nullptr; }

    // Runs until WM_QUIT; returns its exit code.
    int Run();
    // Handles what is pending; when nothing is, waits briefly so that a DoEvents loop does not spin a core.
    void DoEvents();

private:
    void Dispatch(MSG& msg);

    HWND main_ = nullptr;
    HACCEL accel_ = nullptr;
};

}  // namespace chw::win32
