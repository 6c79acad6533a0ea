#include "platform/RefreshTick.h"

namespace dotvane::platform {

// The Windows sources ask the system at every call and read no files of
// their own, so a tick has nothing to share between them.
RefreshTick::RefreshTick() = default;

RefreshTick::~RefreshTick() = default;

}  // namespace dotvane::platform
