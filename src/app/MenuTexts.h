// Captions of the main window's menus. Plain macros, so that the resource script that builds the
// menus and the C++ code share this one copy.
#pragma once

#include "platform/ProductNames.h"

#define CHW_MNUSETTINGS "S&ettings"
#define CHW_MNUSTARTINSYSTEMTRAY "&Start In System Tray"
#define CHW_MNULOADWINAMPONSTART "Load &Winamp On Start"
#define CHW_MNUKEEPAWAKE "Keep PC &Awake While Armed"
#define CHW_MNUMINIMIZETOTRAY "&Minimize To System Tray"
#define CHW_MNUREPEAT "&Repeat"
#define CHW_MNUREPEATONCE "&Once"
#define CHW_MNUREPEATEVERYDAY "Every &Day"
#define CHW_MNUREPEATWEEKDAYS "&Weekdays (Monday To Friday)"
#define CHW_MNUREPEATEVERYWEEK "Every &Week (Same Day)"
#define CHW_MNURINGAGAIN "Ring Again In &10 Minutes"
#define CHW_MNUEXITAPP "E&xit"
#define CHW_MNUCONFIGUREWINAMP "&Configure WinAmp. . ."
#define CHW_MNUHELP "&Help"
#define CHW_MNUCONTENTS "&Contents"
#define CHW_MNUUPDATE "Check For An &Update"
#define CHW_MNUABOUT "&About"
#define CHW_MNUOPTIONS "Options"
#define CHW_MNUSHOWAPP "&Show " CHW_PRODUCT
#define CHW_MNUCONFIGURE "&Configure WinAmp"
#define CHW_MNUSTARTWINAMP "Start &WinAmp"
#define CHW_MNUCLOSEWINAMP "Clos&e WinAmp"
#define CHW_MNUSETALARM "Se&t Alarm"
#define CHW_MNUPOPUPHELP "&Help"
#define CHW_MNUEXIT "E&xit"
