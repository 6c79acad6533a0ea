#include "platform/ComputerInfo.h"

namespace dotvane::platform {
namespace {

ComputerInfo* installed = nullptr;

}  // namespace

ComputerInfo& CurrentComputerInfo() { return installed ? *installed : SystemComputerInfo(); }

void InstallComputerInfo(ComputerInfo* source) { installed = source; }

}  // namespace dotvane::platform
