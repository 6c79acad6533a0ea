#pragma once

#include "platform/ComputerInfo.h"
#include "platform/Disks.h"
#include "platform/HostAddress.h"
#include "platform/LocalClock.h"
#include "platform/MemoryStatus.h"
#include "platform/PowerStatus.h"
#include "platform/TickCount.h"

#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace dotvane::test {

// Stand-ins for the system information sources. Each installs itself for its
// lifetime, answers with its public fields and counts the queries.

class FakePowerStatus : public platform::PowerStatus {
    // Stands in for the system's own while it lives.
    platform::PowerStatusService::Scoped installed_{*this};

public:
    bool GetSystemPowerStatus(platform::PowerStatusRecord& status) override
    {
        ++queries;
        status = record;
        return true;
    }
    platform::PowerStatusRecord record;
    int queries = 0;
};

class FakeTickCount : public platform::TickCount {
    // Stands in for the system's own while it lives.
    platform::TickCountService::Scoped installed_{*this};

public:
    uint64_t GetTickCount64() override { return milliseconds; }
    uint64_t milliseconds = 0;
};

class FakeMemoryStatus : public platform::MemoryStatus {
    // Stands in for the system's own while it lives.
    platform::MemoryStatusService::Scoped installed_{*this};

public:
    void GlobalMemoryStatus(platform::MemoryStatusRecord& status, platform::MemoryFigures figures) override
    {
        ++queries;
        wanted = figures;
        status = record;
    }
    platform::MemoryFigures wanted = platform::MemoryFigures::All;
    platform::MemoryStatusRecord record;
    int queries = 0;
};

class FakeComputerInfo : public platform::ComputerInfo {
    // Stands in for the system's own while it lives.
    platform::ComputerInfoService::Scoped installed_{*this};

public:
    std::string GetComputerName(size_t bufferSize) override
    {
        requestedBuffer = bufferSize;
        return bufferSize == 0 ? std::string() : name.substr(0, bufferSize - 1);
    }
    uint32_t GetPlatformId() override { return platformId; }
    std::string name;
    uint32_t platformId = 0;
    size_t requestedBuffer = 0;
};

class FakeHostAddress : public platform::HostAddress {
    // Stands in for the system's own while it lives.
    platform::HostAddressService::Scoped installed_{*this};

public:
    std::string GetHostName(size_t bufferSize) override
    {
        requestedBuffer = bufferSize;
        return bufferSize == 0 ? std::string() : hostName.substr(0, bufferSize - 1);
    }
    std::optional<std::array<uint8_t, 4>> ResolveFirstIpv4(const std::string& name) override
    {
        resolved.push_back(name);
        const auto it = addresses.find(name);
        if (it == addresses.end()) return std::nullopt;
        return it->second;
    }
    std::optional<std::array<uint8_t, 4>> NetworkIpv4() override
    {
        ++networkQueries;
        return network;
    }
    std::string hostName;
    std::map<std::string, std::array<uint8_t, 4>> addresses;
    std::vector<std::string> resolved;
    size_t requestedBuffer = 0;
    std::optional<std::array<uint8_t, 4>> network;
    int networkQueries = 0;
};

// Formats dates as "D.M.Y" and times as "H:M:S" without padding, so tests see
// that the family pads what the clock formats.
class FakeLocalClock : public platform::LocalClock {
    // Stands in for the system's own while it lives.
    platform::LocalClockService::Scoped installed_{*this};

public:
    platform::LocalTime GetLocalTime() override { return now; }
    std::string FormatShortDate(const platform::LocalTime& time) override
    {
        return std::to_string(time.Day) + "." + std::to_string(time.Month) + "." + std::to_string(time.Year);
    }
    std::string FormatLongTime(const platform::LocalTime& time) override
    {
        return std::to_string(time.Hour) + ":" + std::to_string(time.Minute) + ":" + std::to_string(time.Second);
    }
    platform::LocalTime now;
};

class FakeDisks : public platform::Disks {
    // Stands in for the system's own while it lives.
    platform::DisksService::Scoped installed_{*this};

public:
    bool GetDiskFreeSpaceEx(std::string_view path, platform::DiskSpace& space) override
    {
        askedPaths.emplace_back(path);
        const auto it = spaces.find(std::string(path));
        if (it == spaces.end()) return false;
        space = it->second;
        return true;
    }
    uint32_t GetDriveType(std::string_view root) override
    {
        askedPaths.emplace_back(root);
        const auto it = types.find(std::string(root));
        return it == types.end() ? platform::kDriveNoRootDir : it->second;
    }
    std::map<std::string, platform::DiskSpace> spaces;
    std::map<std::string, uint32_t> types;
    std::vector<std::string> askedPaths;
};

}  // namespace dotvane::test
