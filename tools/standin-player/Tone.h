// The alarm tone the stand-in player sounds while "playing": a loopable WAV image built in memory.
#pragma once

#include <cstdint>
#include <vector>

namespace standin {

// A complete RIFF/WAVE file (16-bit mono PCM): four short beeps, then a pause, ready to loop.
// volume 0..255 scales the amplitude linearly, as the player's volume does.
std::vector<std::uint8_t> MakeAlarmWav(int volume);

}  // namespace standin
