#include "platform/HighResolutionClock.h"

namespace dotvane::platform {
namespace {
HighResolutionClock* installed = nullptr;
}

HighResolutionClock& CurrentHighResolutionClock()
{
    return installed ? *installed : SystemHighResolutionClock();
}

void InstallHighResolutionClock(HighResolutionClock* clock) { installed = clock; }

}  // namespace dotvane::platform
