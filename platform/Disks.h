#pragma once

#include "base/ServicePoint.h"

#include <cstdint>
#include <string_view>

namespace dotvane::platform {

// Drive type codes of GetDriveTypeA.
enum DriveType : uint32_t {
    kDriveUnknown = 0,
    kDriveNoRootDir = 1,
    kDriveRemovable = 2,
    kDriveFixed = 3,
    kDriveRemote = 4,
    kDriveCdrom = 5,
    kDriveRamDisk = 6,
};

// The space of the disk that holds a path, as GetDiskFreeSpaceExA reports it.
struct DiskSpace {
    // Free bytes this user may fill (quotas and reserved blocks taken off).
    uint64_t FreeBytesAvailable = 0;
    uint64_t TotalBytes = 0;
    // Free bytes of the disk for all users.
    uint64_t TotalFreeBytes = 0;
};

class Disks {
public:
    virtual ~Disks() = default;
    // The space of the disk holding `path` (a drive root, folder or share as
    // the user wrote it); false when the system cannot answer for it.
    virtual bool GetDiskFreeSpaceEx(std::string_view path, DiskSpace& space) = 0;
    // The type of the drive whose root is `root`; kDriveNoRootDir when it is
    // no drive root or does not exist.
    virtual uint32_t GetDriveType(std::string_view root) = 0;
};

// The system's implementation, created on first use.
Disks& SystemDisks();
// Where the program finds it: the system's own, or a stand-in a test
// installs.
using DisksService = ServicePoint<Disks, SystemDisks>;

}  // namespace dotvane::platform
