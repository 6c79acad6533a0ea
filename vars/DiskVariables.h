#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dotvane {

// The disk families. Each takes the whole name, such as "diskfree(C:\)",
// and hands its argument to the system as the path; without the closing ")"
// the value is empty, and so it is when the system cannot answer for the
// path.

// "diskfree": free space of the disk for all users, in whole MB.
std::string DiskFreeVariable(std::string_view name);
// "disksize": size of the disk in whole MB.
std::string DiskSizeVariable(std::string_view name);
// "diskpctfull": the share of the disk in use, in whole percent (0 … 100).
std::string DiskPercentFullVariable(std::string_view name);
// "drivetype": "Removable", "Fixed", "Remote", "CDROM", "RamDisk" or
// "Unknown".
std::string DriveTypeVariable(std::string_view name);

// The percentage of a disk of `total` bytes with `totalFree` bytes free that
// is in use, rounded down: 100 only for a full disk; 0 for a total of 0.
uint64_t PercentInUse(uint64_t total, uint64_t totalFree);

}  // namespace dotvane
