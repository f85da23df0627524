// Everything the logic needs of the operating system, in one bundle handed to each form.
#pragma once

#include "platform/AlarmSound.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/MessageBoxes.h"
#include "platform/Power.h"
#include "platform/Processes.h"
#include "platform/Registry.h"
#include "platform/Runtime.h"
#include "platform/WindowSystem.h"

namespace chw {

struct Platform {
    IWindowSystem& windows;
    IRegistry& registry;
    IFileSystem& files;
    IProcessLauncher& processes;
    IMessageBoxes& boxes;
    IRuntime& runtime;
    IClock& clock;
    IAlarmSound& sound;
    IPower& power;
};

}  // namespace chw
