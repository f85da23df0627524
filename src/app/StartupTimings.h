// The pauses of the start-up and of the main window's load, apart from their texts.
#pragma once

namespace chw::startup {

// The splash's progress bar: eight quick steps, then two slow ones (about 3.4 s in all).
inline constexpr int kFastTickMs = 100;
inline constexpr int kSlowTickMs = 1300;
inline constexpr int kHandOverPauseMs = 1000;
// The load: how long the player's failure is shown, and the pause before the date is shown.
inline constexpr int kWinampFailedPauseMs = 2000;
inline constexpr int kDatePauseMs = 1000;

}  // namespace chw::startup
