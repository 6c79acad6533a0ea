#include "vars/DiskVariables.h"

#include "platform/Disks.h"
#include "vars/Format.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace dotvane {
namespace {

std::optional<platform::DiskSpace> QuerySpace(std::string_view name)
{
    const auto path = VariableArgument(name);
    if (!path) return std::nullopt;
    platform::DiskSpace space;
    if (!platform::DisksService::Current().GetDiskFreeSpaceEx(*path, space)) return std::nullopt;
    return space;
}

}  // namespace

uint64_t PercentInUse(uint64_t total, uint64_t totalFree)
{
    if (total == 0) return 0;
    const uint64_t used = total - std::min(total, totalFree);
    if (used == total) return 100;
    if (used <= std::numeric_limits<uint64_t>::max() / 100) return used * 100 / total;
    // Only disks beyond 184 PB get here; the floating quotient is exact
    // enough, and a disk that is not full never shows 100.
    return std::min<uint64_t>(99, static_cast<uint64_t>(100.0L * used / total));
}

std::string DiskFreeVariable(std::string_view name)
{
    const auto space = QuerySpace(name);
    return space ? FormatUnsigned(space->TotalFreeBytes / 1024 / 1024) : std::string();
}

std::string DiskSizeVariable(std::string_view name)
{
    const auto space = QuerySpace(name);
    return space ? FormatUnsigned(space->TotalBytes / 1024 / 1024) : std::string();
}

std::string DiskPercentFullVariable(std::string_view name)
{
    const auto space = QuerySpace(name);
    return space ? FormatUnsigned(PercentInUse(space->TotalBytes, space->TotalFreeBytes)) : std::string();
}

std::string DriveTypeVariable(std::string_view name)
{
    const auto root = VariableArgument(name);
    if (!root) return {};
    switch (platform::DisksService::Current().GetDriveType(*root)) {
    case platform::kDriveRemovable: return "Removable";
    case platform::kDriveFixed: return "Fixed";
    case platform::kDriveRemote: return "Remote";
    case platform::kDriveCdrom: return "CDROM";
    case platform::kDriveRamDisk: return "RamDisk";
    default: return "Unknown";
    }
}

}  // namespace dotvane
