// A window timer with the classic Enabled/Interval pair: it runs only while enabled with an interval above 0.
#pragma once

#include <windows.h>

#include "Win32Util.h"
#include "platform/Controls.h"

namespace chw::win32 {

class WindowTimer : public ITimer {
public:
    // OnTheSecond: ticks come just after the wall clock's second changes, not at whatever phase the
    // timer happened to start with, so a minute is seen within milliseconds of its beginning.
    enum class Phase { Free, OnTheSecond };
    static constexpr int kAfterSecondMs = 20;   // past the boundary, so the clock surely shows the new second
    static constexpr int kTooEarlyMs = 150;     // a tick this close before a boundary waits for it
    static constexpr int kLateMs = 60;          // a tick this far past the margin is brought back to it

    WindowTimer(UINT_PTR id, bool enabled, int interval, Phase phase = Phase::Free)
        : id_(id), enabled_(enabled), interval_(interval), phase_(phase) {}
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

    // Called on each WM_TIMER of this timer: tells whether this tick is due (a timer that fires a little
    // before the second changes is held until just after), and sets the timer again only where its
    // phase needs it, so a timer that keeps to the second is left alone.
    bool OnTick() {
        if (!running_ || phase_ == Phase::Free) return true;
        const TickPlan plan = PlanTick(WallMsIntoSecond(), period_, interval_);
        if (plan.rearm > 0) Arm(static_cast<UINT>(plan.rearm));
        return plan.due;
    }

    // What a tick on the second does, from how far into the wall-clock second it came and the period the
    // timer runs with: whether it is due, and the delay to set the timer to (0: leave it as it is).
    struct TickPlan {
        bool due;
        int rearm;
    };
    static TickPlan PlanTick(int msIntoSecond, int period, int interval) {
        if (msIntoSecond >= 1000 - kTooEarlyMs) return {false, 1000 - msIntoSecond + kAfterSecondMs};
        // On time: from now on every interval, unless it already runs so.
        if (interval % 1000 == 0 && msIntoSecond <= kAfterSecondMs + kLateMs)
            return {true, period == interval ? 0 : interval};
        return {true, DelayToNextTick(interval, msIntoSecond)};
    }

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
    // Milliseconds before the next tick of a timer on the second: the interval less the part of the
    // current second already gone, plus the margin.
    static int DelayToNextTick(int interval, int msIntoSecond) {
        int delay = interval - msIntoSecond + kAfterSecondMs;
        return delay < USER_TIMER_MINIMUM ? USER_TIMER_MINIMUM : delay;
    }
    void Apply() {
        if (!hwnd_) return;
        if (enabled_ && interval_ > 0) {
            Arm(static_cast<UINT>(phase_ == Phase::OnTheSecond ? DelayToNextTick(interval_, WallMsIntoSecond())
                                                                : interval_));
        } else {
            Stop();
        }
    }
    void Arm(UINT delay) {
        // The system may otherwise shift a timer by tens of milliseconds to save power.
        static const auto setCoalescable = ProcOf<UINT_PTR(WINAPI*)(HWND, UINT_PTR, UINT, TIMERPROC, ULONG)>(
            ::GetModuleHandleW(L"user32.dll"), "SetCoalescableTimer");
        constexpr ULONG kNoCoalescing = 0xFFFFFFFF;
        if (phase_ == Phase::OnTheSecond && setCoalescable)
            running_ = setCoalescable(hwnd_, id_, delay, nullptr, kNoCoalescing) != 0;
        else
            running_ = ::SetTimer(hwnd_, id_, delay, nullptr) != 0;
        period_ = static_cast<int>(delay);
    }
    static int WallMsIntoSecond() {
        FILETIME ft;
        ::GetSystemTimeAsFileTime(&ft);
        return static_cast<int>((Ticks(ft) / 10000) % 1000);  // zones differ by whole minutes
    }
    void Stop() {
        if (running_ && hwnd_) ::KillTimer(hwnd_, id_);
        running_ = false;
    }

    HWND hwnd_ = nullptr;
    UINT_PTR id_;
    bool enabled_;
    int interval_;
    Phase phase_;
    bool running_ = false;
    int period_ = 0;  // what the system timer runs with now
};

}  // namespace chw::win32
