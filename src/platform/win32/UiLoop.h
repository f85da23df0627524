// The program's one user-interface thread: its message loop, DoEvents, the designed pauses, and the
// windows they translate for.
#pragma once

#include <windows.h>

namespace chw::win32 {

class UiLoop {
public:
    // The main window gets dialog-style keyboard navigation and its accelerators.
    void SetMainWindow(HWND main, HACCEL accelerators) {
        main_ = main;
        accel_ = accelerators;
    }
    HWND MainWindow() const { return main_ && ::IsWindow(main_) ? main_ : nullptr; }
    // The tooltip control of the main window, shown the mouse's moves over the window's controls. (A
    // tool subclassed by the tooltip would instead pay for the lookup of its subclass on every message,
    // the time box's few each second included.)
    void SetToolTips(HWND toolTips) { toolTips_ = toolTips; }
    // The help window, while open, gets dialog-style keys (Tab, Esc for its Close button).
    void SetHelpWindow(HWND help) { help_ = help; }

    // Runs until WM_QUIT; returns its exit code.
    int Run();
    // Handles what is pending; when nothing is, waits briefly so that a DoEvents loop does not spin a core.
    void DoEvents();
    // A designed pause: no posted message, timer or input is handled until it ends, but windows are
    // repainted and messages sent to the thread are answered, so the system never finds it hung.
    void Pause(int milliseconds);
    // True inside Pause: whatever a sent message would start must wait until the pause ends.
    bool Pausing() const { return pausing_ > 0; }

    // Whether this key message belongs to a text box being edited rather than to the accelerators:
    // the edit keys (Ctrl+A, X, C, V, Z) while an editable box of the window has the focus.
    static bool IsEditKey(const MSG& msg, HWND focus);

private:
    void Dispatch(MSG& msg);

    HWND main_ = nullptr;
    HACCEL accel_ = nullptr;
    HWND toolTips_ = nullptr;
    HWND help_ = nullptr;
    int pausing_ = 0;
};

}  // namespace chw::win32
