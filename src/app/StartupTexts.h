// The texts of the start-up and of the main window's load, and the version texts they show.
// Texts are UTF-8; lines of a message box are joined with CR+LF unless said otherwise.
#pragma once

#include <string>

#include "platform/ProductNames.h"
#include "platform/Types.h"

namespace chw::startup {

// The single-instance check: our own application window hides under this title while we look for another.
inline constexpr const char* kUnwantedInstance = "unwanted instance";
inline constexpr const char* kInstanceClasses[] = {"ThunderRTMain", "ThunderRT5Main", "ThunderRT6Main"};

// The splash's progress bar's steps; their pauses are in app/StartupTimings.h.
inline constexpr int kProgressMax = 10;

// The main window's load.
inline constexpr const char* kCloseItem = "&Close";
inline constexpr int kCloseItemPosition = 6;
inline constexpr const char* kWinampActivated = "WinAmp Activated!  Ready.";
inline constexpr const char* kWinampLoadFailed = "Loading WinAmp Has Failed!";
inline constexpr const char* kWinampLoadErrorTitle = "ERROR LOADING WINAMP!";
// A carriage return alone between the lines: that is how this box has always looked.
inline constexpr const char* kWinampLoadErrorText = "WinAmp couldn't be activated!\r" CHW_PRODUCT " will now terminate!";

// The splash's "3.1": major and minor only.
inline std::string SplashVersion(const Version& v) {
    return std::to_string(v.major) + "." + std::to_string(v.minor);
}

// The caption's "3.12": minor and revision run together, as the program has always shown it.
inline std::string VersionText(const Version& v) {
    return SplashVersion(v) + std::to_string(v.revision);
}

}  // namespace chw::startup
