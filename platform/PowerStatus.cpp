#include "platform/PowerStatus.h"

namespace dotvane::platform {
namespace {

PowerStatus* installed = nullptr;

}  // namespace

PowerStatus& CurrentPowerStatus() { return installed ? *installed : SystemPowerStatus(); }

void InstallPowerStatus(PowerStatus* source) { installed = source; }

}  // namespace dotvane::platform
