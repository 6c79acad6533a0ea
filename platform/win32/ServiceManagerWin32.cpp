#include "platform/ServiceManager.h"

#include "platform/win32/Win32Api.h"

namespace dotvane::platform {
namespace {

// The size of OSVERSIONINFOA, which GetVersionExA expects in its size field.
constexpr DWORD kVersionInfoSize = 148;

SC_HANDLE AsHandle(ServiceHandle handle) { return reinterpret_cast<SC_HANDLE>(handle); }
ServiceHandle FromHandle(SC_HANDLE handle) { return reinterpret_cast<ServiceHandle>(handle); }

// The service control manager of the local machine.
class Win32ServiceManager : public ServiceManager {
public:
    bool PlatformIsNT() override
    {
        OSVERSIONINFOA info{};
        info.dwOSVersionInfoSize = kVersionInfoSize;
        return ::GetVersionExA(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
    }

    ServiceHandle OpenManager(uint32_t access) override
    {
        return FromHandle(::OpenSCManagerA(nullptr, nullptr, access));
    }

    ServiceHandle Open(ServiceHandle manager, const std::string& name, uint32_t access) override
    {
        return FromHandle(::OpenServiceA(AsHandle(manager), name.c_str(), access));
    }

    ServiceHandle Create(ServiceHandle manager, const std::string& name, const std::string& displayName,
                         uint32_t access, uint32_t serviceType, uint32_t startType, uint32_t errorControl,
                         const std::string& imagePath, const std::string& loadOrderGroup) override
    {
        return FromHandle(::CreateServiceA(AsHandle(manager), name.c_str(), displayName.c_str(), access, serviceType,
                                           startType, errorControl, imagePath.c_str(), loadOrderGroup.c_str(),
                                           nullptr, nullptr, nullptr, nullptr));
    }

    bool Start(ServiceHandle service) override { return ::StartServiceA(AsHandle(service), 0, nullptr); }

    bool Stop(ServiceHandle service) override
    {
        SERVICE_STATUS status{};
        return ::ControlService(AsHandle(service), SERVICE_CONTROL_STOP, &status);
    }

    bool Delete(ServiceHandle service) override { return ::DeleteService(AsHandle(service)); }

    bool QueryState(ServiceHandle service, uint32_t& state) override
    {
        SERVICE_STATUS status{};
        if (!::QueryServiceStatus(AsHandle(service), &status)) return false;
        state = status.dwCurrentState;
        return true;
    }

    bool Close(ServiceHandle handle) override { return ::CloseServiceHandle(AsHandle(handle)); }

    uint32_t LastError() override { return ::GetLastError(); }
};

}  // namespace

ServiceManager& SystemServiceManager()
{
    static Win32ServiceManager manager;
    return manager;
}

}  // namespace dotvane::platform
