#include "platform/MemoryStatus.h"

namespace dotvane::platform {
namespace {

MemoryStatus* installed = nullptr;

}  // namespace

MemoryStatus& CurrentMemoryStatus() { return installed ? *installed : SystemMemoryStatus(); }

void InstallMemoryStatus(MemoryStatus* source) { installed = source; }

}  // namespace dotvane::platform
