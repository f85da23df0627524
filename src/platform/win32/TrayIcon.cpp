#include "TrayIcon.h"

#include <commctrl.h>

#include <utility>

#include "resource.h"

namespace chw::win32 {

namespace {
constexpr UINT kIconId = 1;

HICON LoadSmallIcon(HINSTANCE instance, int resourceId) {
    HICON icon = nullptr;
    if (SUCCEEDED(::LoadIconMetric(instance, MAKEINTRESOURCEW(resourceId), LIM_SMALL, &icon)) && icon) return icon;
    return static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(resourceId), IMAGE_ICON,
                                           ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON),
                                           LR_DEFAULTCOLOR));
}
}  // namespace

TrayIcon::TrayIcon(HINSTANCE instance, HWND owner, NotifyFn notify)
    : instance_(instance), owner_(owner), notify_(notify) {
    ReloadIcons();
}

void TrayIcon::ReloadIcons() {
    const int ids[3] = {IDI_TRAY1, IDI_TRAY2, IDI_TRAY3};
    UniqueIcon fresh[3];
    for (int i = 0; i < 3; ++i) fresh[i] = UniqueIcon(LoadSmallIcon(instance_, ids[i]));
    // The shell copies the picture it is given: the old ones may go once it has the new one.
    for (int i = 0; i < 3; ++i) std::swap(icons_[i], fresh[i]);
    Modify(NIF_ICON);
}

// A shown icon takes what changed.
void TrayIcon::Modify(UINT flags) {
    if (!added_) return;
    NOTIFYICONDATAW nid = Data(flags);
    notify_(NIM_MODIFY, &nid);
}

NOTIFYICONDATAW TrayIcon::Data(UINT flags) const {
    NOTIFYICONDATAW nid{};
    nid.cbSize = sizeof(nid);
    nid.hWnd = owner_;
    nid.uID = kIconId;
    nid.uFlags = flags;
    nid.uCallbackMessage = kCallbackMessage;
    nid.hIcon = CurrentIcon();
    std::wstring tip = Wide(toolTip_);
    lstrcpynW(nid.szTip, tip.c_str(), ARRAYSIZE(nid.szTip));
    if (flags & NIF_TIP) nid.uFlags |= NIF_SHOWTIP;
    return nid;
}

HICON TrayIcon::CurrentIcon() const {
    int index = iconNumber_ >= 1 && iconNumber_ <= 3 ? iconNumber_ - 1 : 0;
    return icons_[index].get();
}

// A shell that is not ready (at logon, or restarting) refuses the icon: it is tried again until it is
// shown. A shell that answered too late may have added it all the same; then it only takes our data.
bool TrayIcon::Add() {
    NOTIFYICONDATAW nid = Data(NIF_MESSAGE | NIF_ICON | NIF_TIP);
    added_ = notify_(NIM_ADD, &nid) != FALSE || notify_(NIM_MODIFY, &nid) != FALSE;
    if (!added_) {
        ScheduleRetry();
        return false;
    }
    StopRetry();
    // Asked separately: an older shell refuses the version and still shows the icon.
    NOTIFYICONDATAW version = Data(0);
    version.uVersion = NOTIFYICON_VERSION_4;
    version4_ = notify_(NIM_SETVERSION, &version) != FALSE;
    return true;
}

UINT TrayIcon::RetryDelayMs(ULONGLONG sinceFirstRefusalMs) { return sinceFirstRefusalMs < 60000 ? 1000 : 60000; }

void TrayIcon::ScheduleRetry() {
    const ULONGLONG now = ::GetTickCount64();
    if (!refusedSince_) refusedSince_ = now;
    const UINT delay = RetryDelayMs(now - *refusedSince_);
    if (delay != retryDelay_ && ::SetTimer(owner_, kRetryTimerId, delay, nullptr)) retryDelay_ = delay;
}

void TrayIcon::StopRetry() {
    if (retryDelay_) ::KillTimer(owner_, kRetryTimerId);
    refusedSince_.reset();
    retryDelay_ = 0;
}

bool TrayIcon::OnTimer(UINT_PTR id) {
    if (id != kRetryTimerId) return false;
    if (shown_ && !added_)
        Add();
    else
        StopRetry();
    return true;
}

void TrayIcon::Remove() {
    StopRetry();
    if (!added_) return;
    NOTIFYICONDATAW nid = Data(0);
    notify_(NIM_DELETE, &nid);
    added_ = false;
}

void TrayIcon::SetShown(bool shown) {
    shown_ = shown;
    if (shown && !added_) Add();
    if (!shown) Remove();
}

void TrayIcon::SetToolTip(const std::string& text) {
    toolTip_ = text;
    Modify(NIF_TIP);
}

void TrayIcon::SetIconNumber(int number) {
    iconNumber_ = number;
    Modify(NIF_ICON);
}

void TrayIcon::ShowBalloon(const std::string& title, const std::string& text, BalloonKind kind) {
    if (!added_) return;
    NOTIFYICONDATAW nid = Data(NIF_INFO);
    lstrcpynW(nid.szInfoTitle, Wide(title).c_str(), ARRAYSIZE(nid.szInfoTitle));
    lstrcpynW(nid.szInfo, Wide(text).c_str(), ARRAYSIZE(nid.szInfo));
    nid.dwInfoFlags = kind == BalloonKind::Info ? NIIF_INFO : NIIF_WARNING;
    notify_(NIM_MODIFY, &nid);
}

std::optional<POINT> TrayIcon::AnchorOf(WPARAM wParam, LPARAM lParam) const {
    if (!version4_ || ButtonOf(lParam) == 0) return std::nullopt;
    return POINT{static_cast<short>(LOWORD(wParam)), static_cast<short>(HIWORD(wParam))};
}

void TrayIcon::OnTaskbarCreated() {
    added_ = false;
    if (shown_) Add();
}

int TrayIcon::ButtonOf(LPARAM lParam) const {
    // Version 4 puts the event in the low word and sends WM_CONTEXTMENU / NIN_SELECT after the button-up;
    // older shells send only the raw mouse messages. With version 4, Enter or Space on the icon (reached
    // with Win+B) opens the menu as Shift+F10 does: the keyboard has no right button, and a left click
    // does nothing.
    const UINT event = version4_ ? LOWORD(lParam) : static_cast<UINT>(lParam);
    if (version4_ ? event == WM_CONTEXTMENU || event == NIN_KEYSELECT : event == WM_RBUTTONUP) return 2;
    return event == (version4_ ? NIN_SELECT : WM_LBUTTONUP) ? 1 : 0;
}

}  // namespace chw::win32
