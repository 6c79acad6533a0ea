#pragma once

#include "platform/Player.h"

#include <cstdint>
#include <memory>
#include <string>

namespace dotvane::platform {

// How long one round of questions waits for all players together.
inline constexpr int kPlayerBudgetMs = 100;
// How long a player that let that time run out is left alone.
inline constexpr uint64_t kPlayerRestMs = 15000;
// How many players are asked at most: the first by name.
inline constexpr int kPlayerLimit = 32;

// The player window answered by the media players on the D-Bus session bus
// (MPRIS2): every service named "org.mpris.MediaPlayer2.…" is a candidate,
// one that plays preferred, then one that is paused. Replies follow the
// Winamp conventions (state 1/3/0, position in ms, length in seconds,
// sample rate in kHz and bit rate in kbit/s), and the window text has
// Winamp's form "N. Artist - Title - Winamp", in the program's Latin-1
// characters (the bus speaks UTF-8). Without a session bus or a
// player every query answers 0 and the text is empty.
//
// FindWindow asks every player at once, within kPlayerBudgetMs in all, and
// within a refresh tick only at the first FindWindow; the other queries
// answer from what it found. A player that has not answered in that time
// keeps its last answers and is not asked again for kPlayerRestMs. Only the
// first kPlayerLimit players by name are asked. The bus is first used by the
// first FindWindow, which must come after the Qt application object exists;
// the wait runs no event loop.
std::unique_ptr<Player> CreateMprisPlayer();

// The same on the bus at a D-Bus address such as "unix:path=/run/bus" (an
// empty address means the session bus), waiting budgetMs for a round of
// answers.
std::unique_ptr<Player> CreateMprisPlayer(const std::string& busAddress, int budgetMs = kPlayerBudgetMs);

}  // namespace dotvane::platform
