// Where the program keeps what it remembers between runs, and how a stored flag reads.
#pragma once

#include <optional>
#include <string>

#include "platform/ProductNames.h"
#include "platform/Registry.h"

namespace chw::settings {

inline constexpr Hive kRoot = Hive::Machine;

// Both spellings name the same key; each caller uses the one it always used.
inline constexpr const char* kKey = "SOFTWARE\\TALLOWMERE\\CHWL\\";
inline constexpr const char* kKeyNoSlash = "SOFTWARE\\TALLOWMERE\\CHWL";

inline constexpr const char* kStartInTray = "StartInTray";
inline constexpr const char* kWinAmpOnStart = "WinAmpOnStart";
inline constexpr const char* kSettingsSaved = "SettingsSaved";
inline constexpr const char* kDate = "Date:";
inline constexpr const char* kTime = "Time:";
inline constexpr const char* kKeepAwake = "KeepAwake";
inline constexpr const char* kTrayHintShown = "TrayHintShown";
// How the alarm repeats: "Once", "Every Day", "Weekdays" or "Every Week" (alarm/Repeat.h); absent is Once.
inline constexpr const char* kRepeat = "Repeat";

// The armed alarm, recorded at arming apart from the Exit-time values above and withdrawn ("No") when it
// is no longer armed: a start that finds it set knows the last run ended without its Exit.
inline constexpr const char* kArmed = "Armed";
inline constexpr const char* kArmedDate = "Armed Date:";
inline constexpr const char* kArmedTime = "Armed Time:";
// The ten minutes more of an armed alarm that rang: a start after a crash rings it then. Written only
// while one waits, emptied when it ends.
inline constexpr const char* kSnoozeDate = "Snooze Date:";
inline constexpr const char* kSnoozeTime = "Snooze Time:";
// The alarm that last rang or was reported missed, so that no later start rings or reports it again.
inline constexpr const char* kRungDate = "Rung Date:";
inline constexpr const char* kRungTime = "Rung Time:";

inline constexpr const char* kYes = "Yes";
inline constexpr const char* kNo = "No";

// The Run entry that starts the program with Windows; a leading "-" switches it off. It lives in the
// machine's Run key; where a standard user may not change that one, in the user's own (kUserRoot).
inline constexpr Hive kUserRoot = Hive::User;
inline constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValue = CHW_PRODUCT;
inline constexpr const char* kRunCommand = "c:\\Program Files\\Tallowmer\\CHWL\\CHWLU.EXE";
inline constexpr const char* kRunCommandOff = "-c:\\Program Files\\Tallowmer\\CHWL\\CHWLU.EXE";
// Where Windows' own startup lists (Task Manager, Settings) switch a Run entry off without touching it:
// a binary value of the same name in the same hive, whose first byte is odd while switched off. The
// program only reads it.
inline constexpr const char* kStartupApprovedKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

// A flag is set when its first three characters are exactly "Yes"; a failed read is never set.
bool IsYes(const std::optional<std::string>& stored);

// The one message the settings store ever shows.
inline constexpr const char* kRegistryErrorTitle = "ERROR!";
inline constexpr const char* kRegistryErrorText = "There was an error writing to the registry!\r\nPlease restart your computer!";

}  // namespace chw::settings
