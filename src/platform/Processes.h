// Starting other programs; they are never waited for.
#pragma once

#include <string>

namespace chw {

// How a started program's first window shows, and whether it takes the focus.
enum class WindowStyle {
    Hidden,
    NormalFocus,
    MinimizedFocus,
    MaximizedFocus,
    NormalNoFocus,
    MinimizedNoFocus,
};

enum class LaunchError { None, FileNotFound, Other };

struct LaunchResult {
    long taskId = 0;  // nonzero when started
    LaunchError error = LaunchError::None;
    bool Started() const { return error == LaunchError::None && taskId != 0; }
};

class IProcessLauncher {
public:
    virtual ~IProcessLauncher() = default;
    // commandLine is used as Windows would: an unquoted program path with blanks is resolved as CreateProcess does.
    virtual LaunchResult Launch(const std::string& commandLine, WindowStyle style) = 0;
    // Opens a document with the program the system associates with it; false when there is none or it
    // could not be started.
    virtual bool OpenDocument(const std::string& path) = 0;
};

}  // namespace chw
