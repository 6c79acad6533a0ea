#include "platform/Player.h"

namespace dotvane::platform {
namespace {

class NoPlayer : public Player {
public:
    bool FindWindow() override { return false; }
    int32_t SendQuery(int32_t, int32_t) override { return 0; }
    std::string WindowText() override { return {}; }
};

NoPlayer noPlayer;
Player* installed = nullptr;

}  // namespace

Player& CurrentPlayer() { return installed ? *installed : noPlayer; }

void InstallPlayer(Player* player) { installed = player; }

}  // namespace dotvane::platform
