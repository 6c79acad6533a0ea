#pragma once

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

// The process-wide counter: the installed one, else the system's.
HighResolutionClock& CurrentHighResolutionClock();
void InstallHighResolutionClock(HighResolutionClock* clock);

}  // namespace dotvane::platform
