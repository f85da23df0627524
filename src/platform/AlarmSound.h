// The alarm sound built into the program, for when the player stays silent.
#pragma once

namespace chw {

class IAlarmSound {
public:
    virtual ~IAlarmSound() = default;
    // Starts the sound, looping until Stop; false when it cannot be played (no audio device).
    virtual bool Start() = 0;
    virtual void Stop() = 0;
};

}  // namespace chw
