// The boxes that explain a missing player. Both the start-up check and arming show the same five,
// so they live here once.
#pragma once

#include <array>
#include <string>

#include "platform/MessageBoxes.h"
#include "platform/ProductNames.h"
#include "winamp/PlayerLocation.h"

namespace chw::winamp {

// The question before the player is closed, from the tray menu and at exit alike.
inline constexpr const char* kCloseWinAmpTitle = "Close WinAmp?";

struct MissingPlayerBox {
    const char* title;
    const char* text;
    MbIcon icon;
    const char* tail = "";  // after the folders looked in, for the box that names them
};

#define CHW_CRLF "\r\n"
inline constexpr std::array<MissingPlayerBox, 5> kMissingPlayerBoxes{{
    {"WinAmp Is Not Installed!",
     "This program requires Nullsoft WinAmp!" CHW_CRLF "Please download it from:" CHW_CRLF
     "http://www.winamp.com/download/",
     MbIcon::Critical},
    {CHW_PRODUCT_TM_SIGN,
     "If WinAmp is in fact installed on your machine," CHW_CRLF "it must be the Default Media Player," CHW_CRLF
     "In Order For " CHW_PRODUCT_TM_SIGN " To Detect It!",
     MbIcon::Information},
    {"Making WinAmp The Default Media Player",
     "To make WinAmp your default Media Player:" CHW_CRLF CHW_CRLF "1. Start WinAmp" CHW_CRLF
     "2. Open The Preferences" CHW_CRLF "3. Under The Setup Option, Click On 'File Types'" CHW_CRLF
     "4. Ensure That The Option 'Register On WinAmp Start' is checked" CHW_CRLF "5. Then, Click 'Agent'" CHW_CRLF
     "6. Ensure that 'Maintain File Associations' is Checked" CHW_CRLF
     "7. Finally, Ensure that 'Enable Agent' Is Checked",
     MbIcon::Information},
    {"Make Necessary Changes",
     "Please rename the folder, if necessary to reflect where the application is looking!" CHW_CRLF CHW_CRLF
     "The application looks in: ",
     MbIcon::Information, " for the Winamp Application"},
    {"ERROR!", "WinAmp Detection Failure!", MbIcon::Critical},
}};
#undef CHW_CRLF

// Shows the five boxes one after the other, each with OK only; the fourth names every folder looked in.
inline void ShowMissingPlayerBoxes(IMessageBoxes& boxes, IFileSystem& files) {
    for (const auto& b : kMissingPlayerBoxes) {
        const std::string text = *b.tail ? b.text + LooksInText(files) + b.tail : std::string(b.text);
        boxes.Show(text, b.title, b.icon, MbButtons::Ok);
    }
}

}  // namespace chw::winamp
