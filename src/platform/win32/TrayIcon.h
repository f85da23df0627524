// The notification-area icon: present while shown, removed when hidden or destroyed, and put back when
// Explorer restarts.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <optional>
#include <string>

#include "Win32Util.h"
#include "platform/Controls.h"

namespace chw::win32 {

class TrayIcon : public ITrayIcon {
public:
    static constexpr UINT kCallbackMessage = WM_APP + 1;
    // The owner's timer that tries again to add an icon the shell refused.
    static constexpr UINT_PTR kRetryTimerId = 3;
    using NotifyFn = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAW);

    // `notify` reaches the shell (Shell_NotifyIconW unless told otherwise).
    TrayIcon(HINSTANCE instance, HWND owner, NotifyFn notify = &::Shell_NotifyIconW);
    ~TrayIcon() override { Remove(); }

    bool Shown() const override { return shown_; }
    void SetShown(bool shown) override;
    void SetToolTip(const std::string& text) override;
    void SetIconNumber(int number) override;
    void ShowBalloon(const std::string& title, const std::string& text, BalloonKind kind) override;

    // The pictures again at today's small-icon size (the scale changed); a shown icon takes them.
    void ReloadIcons();
    // The shell restarted ("TaskbarCreated"): our icon is gone from it.
    void OnTaskbarCreated();
    // Which mouse button a callback message stands for: 1 left, 2 right, 0 none of interest.
    int ButtonOf(LPARAM lParam) const;
    // Where the shell places the icon's menu for a callback message (the icon, when the keyboard asked
    // for it); nothing when the message says no place.
    std::optional<POINT> AnchorOf(WPARAM wParam, LPARAM lParam) const;
    // Removes the icon without changing what Shown reports (the program is ending).
    void Remove();
    // The owner's WM_TIMER; true when it was the retry timer's.
    bool OnTimer(UINT_PTR id);
    // How long to wait before the next try, by the time since the shell first refused: each second
    // for the first minute (the shell is often just starting), then each minute.
    static UINT RetryDelayMs(ULONGLONG sinceFirstRefusalMs);

private:
    NOTIFYICONDATAW Data(UINT flags) const;
    void Modify(UINT flags);
    bool Add();
    void ScheduleRetry();
    void StopRetry();
    HICON CurrentIcon() const;

    HINSTANCE instance_;
    HWND owner_;
    NotifyFn notify_;
    std::optional<ULONGLONG> refusedSince_;  // while the shell refuses the icon
    UINT retryDelay_ = 0;
    bool shown_ = false;
    bool added_ = false;
    bool version4_ = false;
    std::string toolTip_;
    int iconNumber_ = 1;
    UniqueIcon icons_[3];
};

}  // namespace chw::win32
