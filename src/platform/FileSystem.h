// File and folder tests and the few folders the program needs to know.
#pragma once

#include <string>

namespace chw {

class IFileSystem {
public:
    virtual ~IFileSystem() = default;
    virtual bool FolderExists(const std::string& path) = 0;
    virtual bool FileExists(const std::string& path) = 0;
    // The system folder, without a trailing separator (C:\windows\system32).
    virtual std::string SystemFolder() = 0;
    // The folder of the running executable, without a trailing separator.
    virtual std::string AppFolder() = 0;
    // Where the system puts 32-bit programs (C:\Program Files (x86) on a 64-bit Windows, the one
    // programs folder on a 32-bit one), without a trailing separator; empty when it cannot be told.
    virtual std::string ProgramFilesX86Folder() = 0;
};

}  // namespace chw
