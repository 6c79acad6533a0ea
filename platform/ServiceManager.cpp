#include "platform/ServiceManager.h"

namespace dotvane::platform {
namespace {
ServiceManager* installed = nullptr;
}

ServiceManager& CurrentServiceManager() { return installed ? *installed : SystemServiceManager(); }

void InstallServiceManager(ServiceManager* manager) { installed = manager; }

}  // namespace dotvane::platform
