// A control's window procedure taken over the classic way, with the control's own procedure called for
// whatever the handler leaves. SetWindowSubclass would look its data up among the control's properties
// on every message, and the time box gets several messages each second.
#pragma once

#include <windows.h>

namespace chw::win32 {

class ControlHook {
public:
    using Handler = LRESULT (*)(const ControlHook& hook, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    ControlHook(void* owner, Handler handler) : owner_(owner), handler_(handler) {}
    ControlHook(const ControlHook&) = delete;
    ControlHook& operator=(const ControlHook&) = delete;
    ~ControlHook() { Release(); }

    void Attach(HWND control) {
        Release();
        if (!control) return;
        control_ = control;
        ::SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        original_ = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlHook::Proc)));
    }

    template <class T>
    T* Owner() const { return static_cast<T*>(owner_); }

    // The control's own handling of a message.
    LRESULT CallOriginal(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) const {
        return original_ ? ::CallWindowProcW(original_, hwnd, message, wParam, lParam)
                         : ::DefWindowProcW(hwnd, message, wParam, lParam);
    }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
        auto* hook = reinterpret_cast<ControlHook*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (!hook) return ::DefWindowProcW(hwnd, message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            const WNDPROC original = hook->original_;
            hook->Release();
            return original ? ::CallWindowProcW(original, hwnd, message, wParam, lParam)
                            : ::DefWindowProcW(hwnd, message, wParam, lParam);
        }
        try {
            return hook->handler_(*hook, hwnd, message, wParam, lParam);
        } catch (...) {
            return hook->CallOriginal(hwnd, message, wParam, lParam);
        }
    }

    // Gives the control its own procedure back.
    void Release() {
        if (control_ && original_ && ::IsWindow(control_)) {
            ::SetWindowLongPtrW(control_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
            ::SetWindowLongPtrW(control_, GWLP_USERDATA, 0);
        }
        control_ = nullptr;
        original_ = nullptr;
    }

    void* owner_;
    Handler handler_;
    HWND control_ = nullptr;
    WNDPROC original_ = nullptr;
};

}  // namespace chw::win32
