// What the main window's files share: its ids and timers, and the table that ties each menu command
// to its item and its handler.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "app/frmMain.h"
#include "platform/MainView.h"
#include "platform/ProductNames.h"
#include "Twips.h"
#include "resource.h"

namespace chw::win32::mainwindow {

inline constexpr wchar_t kClassName[] = CHW_WIDE(CHW_PRODUCT "Main");
inline constexpr UINT_PTR kTimerId = 1;
inline constexpr UINT_PTR kReactivateTimerId = 2;
inline constexpr UINT kReactivateDelayMs = 300;
inline constexpr UINT kValidateMessage = WM_APP + 2;
inline constexpr UINT kRunWaitingMessage = WM_APP + 3;

// The menu bar's pop-up menus, by position.
inline constexpr int kSettingsPosition = 0;
inline constexpr int kHelpPosition = 1;
// The Repeat pop-up within the Settings menu, by position.
inline constexpr int kRepeatPosition = 4;

struct CommandDef {
    int id;
    MainCtl control;
    void (frmMain::*handler)();  // none yet: the item shows but does nothing
};

inline const CommandDef kCommands[] = {
    {IDM_STARTINSYSTEMTRAY, MainCtl::mnuStartInSystemTray, &frmMain::mnuStartInSystemTray_Click},
    {IDM_LOADWINAMPONSTART, MainCtl::mnuLoadWinAmpOnStart, &frmMain::mnuLoadWinAmpOnStart_Click},
    {IDM_KEEPAWAKE, MainCtl::mnuKeepAwake, &frmMain::mnuKeepAwake_Click},
    {IDM_MINIMIZETOTRAY, MainCtl::mnuMinimizeToTray, &frmMain::mnuMinimizeToTray_Click},
    {IDM_REPEATONCE, MainCtl::mnuRepeatOnce, &frmMain::mnuRepeatOnce_Click},
    {IDM_REPEATEVERYDAY, MainCtl::mnuRepeatEveryDay, &frmMain::mnuRepeatEveryDay_Click},
    {IDM_REPEATWEEKDAYS, MainCtl::mnuRepeatWeekdays, &frmMain::mnuRepeatWeekdays_Click},
    {IDM_REPEATEVERYWEEK, MainCtl::mnuRepeatEveryWeek, &frmMain::mnuRepeatEveryWeek_Click},
    {IDM_RINGAGAIN, MainCtl::mnuRingAgain, &frmMain::mnuRingAgain_Click},
    {IDM_EXITAPP, MainCtl::mnuExitApp, &frmMain::mnuExitApp_Click},
    {IDM_CONFIGUREWINAMP, MainCtl::mnuConfigureWinAmp, &frmMain::mnuConfigureWinAmp_Click},
    {IDM_CONTENTS, MainCtl::mnuContents, &frmMain::mnuContents_Click},
    {IDM_UPDATE, MainCtl::mnuUpdate, &frmMain::mnuUpdate_Click},
    {IDM_ABOUT, MainCtl::mnuAbout, &frmMain::mnuAbout_Click},
    {IDM_SHOWAPP, MainCtl::mnuShowApp, &frmMain::mnuShowApp_Click},
    {IDM_CONFIGURE, MainCtl::mnuConfigure, &frmMain::mnuConfigure_Click},
    {IDM_STARTWINAMP, MainCtl::mnuStartWinAmp, &frmMain::mnuStartWinAmp_Click},
    {IDM_CLOSEWINAMP, MainCtl::mnuCloseWinAmp, &frmMain::mnuCloseWinAmp_Click},
    {IDM_SETALARM, MainCtl::mnuSetAlarm, &frmMain::mnuSetAlarm_Click},
    {IDM_POPUPRINGAGAIN, MainCtl::mnuPopUpRingAgain, &frmMain::mnuPopUpRingAgain_Click},
    {IDM_POPUPHELP, MainCtl::mnuPopUpHelp, &frmMain::mnuPopUpHelp_Click},
    {IDM_EXIT, MainCtl::mnuExit, &frmMain::mnuExit_Click},
};

// The handler of the arm button or of Clear, by its id.
inline std::function<void(frmMain&)> ButtonHandler(int id) {
    auto handler = id == IDC_CMDSET ? &frmMain::cmdSet_Click : &frmMain::cmdReset_Click;
    return [handler](frmMain& f) { (f.*handler)(); };
}

inline const CommandDef* CommandById(int id) {
    for (const auto& c : kCommands)
        if (c.id == id) return &c;
    return nullptr;
}

inline const CommandDef* CommandByControl(MainCtl control) {
    for (const auto& c : kCommands)
        if (c.control == control) return &c;
    return nullptr;
}

// The status bar's part that shows a control's text, or -1.
inline int StatusPart(MainCtl control) {
    return control == MainCtl::StatusBar1 ? 0 : control == MainCtl::StatusBar1Panel2 ? 1 : -1;
}

inline bool InTrayMenu(int id) { return id >= IDM_SHOWAPP && id <= IDM_POPUPRINGAGAIN; }
inline bool IsRepeatItem(int id) { return id >= IDM_REPEATONCE && id <= IDM_REPEATEVERYWEEK; }

inline int ControlId(MainCtl control) {
    switch (control) {
        case MainCtl::MonthView: return IDC_MONTHVIEW;
        case MainCtl::Label1: return IDC_LABEL1;
        case MainCtl::lblDate: return IDC_LBLDATE;
        case MainCtl::Label2: return IDC_LABEL2;
        case MainCtl::txtTime: return IDC_TXTTIME;
        case MainCtl::cmdSet: return IDC_CMDSET;
        case MainCtl::cmdReset: return IDC_CMDRESET;
        case MainCtl::StatusBar1: return IDC_STATUSBAR1;
        default: return 0;
    }
}

inline std::wstring MenuText(HMENU menu, UINT item, UINT byFlag) {
    int n = ::GetMenuStringW(menu, item, nullptr, 0, byFlag);
    if (n <= 0) return {};
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    n = ::GetMenuStringW(menu, item, text.data(), n + 1, byFlag);
    text.resize(static_cast<size_t>(n > 0 ? n : 0));
    return text;
}


}  // namespace chw::win32::mainwindow
