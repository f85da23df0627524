// The program's own run-time: pauses, pending events, ending, title and version.
#pragma once

#include <string>

#include "platform/Types.h"

namespace chw {

class IRuntime {
public:
    virtual ~IRuntime() = default;
    // Holds the program for this long; no event is handled meanwhile (the window is still repainted).
    virtual void Pause(int milliseconds) = 0;
    // Handles the events that are pending (timer ticks, repaints, input) and returns.
    virtual void DoEvents() = 0;
    // Ends the process at once. On Windows it does not return; callers return right after it anyway.
    virtual void EndProgram() = 0;
    // The caption of the program's hidden application window, by which a second instance finds this one.
    virtual std::string AppTitle() = 0;
    virtual void SetAppTitle(const std::string& title) = 0;
    // From the version resource.
    virtual Version ProgramVersion() = 0;
    // While on, Windows starts the program again when a restart for an update (or a crash) ended it.
    virtual void RegisterRestart(bool on) = 0;
};

}  // namespace chw
