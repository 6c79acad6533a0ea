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

class MemoryStatus {
public:
    virtual ~MemoryStatus() = default;
    // Fills `status`; figures the system cannot tell stay 0.
    virtual void GlobalMemoryStatus(MemoryStatusRecord& status) = 0;
};

// The system's implementation, created on first use.
MemoryStatus& SystemMemoryStatus();
// Where the program finds it: the system's own, or a stand-in a test
// installs.
using MemoryStatusService = ServicePoint<MemoryStatus, SystemMemoryStatus>;

}  // namespace dotvane::platform
