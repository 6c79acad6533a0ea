#include "platform/Sockets.h"

namespace dotvane::platform {
namespace {
Sockets* installed = nullptr;
}

Sockets& CurrentSockets() { return installed ? *installed : SystemSockets(); }

void InstallSockets(Sockets* sockets) { installed = sockets; }

}  // namespace dotvane::platform
