#pragma once

#include "base/ServicePoint.h"

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
// Where the program finds it: the system's own, or a stand-in a test
// installs.
using TickCountService = ServicePoint<TickCount, SystemTickCount>;

}  // namespace dotvane::platform
