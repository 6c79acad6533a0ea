#include "platform/TickCount.h"

namespace dotvane::platform {
namespace {

TickCount* installed = nullptr;

}  // namespace

TickCount& CurrentTickCount() { return installed ? *installed : SystemTickCount(); }

void InstallTickCount(TickCount* source) { installed = source; }

}  // namespace dotvane::platform
