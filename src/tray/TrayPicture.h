// Which tooltip and picture the tray icon shows when the window goes to the tray.
#pragma once

#include <string>

#include "platform/ProductNames.h"

namespace chw {

namespace tray {
inline constexpr const char* kTipNotActivated = CHW_PRODUCT_TM " - Alarm Is Set, But Not Activated.";
inline constexpr const char* kTipOptions = CHW_PRODUCT_TM " - Right Click For Options";
inline constexpr const char* kTipActivated = CHW_PRODUCT_TM " - Alarm Is Set, And Activated.";
inline constexpr const char* kInTray = "In Tray";
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

// What the choice looks at: the window's state at the moment it goes to the tray.
struct TrayPictureInput {
    std::string setCaption;   // caption of cmdSet
    bool setEnabled = true;   // cmdSet enabled
    bool resetEnabled = true; // cmdReset enabled
    std::string alarmTime;
    std::string alarmDate;
    std::string armedMark;
    std::string statusText;
    int currentIcon = tray::kUnlitBulb;  // kept when no rule picks another
};

struct TrayPicture {
    std::string toolTip;
    int iconNumber = tray::kUnlitBulb;
    friend bool operator==(const TrayPicture&, const TrayPicture&) = default;
};

TrayPicture ChooseTrayPicture(const TrayPictureInput& in);
// One of the tray::kState texts.
std::string TrayStateWords(const TrayPictureInput& in);

}  // namespace chw
