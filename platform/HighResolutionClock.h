#pragma once

#include "base/ServicePoint.h"

#include <cstdint>

namespace dotvane::platform {

// The system's high-resolution counter, in the shape of
// QueryPerformanceFrequency and QueryPerformanceCounter.
class HighResolutionClock {
public:
    virtual ~HighResolutionClock() = default;

    // Counter ticks per second; false when there is no such counter.
    virtual bool QueryFrequency(int64_t& ticksPerSecond) = 0;
    // The counter's present value; false when it cannot be read.
    virtual bool QueryCounter(int64_t& ticks) = 0;
};

// The counter of the system the program runs on.
HighResolutionClock& SystemHighResolutionClock();
// Where the program finds it: the system's own, or a stand-in a test
// installs.
using HighResolutionClockService = ServicePoint<HighResolutionClock, SystemHighResolutionClock>;


}  // namespace dotvane::platform
