#include "platform/Disks.h"

namespace dotvane::platform {
namespace {

Disks* installed = nullptr;

}  // namespace

Disks& CurrentDisks() { return installed ? *installed : SystemDisks(); }

void InstallDisks(Disks* source) { installed = source; }

}  // namespace dotvane::platform
