#include "platform/Player.h"

namespace dotvane::platform {
namespace {

// Linux has no Winamp window to look for: the MPRIS2 player is installed in
// its place, and without it no player is ever found.
class NoPlayer : public Player {
public:
    bool FindWindow() override { return false; }
    int32_t SendQuery(int32_t, int32_t) override { return 0; }
    std::string WindowText() override { return {}; }
};

}  // namespace

Player& SystemPlayer()
{
    static NoPlayer player;
    return player;
}

}  // namespace dotvane::platform
