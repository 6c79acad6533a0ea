#pragma once

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
// The installed one, else the system's.
MemoryStatus& CurrentMemoryStatus();
// Installs a replacement (tests); nullptr returns to the system's own.
void InstallMemoryStatus(MemoryStatus* source);

}  // namespace dotvane::platform
