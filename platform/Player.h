#pragma once

#include "base/ServicePoint.h"

#include <cstdint>
#include <string>

namespace dotvane::platform {

// The command numbers of the player's queries (WM_USER with a data word),
// and the replies that have a meaning of their own.
inline constexpr int32_t kPlayerGetStatus = 104;     // data 0: the playing state
inline constexpr int32_t kPlayerPlaying = 1;
inline constexpr int32_t kPlayerPaused = 3;
inline constexpr int32_t kPlayerGetOutputTime = 105;  // data 0: position in ms; data 1: length in s
inline constexpr int32_t kPlayerGetListLength = 124;  // data 0: tracks in the play list
inline constexpr int32_t kPlayerGetListPosition = 125;  // data 0: the current track, from 0
inline constexpr int32_t kPlayerGetInfo = 126;  // data 0: sample rate; 1: bit rate; 2: channels
inline constexpr int32_t kPlayerInfoChannels = 2;

// The media player window that the Winamp variables, the screen skip and the
// player icons ask: the top-level window of class "Winamp v1.x", queried
// with WM_USER messages and read through its window text.
class Player {
public:
    virtual ~Player() = default;
    // Looks the player up again; false when none runs.
    virtual bool FindWindow() = 0;
    // The reply to WM_USER with data word `data` and command `command` from
    // the player found by the last FindWindow; 0 when none was found.
    virtual int32_t SendQuery(int32_t data, int32_t command) = 0;
    // The player window's title (at most 2047 characters); empty when none.
    virtual std::string WindowText() = 0;

    // A refresh tick begins and ends (see RefreshTick). A player that takes
    // a while to ask may ask once, at the first FindWindow of the tick, and
    // answer the rest of the tick from what it found then.
    virtual void BeginTick() {}
    virtual void EndTick() {}
};

// The system's own player lookup: the Winamp window on Windows; none on
// Linux, where the MPRIS2 player (a Qt library of its own) is installed.
Player& SystemPlayer();
// Where the program finds it: the system's own, or a stand-in a test
// installs.
using PlayerService = ServicePoint<Player, SystemPlayer>;

}  // namespace dotvane::platform
