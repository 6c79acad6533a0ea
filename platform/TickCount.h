#pragma once

#include <cstdint>

namespace dotvane::platform {

// Milliseconds since the system started. Linux counts them in 64 bits, so
// the count does not wrap; on Windows it is GetTickCount's 32-bit count,
// which wraps after 49.7 days as the system's own does.
class TickCount {
public:
    virtual ~TickCount() = default;
    virtual uint64_t GetTickCount64() = 0;
};

// The system's implementation, created on first use.
TickCount& SystemTickCount();
// The installed one, else the system's.
TickCount& CurrentTickCount();
// Installs a replacement (tests); nullptr returns to the system's own.
void InstallTickCount(TickCount* source);

}  // namespace dotvane::platform
