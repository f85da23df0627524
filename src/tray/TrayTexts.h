// The tray icon's texts and pictures.
#pragma once

#include "platform/ProductNames.h"

namespace chw {

namespace tray {
inline constexpr const char* kTipOptions = CHW_PRODUCT_TM " - Right Click For Options";
// The first time the program goes to the tray on a PC: a new icon may sit behind the taskbar's ^.
inline constexpr const char* kTrayHint = CHW_PRODUCT " Is Here: Click ^ On The Taskbar If You Do Not See Its Icon.";

// The alarm's state in words, which every tooltip of the icon tells.
inline constexpr const char* kStateNotSet = "Alarm Is Not Set.";
inline constexpr const char* kStateChosen = "Alarm Is Set, But Not Activated.";
inline constexpr const char* kStateArmed = "Alarm Is Set, And Activated.";
inline constexpr const char* kStateRinging = "Alarm Is Ringing!";
// Joins the options tooltip and the state's words.
inline constexpr const char* kTipJoin = " - ";

// Pictures of the tray image list.
inline constexpr int kUnlitBulb = 1;
inline constexpr int kLitBulb = 2;
inline constexpr int kWatch = 3;
}  // namespace tray

}  // namespace chw
