#include "platform/ServiceManager.h"

namespace dotvane::platform {
namespace {

// Linux has no service control manager. The port library needs no kernel
// service here; it gains I/O permission for its registers itself.
class NoServiceManager : public ServiceManager {
public:
    bool PlatformIsNT() override { return false; }
    ServiceHandle OpenManager(uint32_t) override { return 0; }
    ServiceHandle Open(ServiceHandle, const std::string&, uint32_t) override { return 0; }
    ServiceHandle Create(ServiceHandle, const std::string&, const std::string&, uint32_t, uint32_t,
                         uint32_t, uint32_t, const std::string&, const std::string&) override
    {
        return 0;
    }
    bool Start(ServiceHandle) override { return false; }
    bool Stop(ServiceHandle) override { return false; }
    bool Delete(ServiceHandle) override { return false; }
    bool QueryState(ServiceHandle, uint32_t&) override { return false; }
    bool Close(ServiceHandle) override { return false; }
    uint32_t LastError() override { return kErrorCallNotImplemented; }
};

}  // namespace

ServiceManager& SystemServiceManager()
{
    static NoServiceManager manager;
    return manager;
}

}  // namespace dotvane::platform
