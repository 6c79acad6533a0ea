#pragma once

#include <cstdint>
#include <string>

namespace dotvane::platform {

// A handle of the service control manager or of one service; 0 is none.
using ServiceHandle = std::uintptr_t;

// System error numbers and service values the port component relies on.
inline constexpr uint32_t kErrorAccessDenied = 5;
inline constexpr uint32_t kErrorCallNotImplemented = 120;
inline constexpr uint32_t kServiceStopped = 1;
inline constexpr uint32_t kServiceRunning = 4;
inline constexpr uint32_t kServiceKernelDriver = 1;
inline constexpr uint32_t kServiceDemandStart = 3;
inline constexpr uint32_t kServiceErrorNormal = 1;

// The system's service control manager, in the shape of its Win32 calls
// (OpenSCManager, OpenService, CreateService, StartService, ControlService
// with the stop control, DeleteService, QueryServiceStatus,
// CloseServiceHandle, GetLastError). Only the NT family of Windows has one;
// elsewhere PlatformIsNT is false and nothing calls the rest.
class ServiceManager {
public:
    virtual ~ServiceManager() = default;

    // Whether the operating system's platform id is 2, the NT family.
    virtual bool PlatformIsNT() = 0;
    // Opens the local service control manager; 0 on failure.
    virtual ServiceHandle OpenManager(uint32_t access) = 0;
    // Opens an existing service by name; 0 on failure (also when it does not
    // exist).
    virtual ServiceHandle Open(ServiceHandle manager, const std::string& name, uint32_t access) = 0;
    // Creates a service without tag, dependencies, account or password; 0 on
    // failure.
    virtual ServiceHandle Create(ServiceHandle manager, const std::string& name,
                                 const std::string& displayName, uint32_t access,
                                 uint32_t serviceType, uint32_t startType, uint32_t errorControl,
                                 const std::string& imagePath, const std::string& loadOrderGroup) = 0;
    // Starts a service without arguments.
    virtual bool Start(ServiceHandle service) = 0;
    // Sends the stop control.
    virtual bool Stop(ServiceHandle service) = 0;
    virtual bool Delete(ServiceHandle service) = 0;
    // The current state of the service (kServiceStopped, kServiceRunning, …).
    virtual bool QueryState(ServiceHandle service, uint32_t& state) = 0;
    virtual bool Close(ServiceHandle handle) = 0;
    // The system error number of the last failed call.
    virtual uint32_t LastError() = 0;
};

// The service manager of the system the program runs on.
ServiceManager& SystemServiceManager();

}  // namespace dotvane::platform
