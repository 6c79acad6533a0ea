#include "platform/HostAddress.h"

namespace dotvane::platform {
namespace {

HostAddress* installed = nullptr;

}  // namespace

HostAddress& CurrentHostAddress() { return installed ? *installed : SystemHostAddress(); }

void InstallHostAddress(HostAddress* source) { installed = source; }

}  // namespace dotvane::platform
