#include "app/qt/QtServices.h"

#include "platform/SystemPlayer.h"

namespace dotvane {

QtServices::QtServices() : player_(platform::CreateSystemPlayer()), players_(*player_) {}

QtServices::~QtServices() = default;

}  // namespace dotvane
