#include "platform/RefreshTick.h"

namespace dotvane::platform {

// The Windows sources ask the system at every call and read no files of
// their own, so a tick has nothing to share between them but the player.
RefreshTick::RefreshTick() : player_(PlayerService::Current()) { player_.BeginTick(); }

RefreshTick::~RefreshTick() { player_.EndTick(); }

}  // namespace dotvane::platform
