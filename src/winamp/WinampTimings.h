// How long the player is waited for and how often it is asked again.
#pragma once

namespace chw::winamp {

// A post the player's queue refuses is tried again for this long, pausing between attempts so the retry
// does not spin the core.
inline constexpr int kPostRetryMs = 5000;
inline constexpr int kPostPauseMs = 10;
// Closing every player: at most this many passes, each window gets a grace period to go and is looked at
// this often.
inline constexpr int kCloseAllMaxPasses = 20;
inline constexpr int kCloseGraceMs = 2000;
inline constexpr int kClosePollMs = 100;
inline constexpr int kCloseAllBudgetMs = 8000;  // closing every player never takes longer than this
inline constexpr int kSendTimeoutMs = 3000;     // no message to the player waits longer
inline constexpr int kHungMemoryMs = 10000;     // a player that did not answer is not waited for again meanwhile

}  // namespace chw::winamp
