#pragma once

#include "platform/Player.h"

#include <memory>

namespace dotvane::platform {

// The player this system offers to the program: on Linux the media players
// of the D-Bus session bus (MPRIS2), which needs the Qt program's event loop,
// so the program creates it once its application object exists; on Windows
// the Winamp window.
std::unique_ptr<Player> CreateSystemPlayer();

}  // namespace dotvane::platform
