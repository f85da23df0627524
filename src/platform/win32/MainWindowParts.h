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
    MainCtl popUp;  // the pop-up that holds it: a disabled pop-up's items cannot be chosen either
    void (frmMain::*handler)();  // none yet: the item shows but does nothing
};

using M = MainCtl;
inline const CommandDef kCommands[] = {
    {IDM_STARTINSYSTEMTRAY, M::mnuStartInSystemTray, M::mnuSettings, &frmMain::mnuStartInSystemTray_Click},
    {IDM_LOADWINAMPONSTART, M::mnuLoadWinAmpOnStart, M::mnuSettings, &frmMain::mnuLoadWinAmpOnStart_Click},
    {IDM_KEEPAWAKE, M::mnuKeepAwake, M::mnuSettings, &frmMain::mnuKeepAwake_Click},
    {IDM_MINIMIZETOTRAY, M::mnuMinimizeToTray, M::mnuSettings, &frmMain::mnuMinimizeToTray_Click},
    {IDM_REPEATONCE, M::mnuRepeatOnce, M::mnuRepeat, &frmMain::mnuRepeatOnce_Click},
    {IDM_REPEATEVERYDAY, M::mnuRepeatEveryDay, M::mnuRepeat, &frmMain::mnuRepeatEveryDay_Click},
    {IDM_REPEATWEEKDAYS, M::mnuRepeatWeekdays, M::mnuRepeat, &frmMain::mnuRepeatWeekdays_Click},
    {IDM_REPEATEVERYWEEK, M::mnuRepeatEveryWeek, M::mnuRepeat, &frmMain::mnuRepeatEveryWeek_Click},
    {IDM_RINGAGAIN, M::mnuRingAgain, M::mnuSettings, &frmMain::mnuRingAgain_Click},
    {IDM_EXITAPP, M::mnuExitApp, M::mnuSettings, &frmMain::mnuExitApp_Click},
    {IDM_CONFIGUREWINAMP, M::mnuConfigureWinAmp, M::mnuSettings, &frmMain::mnuConfigureWinAmp_Click},
    {IDM_CONTENTS, M::mnuContents, M::mnuHelp, &frmMain::mnuContents_Click},
    {IDM_UPDATE, M::mnuUpdate, M::mnuHelp, &frmMain::mnuUpdate_Click},
    {IDM_ABOUT, M::mnuAbout, M::mnuHelp, &frmMain::mnuAbout_Click},
    {IDM_SHOWAPP, M::mnuShowApp, M::mnuOptions, &frmMain::mnuShowApp_Click},
    {IDM_CONFIGURE, M::mnuConfigure, M::mnuOptions, &frmMain::mnuConfigure_Click},
    {IDM_STARTWINAMP, M::mnuStartWinAmp, M::mnuOptions, &frmMain::mnuStartWinAmp_Click},
    {IDM_CLOSEWINAMP, M::mnuCloseWinAmp, M::mnuOptions, &frmMain::mnuCloseWinAmp_Click},
    {IDM_SETALARM, M::mnuSetAlarm, M::mnuOptions, &frmMain::mnuSetAlarm_Click},
    {IDM_POPUPRINGAGAIN, M::mnuPopUpRingAgain, M::mnuOptions, &frmMain::mnuPopUpRingAgain_Click},
    {IDM_POPUPHELP, M::mnuPopUpHelp, M::mnuOptions, &frmMain::mnuPopUpHelp_Click},
    {IDM_EXIT, M::mnuExit, M::mnuOptions, &frmMain::mnuExit_Click},
};

// The handler of the arm button or of Clear, by its id.
inline std::function<void(frmMain&)> ButtonHandler(int id) {
    auto handler = id == IDC_CMDSET ? &frmMain::cmdSet_Click : &frmMain::cmdReset_Click;
    return [handler](frmMain& f) { (f.*handler)(); };
}

// The command whose `field` is `value` (its id or its control), or null.
template <class T>
const CommandDef* FindCommand(T CommandDef::*field, T value) {
    for (const auto& c : kCommands)
        if (c.*field == value) return &c;
    return nullptr;
}

// The status bar's part that shows a control's text, or -1.
inline int StatusPart(MainCtl control) {
    return control == MainCtl::StatusBar1 ? 0 : control == MainCtl::StatusBar1Panel2 ? 1 : -1;
}

// The controls the logic names, by their ids (the status bar's two parts are one control).
struct ControlDef {
    MainCtl control;
    int id;
};
inline constexpr ControlDef kControlIds[] = {
    {M::MonthView, IDC_MONTHVIEW},   {M::Label1, IDC_LABEL1},         {M::lblDate, IDC_LBLDATE},
    {M::Label2, IDC_LABEL2},         {M::txtTime, IDC_TXTTIME},       {M::cmdSet, IDC_CMDSET},
    {M::cmdReset, IDC_CMDRESET},     {M::StatusBar1, IDC_STATUSBAR1}, {M::StatusBar1Panel2, IDC_STATUSBAR1},
};

// Where a menu item lives: its menu, and the item there by command or by position (`by`).
struct MenuPlace {
    HMENU menu = nullptr;
    UINT item = 0;
    UINT by = MF_BYCOMMAND;

    explicit operator bool() const { return menu != nullptr; }
    // The item's state flags, or -1 where it is not there.
    UINT State() const { return ::GetMenuState(menu, item, by); }
    std::wstring Text() const {
        int n = ::GetMenuStringW(menu, item, nullptr, 0, by);
        if (n <= 0) return {};
        std::wstring text(static_cast<size_t>(n) + 1, L'\0');
        n = ::GetMenuStringW(menu, item, text.data(), n + 1, by);
        text.resize(static_cast<size_t>(n > 0 ? n : 0));
        return text;
    }
};


}  // namespace chw::win32::mainwindow
