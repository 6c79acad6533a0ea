#include "platform/RefreshTick.h"

#include "platform/linux/KernelFileSnapshot.h"

namespace dotvane::platform {

RefreshTick::RefreshTick() { SystemKernelFiles().BeginTick(); }

RefreshTick::~RefreshTick() { SystemKernelFiles().EndTick(); }

}  // namespace dotvane::platform
