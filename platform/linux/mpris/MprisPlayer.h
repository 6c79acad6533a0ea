#pragma once

#include "platform/Player.h"

#include <memory>
#include <string>

namespace dotvane::platform {

// The player window answered by the media players on the D-Bus session bus
// (MPRIS2): every service named "org.mpris.MediaPlayer2.…" is a candidate,
// one that plays preferred, then one that is paused. Replies follow the
// Winamp conventions (state 1/3/0, position in ms, length in seconds,
// sample rate in kHz and bit rate in kbit/s), and the window text has
// Winamp's form "N. Artist - Title - Winamp", in the program's Latin-1
// characters (the bus speaks UTF-8). Without a session bus or a
// player every query answers 0 and the text is empty.
//
// The bus is first used by the first FindWindow, which must come after the
// Qt application object exists; every call waits at most half a second for
// a player that does not answer.
std::unique_ptr<Player> CreateMprisPlayer();

// The same on the bus at a D-Bus address such as "unix:path=/run/bus"; an
// empty address means the session bus.
std::unique_ptr<Player> CreateMprisPlayer(const std::string& busAddress);

}  // namespace dotvane::platform
