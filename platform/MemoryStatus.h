#pragma once

#include "base/ServicePoint.h"

#include <cstdint>

namespace dotvane::platform {

// The memory figures of GlobalMemoryStatus, in bytes. The counts are 64 bits
// wide (as GlobalMemoryStatusEx gives them), so machines with more than 4 GB
// are not cut off.
struct MemoryStatusRecord {
    // Share of physical memory in use, 0 … 100.
    uint32_t MemoryLoad = 0;
    uint64_t TotalPhys = 0;
    uint64_t AvailPhys = 0;
    uint64_t TotalPageFile = 0;
    uint64_t AvailPageFile = 0;
    // The address space of this process.
    uint64_t TotalVirtual = 0;
    uint64_t AvailVirtual = 0;
};

// Which figures a caller shows. The address space of the process costs
// reads of its own on some systems, so it is looked up only when asked for.
enum class MemoryFigures {
    All,
    // MemoryLoad, the physical memory and the paging file; the virtual
    // figures may stay 0.
    WithoutVirtual,
};

class MemoryStatus {
public:
    virtual ~MemoryStatus() = default;
    // Fills `status` with at least the `wanted` figures; figures the system
    // cannot tell stay 0.
    virtual void GlobalMemoryStatus(MemoryStatusRecord& status, MemoryFigures wanted) = 0;
};

// The system's implementation, created on first use.
MemoryStatus& SystemMemoryStatus();
// Where the program finds it: the system's own, or a stand-in a test
// installs.
using MemoryStatusService = ServicePoint<MemoryStatus, SystemMemoryStatus>;

}  // namespace dotvane::platform
