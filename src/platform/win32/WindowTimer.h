// A window timer with the classic Enabled/Interval pair: it runs only while enabled with an interval above 0.
#pragma once

#include <windows.h>

#include "platform/Controls.h"

namespace chw::win32 {

class WindowTimer : public ITimer {
public:
    WindowTimer(UINT_PTR id, bool enabled, int interval) : id_(id), enabled_(enabled), interval_(interval) {}
    WindowTimer(const WindowTimer&) = delete;
    WindowTimer& operator=(const WindowTimer&) = delete;
    ~WindowTimer() override { Stop(); }

    // The window that receives WM_TIMER; the timer starts now if it is due to run.
    void Attach(HWND hwnd) {
        hwnd_ = hwnd;
        Apply();
    }
    void Detach() {
        Stop();
        hwnd_ = nullptr;
    }
    UINT_PTR Id() const { return id_; }

    bool Enabled() const override { return enabled_; }
    void SetEnabled(bool enabled) override {
        if (enabled == enabled_) return;
        enabled_ = enabled;
        Apply();
    }
    int Interval() const override { return interval_; }
    void SetInterval(int milliseconds) override {
        interval_ = milliseconds < 0 ? 0 : milliseconds;
        Apply();  // a new interval counts from now
    }

private:
    void Apply() {
        if (!hwnd_) return;
        if (enabled_ && interval_ > 0) {
            running_ = ::SetTimer(hwnd_, id_, static_cast<UINT>(interval_), nullptr) != 0;
        } else {
            Stop();
        }
    }
    void Stop() {
        if (running_ && hwnd_) ::KillTimer(hwnd_, id_);
        running_ = false;
    }

    HWND hwnd_ = nullptr;
    UINT_PTR id_;
    bool enabled_;
    int interval_;
    bool running_ = false;
};

}  // namespace chw::win32
