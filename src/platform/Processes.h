// Starting other programs; they are never waited for.
#pragma once

#include <string>

namespace chw {

// Window styles of a started program, by their classic Shell numbers.
enum class WindowStyle : int {
    Hidden = 0,
    NormalFocus = 1,
    MinimizedFocus = 2,
    MaximizedFocus = 3,
    NormalNoFocus = 4,
    MinimizedNoFocus = 6,
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
};

}  // namespace chw
