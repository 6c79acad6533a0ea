#pragma once

#include "platform/TickCount.h"
#include "platform/linux/KernelFileSnapshot.h"

#include <filesystem>

namespace dotvane::platform {

// Milliseconds since boot from <procRoot>/uptime (suspended time included,
// as on Windows); from the boot-time clock when that file cannot be read.
class TickCountLinux : public TickCount {
public:
    explicit TickCountLinux(std::filesystem::path procRoot = "/proc",
                            KernelFileSnapshot& files = SystemKernelFiles());
    uint64_t GetTickCount64() override;

private:
    std::filesystem::path uptime_;
    KernelFileSnapshot& files_;
};

}  // namespace dotvane::platform
