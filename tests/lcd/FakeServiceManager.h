#pragma once

#include "platform/ServiceManager.h"

#include <map>
#include <string>
#include <vector>

namespace dotvane::test {

// A service control manager of the NT family holding at most the one
// service, with a log of the calls made to it ("OpenManager 0x17",
// "Open 0x4", "Create DLPortIO C:\x\DLPortIO.SYS", "Start", "Stop",
// "Delete", "Query", "Close manager", "Close service").
class FakeServiceManager : public platform::ServiceManager {
public:
    bool IsNT = true;
    bool ServiceExists = false;
    uint32_t State = platform::kServiceStopped;
    // Calls that fail, by name ("OpenManager", "Create", "Start", …), with
    // the error number they leave.
    std::map<std::string, uint32_t> Failures;
    // OpenManager with full access is refused with access denied, the
    // reduced access works.
    bool OnlyReducedAccess = false;

    std::vector<std::string> Calls;
    int OpenHandles = 0;

    bool PlatformIsNT() override { return IsNT; }

    platform::ServiceHandle OpenManager(uint32_t access) override
    {
        Calls.push_back("OpenManager " + Hex(access));
        if (OnlyReducedAccess && access == 0x17) return Failed(platform::kErrorAccessDenied);
        if (Fails("OpenManager")) return 0;
        ++OpenHandles;
        return kManager;
    }

    platform::ServiceHandle Open(platform::ServiceHandle manager, const std::string& name, uint32_t access) override
    {
        Calls.push_back("Open " + Hex(access));
        if (manager != kManager || name != "DLPortIO") return Failed(87);
        if (!ServiceExists) return Failed(1060);  // ERROR_SERVICE_DOES_NOT_EXIST
        if (Fails("Open")) return 0;
        ++OpenHandles;
        return kService;
    }

    platform::ServiceHandle Create(platform::ServiceHandle manager, const std::string& name,
                                   const std::string& displayName, uint32_t access, uint32_t serviceType,
                                   uint32_t startType, uint32_t errorControl, const std::string& imagePath,
                                   const std::string& loadOrderGroup) override
    {
        Calls.push_back("Create " + name + " " + imagePath);
        CreatedWith = {displayName, Hex(access), std::to_string(serviceType), std::to_string(startType),
                       std::to_string(errorControl), loadOrderGroup};
        if (manager != kManager || Fails("Create")) return 0;
        ServiceExists = true;
        State = platform::kServiceStopped;
        ++OpenHandles;
        return kService;
    }

    bool Start(platform::ServiceHandle service) override
    {
        Calls.push_back("Start");
        if (service != kService || Fails("Start")) return false;
        State = platform::kServiceRunning;
        return true;
    }

    bool Stop(platform::ServiceHandle service) override
    {
        Calls.push_back("Stop");
        if (service != kService || Fails("Stop")) return false;
        State = platform::kServiceStopped;
        return true;
    }

    bool Delete(platform::ServiceHandle service) override
    {
        Calls.push_back("Delete");
        if (service != kService || Fails("Delete")) return false;
        ServiceExists = false;
        return true;
    }

    bool QueryState(platform::ServiceHandle service, uint32_t& state) override
    {
        Calls.push_back("Query");
        if (service != kService || Fails("Query")) return false;
        state = State;
        return true;
    }

    bool Close(platform::ServiceHandle handle) override
    {
        Calls.push_back(handle == kManager ? "Close manager" : "Close service");
        --OpenHandles;
        return true;
    }

    uint32_t LastError() override { return lastError_; }

    // Display name, access, type, start type, error control and load order
    // group of the last Create.
    std::vector<std::string> CreatedWith;

    static constexpr platform::ServiceHandle kManager = 0x100;
    static constexpr platform::ServiceHandle kService = 0x200;

private:
    static std::string Hex(uint32_t value)
    {
        static const char* digits = "0123456789abcdef";
        std::string text;
        do {
            text.insert(text.begin(), digits[value % 16]);
            value /= 16;
        } while (value);
        return "0x" + text;
    }

    bool Fails(const std::string& call)
    {
        const auto failure = Failures.find(call);
        if (failure == Failures.end()) return false;
        lastError_ = failure->second;
        return true;
    }

    platform::ServiceHandle Failed(uint32_t error)
    {
        lastError_ = error;
        return 0;
    }

    uint32_t lastError_ = 0;
};

}  // namespace dotvane::test
