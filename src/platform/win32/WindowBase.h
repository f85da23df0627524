// The smallest window class: the static procedure keeps `this` from WM_NCCREATE on and forwards every
// message to one member function, which no exception may leave.
#pragma once

#include <windows.h>

#include "Win32Util.h"

namespace chw::win32 {

class WindowBase {
public:
    // A derived window that needs its WM_DESTROY handled destroys itself (DestroyNow) in its own
    // destructor; from here on the window only gets the default handling.
    virtual ~WindowBase() {
        if (hwnd_) ::SetWindowLongPtrW(hwnd_.get(), GWLP_USERDATA, 0);
    }

    HWND hwnd() const { return hwnd_.get(); }

protected:
    // Registers the class once per process; the class's procedure is WindowBase's.
    static void RegisterClassOnce(HINSTANCE instance, const wchar_t* className, HICON icon, HBRUSH background) {
        WNDCLASSEXW wc{};
        if (::GetClassInfoExW(instance, className, &wc)) return;
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &WindowBase::StaticProc;
        wc.hInstance = instance;
        wc.hIcon = icon;
        wc.hIconSm = icon;
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = background;
        wc.lpszClassName = className;
        ::RegisterClassExW(&wc);
    }

    HWND CreateWin(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x, int y, int w,
                   int h, HWND parent, HMENU menu, HINSTANCE instance) {
        ::CreateWindowExW(exStyle, className, title, style, x, y, w, h, parent, menu, instance, this);
        return hwnd_.get();
    }

    // Shows or hides the window as ShowWindow's command says, once it exists.
    void ShowAs(int command) {
        if (hwnd_) ::ShowWindow(hwnd_.get(), command);
    }
    // Redraws the whole window as RedrawWindow's flags say, once it exists (a null window would be the desktop).
    void RedrawAll(UINT flags) {
        if (hwnd_) ::RedrawWindow(hwnd_.get(), nullptr, nullptr, flags);
    }

    // The window's own handling; return DefWindowProc's result for what it does not handle.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) {
        return ::DefWindowProcW(hwnd_.get(), message, wParam, lParam);
    }

    // Destroys the window now (the object stays; its handle becomes null).
    void DestroyNow() { hwnd_.reset(); }

private:
    static LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
        WindowBase* self = nullptr;
        if (message == WM_NCCREATE) {
            self = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
            self->hwnd_.reset();
            self->hwnd_ = UniqueWindow(hwnd);
        } else {
            self = reinterpret_cast<WindowBase*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        }
        if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->hwnd_.release();
            return ::DefWindowProcW(hwnd, message, wParam, lParam);
        }
        try {
            return self->OnMessage(message, wParam, lParam);
        } catch (...) {
            return ::DefWindowProcW(hwnd, message, wParam, lParam);
        }
    }

    UniqueWindow hwnd_;  // owned: no window object is ever copied
};

}  // namespace chw::win32
