// The texts the two windows carry before any code runs: captions, labels and tooltips.
#pragma once

#include "platform/ProductNames.h"

namespace chw::texts {

inline constexpr const char* kAppTitle = CHW_PRODUCT_SYSTEM;

// The start-up window.
inline constexpr const char* kIntroLabel1 = CHW_PRODUCT_SYSTEM;
inline constexpr const char* kIntroLabel2 = "Please Wait While The Program Loads. . .";
inline constexpr const char* kIntroLabel3 = "Version ";
inline constexpr const char* kIntroLabel4 = "Windows 98/ME/NT/2K";

// The main window.
inline constexpr const char* kMainCaption = CHW_PRODUCT_SYSTEM " For Windows";
inline constexpr const char* kLabel1 = "Date Selected:";
inline constexpr const char* kLabel2 = "Time: (Click To Edit) [Format: HH:MM]";
inline constexpr const char* kCmdSet = "&Activate";
inline constexpr const char* kCmdReset = "&Clear";

inline constexpr const char* kTipMonthView = "Select Your Alarm Date.";
inline constexpr const char* kTipTxtTime = "Click Here To Edit Time; Leave Off AM/PM.  You'll Be Prompted For It.";
inline constexpr const char* kTipCmdSet = "Click Here To Activate The Alarm.";
inline constexpr const char* kTipCmdReset = "Click Here To Clear The Settings.";
inline constexpr const char* kStatusBar = "Look Here For Important Information";
inline constexpr const char* kTipStatusBar = "Look Here For Important Information";

// What screen readers call the two inputs, which have no caption of their own to name them.
inline constexpr const char* kNameMonthView = "Alarm date";
inline constexpr const char* kNameTxtTime = "Alarm time";

}  // namespace chw::texts
