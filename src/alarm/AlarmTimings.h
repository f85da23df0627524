// How long the alarm's steps wait and how often they look again, apart from the texts they show.
#pragma once

namespace chw::alarm {

// Arming waits this many seconds for the player, after a first pause of kTakeOverFirstPauseMs.
inline constexpr int kTakeOverSeconds = 15;
inline constexpr int kTakeOverFirstPauseMs = 2000;
// The watch: pause after restarting a vanished player, and how often a failed restart is tried again.
inline constexpr int kRestartPauseMs = 5000;
inline constexpr int kRestartLookMs = 250;  // how often the restart looks for the new window
inline constexpr int kRestartRetryMs = 60000;
// Firing: the player needs a moment after Play before it takes a volume; a second Play gets a shorter one.
inline constexpr int kFirePauseMs = 2000;
inline constexpr int kReplayPauseMs = 1000;
// While it rings: a player not playing this long gets Play again; after Play it has this long to play.
inline constexpr int kSilentMs = 3000;
inline constexpr int kPlayAnswerMs = 5000;
// A sleeping computer is woken this long before the alarm, so that it is up and running at the minute.
inline constexpr int kWakeLeadSeconds = 60;
// The watch still rings an alarm this late (a box was open, the computer slept); later it is missed.
inline constexpr int kCatchUpSeconds = 10 * 60;
// The player's volume while it rings, and the quiet one it is left at when the alarm is stopped.
inline constexpr int kFullVolume = 255;
inline constexpr int kQuietVolume = 28;

}  // namespace chw::alarm
