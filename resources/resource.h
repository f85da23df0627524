// Resource, command and control ids of CHWLU.EXE, shared by the resource script and the code.
// Other programs reach the controls and commands by these ids (GetDlgItem, WM_COMMAND): keep them stable.
#pragma once

// Icons: the program's own first, so that Explorer shows it.
#define IDI_CHIMEWELL 1
#define IDI_TRAY1 11
#define IDI_TRAY2 12
#define IDI_TRAY3 13

// Button skins.
#define IDB_SKIN_UP 21
#define IDB_SKIN_OVER 22
#define IDB_SKIN_DOWN 23

// Menus and accelerators.
#define IDR_MAINMENU 101
#define IDR_TRAYMENU 102
#define IDR_ACCELERATORS 103

// Controls of the main window.
#define IDC_MONTHVIEW 1001
#define IDC_LABEL1 1002
#define IDC_LBLDATE 1003
#define IDC_LABEL2 1004
#define IDC_TXTTIME 1005
#define IDC_CMDSET 1006
#define IDC_CMDRESET 1007
#define IDC_STATUSBAR1 1008
#define IDC_TOOLTIPS 1009
#define IDC_MONTHVIEW_NAME 1010

// Controls of the start-up window.
#define IDC_INTRO_LABEL1 1101
#define IDC_INTRO_LABEL2 1102
#define IDC_INTRO_LABEL3 1103
#define IDC_INTRO_LABEL4 1104
#define IDC_INTRO_PROGRESSBAR1 1105

// Menu commands of the main window's menu bar.
#define IDM_STARTINSYSTEMTRAY 2001
#define IDM_LOADWINAMPONSTART 2002
#define IDM_MINIMIZETOTRAY 2003
#define IDM_EXITAPP 2004
#define IDM_CONFIGUREWINAMP 2005
#define IDM_KEEPAWAKE 2006
#define IDM_RINGAGAIN 2007
#define IDM_REPEATONCE 2031
#define IDM_REPEATEVERYDAY 2032
#define IDM_REPEATWEEKDAYS 2033
#define IDM_REPEATEVERYWEEK 2034
#define IDM_CONTENTS 2011
#define IDM_UPDATE 2012
#define IDM_ABOUT 2013

// Menu commands of the tray's pop-up menu.
#define IDM_SHOWAPP 2021
#define IDM_CONFIGURE 2022
#define IDM_STARTWINAMP 2023
#define IDM_CLOSEWINAMP 2024
#define IDM_SETALARM 2025
#define IDM_POPUPHELP 2026
#define IDM_EXIT 2027
#define IDM_POPUPRINGAGAIN 2028
