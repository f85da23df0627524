// Where the player's program file is. Its setup puts it in the classic programs folder on a 32-bit
// Windows and in the 32-bit programs folder on a 64-bit one, and may register it elsewhere; every use
// of the file (the start-up check, arming, the watch's restart, the menu, loading on start) asks here.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Registry.h"

namespace chw::winamp {

// The player's folders in the order they are tried: the classic one first, so that a folder renamed as
// the missing-player boxes ask keeps working, then the 32-bit programs folder's. One folder where the
// system has only one programs folder.
std::vector<std::string> PlayerFolders(IFileSystem& files);

// The player's program file: in one of its folders, else the path the system registered for it (App
// Paths: the machine's, then the user's, each in the 64-bit and the 32-bit view). Nothing when the
// file is nowhere.
std::optional<std::string> FindPlayer(IFileSystem& files, IRegistry& registry);

// The start-up's test: one of the player's folders exists (the folder alone is enough), or its file
// is found.
bool PlayerInstalled(IFileSystem& files, IRegistry& registry);

// The command line that starts the file: quoted, so a path with blanks names only this file.
std::string PlayerCommand(const std::string& file);

// The folders as the missing-player box names them: 'C:\Program Files\Winamp' or '...'.
std::string LooksInText(IFileSystem& files);

}  // namespace chw::winamp
