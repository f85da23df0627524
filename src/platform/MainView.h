// The main window as the logic sees it: its controls, menu items, timer, tray icon and the window itself.
#pragma once

#include "platform/Controls.h"
#include "platform/Types.h"
#include "platform/WindowSystem.h"

namespace chw {

enum class MainCtl {
    Form,  // the window's caption
    MonthView,
    Label1,
    lblDate,
    Label2,
    txtTime,
    cmdSet,
    cmdReset,
    StatusBar1,  // its first panel
    StatusBar1Panel2,  // its second panel: names a sound the program itself plays
    // Settings menu
    mnuSettings,
    mnuStartInSystemTray,
    mnuLoadWinAmpOnStart,
    mnuKeepAwake,
    mnuMinimizeToTray,
    mnuRepeat,  // the pop-up of the four rules below, one checked
    mnuRepeatOnce,
    mnuRepeatEveryDay,
    mnuRepeatWeekdays,
    mnuRepeatEveryWeek,
    mnuRingAgain,  // ten minutes more, while the alarm rings
    mnuExitApp,
    mnuConfigureWinAmp,
    // Help menu
    mnuHelp,
    mnuContents,
    mnuUpdate,
    mnuAbout,
    // the tray's pop-up menu
    mnuOptions,
    mnuShowApp,
    mnuConfigure,
    mnuStartWinAmp,
    mnuCloseWinAmp,
    mnuSetAlarm,
    mnuPopUpRingAgain,
    mnuPopUpHelp,
    mnuExit,
};

class IMainView : public virtual IForm<MainCtl> {
public:
    virtual ITimer& MyTimer() = 0;
    virtual ITrayIcon& SysTray() = 0;

    virtual WindowHandle Handle() const = 0;
    virtual void Show() = 0;                       // shown, not modal
    virtual void Hide() = 0;
    virtual void ShowState(ShowCommand command) = 0;  // shows the main window in that state
    virtual void Activate() = 0;                   // give the window the focus
    virtual void Repaint() = 0;                    // repaint now, even inside a long handler
    virtual void SetBusyPointer(bool busy) = 0;    // hourglass over the window
    virtual void Flash(bool on) = 0;               // caption and taskbar button flash from on to off
    // How screen readers speak the status line's next texts: at once, interrupting, or when free.
    virtual void SetStatusUrgent(bool urgent) = 0;

    // The time box's read-only flag.
    virtual bool Locked() const = 0;
    virtual void SetLocked(bool locked) = 0;

    // Shows this date in the calendar (the day is clamped to the month).
    virtual void SetCalendarDate(const Date& day) = 0;

    // Pops the tray menu up at the mouse pointer (the window is brought to the foreground first).
    virtual void PopUpOptionsMenu() = 0;

    // The program's own help window showing this document, one at a time: a window already open is
    // brought forward. False when the document cannot be shown.
    virtual bool ShowHelpWindow(const std::string& documentPath) = 0;
};

}  // namespace chw
