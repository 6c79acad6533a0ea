#pragma once

#include <string>
#include <string_view>

namespace dotvane {

// The "winamp" family: state, position, length, title, sample rate, bit
// rate, play-list place and channels of the player, looked up anew for
// every reference. Without a player every query answers 0 and the title is
// empty.
std::string WinampVariable(std::string_view name);

// The track title inside the player's window text "12. Artist - Song -
// Winamp": what lies between the track number and "- Winamp", blanks before
// the dash dropped; empty when the text holds no "- Winamp".
std::string WinampTitle(std::string_view windowText);

}  // namespace dotvane
