#include "platform/LocalClock.h"

namespace dotvane::platform {
namespace {

LocalClock* installed = nullptr;

}  // namespace

LocalClock& CurrentLocalClock() { return installed ? *installed : SystemLocalClock(); }

void InstallLocalClock(LocalClock* source) { installed = source; }

}  // namespace dotvane::platform
