#include "platform/Player.h"

namespace dotvane::platform {
namespace {

Player* installed = nullptr;

}  // namespace

Player& CurrentPlayer() { return installed ? *installed : SystemPlayer(); }

void InstallPlayer(Player* player) { installed = player; }

}  // namespace dotvane::platform
