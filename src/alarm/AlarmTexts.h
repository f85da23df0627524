// Every fixed text that reports the alarm: status line, captions, tooltips and its message boxes.
#pragma once

#include <string>

#include "platform/ProductNames.h"

namespace chw::alarm {

// ---- Status line ----
inline constexpr const char* kPrefixOff = "Alarm Settings: OFF  Date: ";
inline constexpr const char* kPrefixOn = "Alarm Settings: ON  Date: ";
inline constexpr const char* kTimeLabel = " Time: ";
inline constexpr const char* kTailSet = " ALARM IS SET";
inline constexpr const char* kTailSetDot = " ALARM IS SET.";
inline constexpr const char* kTailNotSet = " ALARM NOT SET.";
inline constexpr const char* kNoDateYet = "No Date Selected Yet.";

inline constexpr const char* kReady = "Ready.";
inline constexpr const char* kValidating = "Validating Input. . .";
inline constexpr const char* kTakingOver = "Assuming Control Of WinAmp Executable. . .Please Wait. . .";

// Six groups of "!!!!! ALARM !!!!!!", 113 characters in all.
inline constexpr const char* kBanner =
    "!!!!! ALARM !!!!!! !!!!! ALARM !!!!!! !!!!! ALARM !!!!!! "
    "!!!!! ALARM !!!!!! !!!!! ALARM !!!!!! !!!!! ALARM !!!!!!";

inline constexpr const char* kMissedPrefix = "Alarm MISSED!  Date: ";
// The status bar's second part while the program sounds the alarm itself.
inline constexpr const char* kBuiltInSound = "Built-In Alarm Sound";
// The status bar's second part while an armed alarm waits: this PC may sleep through it, or the
// program keeps it awake.
inline constexpr const char* kMustStayAwake = "PC Must Stay Awake";
inline constexpr const char* kKeepingAwake = "Keeping PC Awake";
// The tray balloon when no sound at all can be made.
inline constexpr const char* kRingingBalloon = "The Alarm Is Ringing!";

// prefix + date + " Time: " + time + tail
std::string AlarmSummary(const char* prefix, const std::string& date, const std::string& time, const char* tail);
// "Process Will Be Complete In: 14 Seconds. . . "
std::string CountdownText(int secondsLeft);

// ---- cmdSet ----
inline constexpr const char* kTurnOn = "Turn &On";
inline constexpr const char* kTurnOff = "Turn &Off";
inline constexpr const char* kSnooze = "Snoo&ze";
inline constexpr const char* kTipTurnOn = "Accept Settings And Turn Alarm On.";
inline constexpr const char* kTipTurnOff = "Turn The Alarm OFF.";

// ---- Tray ----
inline constexpr const char* kTrayTipCleared = "Alarm Is Not Set.  Awaiting Selection.";

// ---- Message boxes: title, then text ----
inline constexpr const char* kPastDateTitle = "Date Selected Has Passed Already!";
inline constexpr const char* kPastDateText = "You Cannot Choose A Date In The Past!";
inline constexpr const char* kAmPmTitle = "AM/PM Query:";
inline constexpr const char* kAmPmText = "Click 'Yes' For 'AM' and 'No' For 'PM'";
inline constexpr const char* kBadTimeTitle = "Validation Results:";
inline constexpr const char* kBadTimeText = "Incorrect Format!  Click OK To Try Again, Cancel To Exit";
inline constexpr const char* kNotSetTitle = "Alarm Not Set!";
inline constexpr const char* kNotSetText = "You Must Set The Alarm Before You Can Activate It!";
inline constexpr const char* kStartWithWindowsTitle = "Start " CHW_PRODUCT " With Windows?";
inline constexpr const char* kStartWithWindowsText =
    "Should " CHW_PRODUCT " Start With Windows?\r\n"
    "This Will Ensure That Your Alarm Initiates\r\n"
    "In The Event This PC Is Restarted.";
inline constexpr const char* kPassedText =
    "That Time Has Already Passed Today!\r\n"
    "Please Choose A Later Time Or Another Day.";
inline constexpr const char* kEmptyPlaylistText =
    "WinAmp's Playlist Is Empty!\r\n"
    "Add Music To It, Or The Alarm Will Use Its Built-In Sound.";
inline constexpr const char* kCannotStartText =
    "WinAmp Could Not Be Loaded, And Therefore The Alarm Could Not Execute!";

}  // namespace chw::alarm
