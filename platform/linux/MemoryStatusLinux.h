#pragma once

#include "platform/MemoryStatus.h"
#include "platform/linux/KernelFileSnapshot.h"

#include <filesystem>

namespace dotvane::platform {

// The memory status from <procRoot>/meminfo (physical memory and swap as the
// paging file) and, for the process's address space, from
// <procRoot>/self/limits (the address-space limit) and <procRoot>/self/status
// (the size in use).
class MemoryStatusLinux : public MemoryStatus {
public:
    explicit MemoryStatusLinux(std::filesystem::path procRoot = "/proc",
                               KernelFileSnapshot& files = SystemKernelFiles());
    void GlobalMemoryStatus(MemoryStatusRecord& status, MemoryFigures wanted) override;

    // The size of a process's user address space on this architecture, the
    // total when no address-space limit is set.
    static uint64_t UserAddressSpace();

private:
    std::filesystem::path meminfo_;
    std::filesystem::path limits_;
    std::filesystem::path status_;
    KernelFileSnapshot& files_;
};

}  // namespace dotvane::platform
