#pragma once

#include "platform/Disks.h"
#include "platform/linux/KernelFileSnapshot.h"

#include <filesystem>
#include <string>

namespace dotvane::platform {

// Disk space from statvfs, and drive types from the mount table
// <procRoot>/self/mountinfo and the block devices of <sysRoot>. Names
// written Windows-style (backslashes, any letter case) are accepted.
class DisksLinux : public Disks {
public:
    explicit DisksLinux(std::filesystem::path procRoot = "/proc", std::filesystem::path sysRoot = "/sys",
                        KernelFileSnapshot& files = SystemKernelFiles());
    bool GetDiskFreeSpaceEx(std::string_view path, DiskSpace& space) override;
    uint32_t GetDriveType(std::string_view root) override;

    // A mount point field of mountinfo with its octal escapes ("\040" for a
    // blank) turned back into characters.
    static std::string UnescapeMountField(std::string_view field);

private:
    uint32_t BlockDeviceType(const std::string& device, const std::string& source) const;

    std::filesystem::path proc_;
    std::filesystem::path sys_;
    KernelFileSnapshot& files_;
};

}  // namespace dotvane::platform
