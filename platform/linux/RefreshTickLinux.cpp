#include "platform/RefreshTick.h"

#include "platform/linux/KernelFileSnapshot.h"

namespace dotvane::platform {

RefreshTick::RefreshTick() : player_(PlayerService::Current())
{
    SystemKernelFiles().BeginTick();
    player_.BeginTick();
}

RefreshTick::~RefreshTick()
{
    player_.EndTick();
    SystemKernelFiles().EndTick();
}

}  // namespace dotvane::platform
