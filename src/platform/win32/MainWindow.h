// The main window: its controls, menus, timer and tray icon, with every event handed to frmMain.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <memory>
#include <set>
#include <string>

#include "Accessible.h"
#include "ControlHook.h"
#include "HelpWindow.h"
#include "SkinButton.h"
#include "TrayIcon.h"
#include "UiLoop.h"
#include "WindowBase.h"
#include "WindowTimer.h"
#include "app/FocusPolicy.h"
#include "app/HandlerQueue.h"
#include "platform/MainView.h"

namespace chw {
class frmMain;
}

namespace chw::win32 {

namespace mainwindow {
struct MenuPlace;
}

class MainWindow : public WindowBase, public IMainView, private HandlerQueue::Host {
public:
    // Created hidden, with every control as designed, laid out for `dpi` (0: the DPI of its monitor).
    MainWindow(HINSTANCE instance, UiLoop& loop, int dpi = 0);
    ~MainWindow() override;

    // The logic that receives the events; none are delivered before this.
    void Attach(frmMain* logic) { logic_ = logic; }
    HACCEL Accelerators() const { return accel_; }
    TrayIcon& Tray() { return *tray_; }

    // IForm
    std::string Caption(MainCtl control) const override;
    void SetCaption(MainCtl control, const std::string& text) override;
    bool Enabled(MainCtl control) const override;
    void SetEnabled(MainCtl control, bool enabled) override;
    bool Checked(MainCtl control) const override;
    void SetChecked(MainCtl control, bool checked) override;
    void SetToolTip(MainCtl control, const std::string& text) override;
    void SetFocus(MainCtl control) override;

    // IMainView
    ITimer& MyTimer() override { return timer_; }
    ITrayIcon& SysTray() override { return *tray_; }
    WindowHandle Handle() const override { return HandleOf(hwnd()); }
    void Show() override { ShowAs(::IsIconic(hwnd()) ? SW_RESTORE : SW_SHOW); }
    void Hide() override { ShowAs(SW_HIDE); }
    void ShowState(ShowCommand command) override { ShowAs(ShowWindowCommand(command)); }
    void Activate() override;
    void Repaint() override { RedrawAll(RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW); }
    void SetBusyPointer(bool busy) override;
    void Flash(bool on) override;
    void SetStatusUrgent(bool urgent) override;
    bool Locked() const override;
    void SetLocked(bool locked) override;
    void SetCalendarDate(const Date& day) override;
    Date CalendarDate() const;
    void PopUpOptionsMenu() override;
    bool ShowHelpWindow(const std::string& documentPath) override;

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void CreateControls(HINSTANCE instance);
    void ApplyDpi();
    void Arrange();
    void SetStatusParts();
    Liveness liveness_ = Liveness::Polite;  // the status line's: it is a live region
    std::wstring secondText_;  // what the second part shows; it is there only while this is not empty
    HWND Control(MainCtl control) const;
    HWND Item(int id) const;

    // Events, one member per message.
    LRESULT OnDrawItem(WPARAM wParam, LPARAM lParam);
    LRESULT OnSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnDpiChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnSystemColours(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnCtlColorStatic(WPARAM wParam, LPARAM lParam);
    LRESULT OnTimer(WPARAM wParam, LPARAM lParam);
    LRESULT OnTrayCallback(WPARAM wParam, LPARAM lParam);
    LRESULT OnActivate(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetFocus();
    LRESULT OnSetCursor(WPARAM wParam, LPARAM lParam);
    LRESULT OnQueryEndSession(LPARAM lParam);
    LRESULT OnDestroy();
    void OnCommand(int id, int code, HWND control);
    void OnMenuCommand(int id);
    LRESULT OnNotify(const NMHDR& header);
    // A close request: the questions (from the queue), then the window goes unless the user kept it.
    bool KeptOpen(int unloadMode);
    void CloseRequest(int unloadMode);
    // An event's handler, handed to the queue that decides when it runs.
    using LogicHandler = std::function<void(frmMain&)>;
    HandlerQueue::Handler Bound(LogicHandler handler);
    void Post(LogicHandler handler, HandlerQueue::Kind kind = HandlerQueue::Kind::Event);
    // A control's click, which waits while the time box's time is being validated.
    void ClickFrom(LogicHandler handler, HWND from);
    // HandlerQueue::Host
    bool Pausing() const override { return loop_.Pausing(); }
    bool InSentMessage() const override { return ::InSendMessage(); }
    void Wake() override;
    void Settled() override;
    void CalendarClick();
    // The time box's validation, at its posted turn.
    void RunValidation();
    void StartTyping();
    void FinishTyping();

    static LRESULT TimeBoxProc(const ControlHook& hook, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CalendarProc(const ControlHook& hook, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    // Menus.
    bool MenuItemEnabled(int id) const;
    void MarkRadioItems();
    mainwindow::MenuPlace MenuHolding(MainCtl control) const;
    void RedrawMenuBar(HMENU changed) const;

    UiLoop& loop_;
    frmMain* logic_ = nullptr;
    int dpi_;
    UniqueFont formFont_, comicFont_;
    std::unique_ptr<SkinButtons> skins_;
    std::unique_ptr<TrayIcon> tray_;
    std::unique_ptr<HelpWindow> help_;  // made the first time help is shown here
    HINSTANCE instance_ = nullptr;
    WindowTimer timer_;
    UniqueMenu trayMenu_;
    UniqueMenu neverShown_;  // holds the items that no menu shows, for their captions and states
    std::optional<POINT> menuAnchor_;  // where the shell asked for the tray's menu
    HACCEL accel_ = nullptr;  // a resource: freed with the module
    UniqueWindow toolTips_;
    UINT taskbarCreated_ = 0;
    std::set<MainCtl> tipped_;  // the controls given a tip so far
    mutable std::map<int, HWND> items_;  // the controls by id, as each was first looked up

    bool busy_ = false;
    FocusPolicy focus_;
    HandlerQueue queue_{*this};
    ControlHook timeBoxHook_{this, &MainWindow::TimeBoxProc};
    ControlHook calendarHook_{this, &MainWindow::CalendarProc};
};

}  // namespace chw::win32
