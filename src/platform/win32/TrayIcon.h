// The notification-area icon: present while shown, removed when hidden or destroyed, and put back when
// Explorer restarts.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string>

#include "Win32Util.h"
#include "platform/Controls.h"

namespace chw::win32 {

class TrayIcon : public ITrayIcon {
public:
    static constexpr UINT kCallbackMessage = WM_APP + 1;

    TrayIcon(HINSTANCE instance, HWND owner);
    ~TrayIcon() override { Remove(); }
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    bool Shown() const override { return shown_; }
    void SetShown(bool shown) override;
    std::string ToolTip() const override { return toolTip_; }
    void SetToolTip(const std::string& text) override;
    int IconNumber() const override { return iconNumber_; }
    void SetIconNumber(int number) override;
    void ShowBalloon(const std::string& title, const std::string& text) override;

    // The shell restarted ("TaskbarCreated"): our icon is gone from it.
    void OnTaskbarCreated();
    // Which mouse button a callback message stands for: 1 left, 2 right, 0 none of interest.
    int ButtonOf(LPARAM lParam) const;
    // Removes the icon without changing what Shown reports (the program is ending).
    void Remove();

private:
    NOTIFYICONDATAW Data(UINT flags) const;
    bool Add();
    HICON CurrentIcon() const;

    HWND owner_;
    bool shown_ = false;
    bool added_ = false;
    bool version4_ = false;
    std::string toolTip_;
    int iconNumber_ = 1;
    UniqueIcon icons_[3];
};

}  // namespace chw::win32
