// The texts of the start-up and of the main window's load, and the version texts they show.
// Texts are UTF-8; lines of a message box are joined with CR+LF unless said otherwise.
#pragma once

#include <string>

#include "platform/MessageBoxes.h"
#include "platform/Types.h"

namespace chw::startup {

// The single-instance check: our own application window hides under this title while we look for another.
inline constexpr const char* kUnwantedInstance = "unwanted instance";
inline constexpr const char* kInstanceClasses[] = {"ThunderRTMain", "ThunderRT5Main", "ThunderRT6Main"};

// The splash's progress bar: eight quick steps, then two slow ones (about 3.4 s in all).
inline constexpr int kProgressMax = 10;
inline constexpr int kFastTickMs = 100;
inline constexpr int kSlowTickMs = 1300;
inline constexpr int kHandOverPauseMs = 1000;

// Shown one after the other when the player is not where we look for it.
struct BoxText {
    const char* title;
    const char* text;
    MbIcon icon;
};

inline constexpr BoxText kWinampMissingBoxes[] = {
    {"WinAmp Is Not Installed!",
     "This program requires Nullsoft WinAmp!\r\n"
     "Please download it from:\r\n"
     "http://www.winamp.com",
     MbIcon::Critical},
    {"Chimewell\u2122",
     "If WinAmp is in fact installed on your machine,\r\n"
     "it must be the Default Media Player,\r\n"
     "In Order For Chimewell\u2122 To Detect It!",
     MbIcon::Information},
    {"Making WinAmp The Default Media Player",
     "To make WinAmp your default Media Player:\r\n"
     "\r\n"
     "1. Start WinAmp\r\n"
     "2. Open The Preferences\r\n"
     "3. Under The Setup Option, Click On 'File Types'\r\n"
     "4. Ensure That The Option 'Register On WinAmp Start' is checked\r\n"
     "5. Then, Click 'Agent'\r\n"
     "6. Ensure that 'Maintain File Associations' is Checked\r\n"
     "7. Finally, Ensure that 'Enable Agent' Is Checked",
     MbIcon::Information},
    {"Make Necessary Changes",
     "Please rename the folder, if necessary to reflect where the application is looking!\r\n"
     "\r\n"
     "The application looks in: 'C:\\Program Files\\Winamp' for the Winamp Application",
     MbIcon::Information},
    {"ERROR!", "WinAmp Detection Failure!", MbIcon::Critical},
};

// The main window's load.
inline constexpr const char* kRestoredPrefix = "Alarm Settings: OFF  Date: ";
inline constexpr const char* kRestoredTime = " Time: ";
inline constexpr const char* kRestoredTail = " ALARM IS SET.";
inline constexpr const char* kInTray = "In Tray";
inline constexpr const char* kCloseItem = "&Close";
inline constexpr int kCloseItemPosition = 6;
inline constexpr const char* kWinampActivated = "WinAmp Activated!  Ready.";
inline constexpr const char* kWinampLoadFailed = "Loading WinAmp Has Failed!";
inline constexpr int kWinampFailedPauseMs = 2000;
inline constexpr const char* kWinampLoadErrorTitle = "ERROR LOADING WINAMP!";
// A carriage return alone between the lines: that is how this box has always looked.
inline constexpr const char* kWinampLoadErrorText = "WinAmp couldn't be activated!\rChimewell will now terminate!";
inline constexpr int kDatePauseMs = 1000;

// The splash's "3.1": major and minor only.
inline std::string SplashVersion(const Version& v) {
    return std::to_string(v.major) + "." + std::to_string(v.minor);
}

// The caption's "3.12": minor and revision run together, as the program has always shown it.
inline std::string VersionText(const Version& v) {
    return std::to_string(v.major) + "." + std::to_string(v.minor) + std::to_string(v.revision);
}

inline std::string RestoredAlarmSummary(const std::string& date, const std::string& time) {
    return kRestoredPrefix + date + kRestoredTime + time + kRestoredTail;
}

}  // namespace chw::startup
