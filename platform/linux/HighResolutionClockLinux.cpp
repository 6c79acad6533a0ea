#include "platform/HighResolutionClock.h"

#include <time.h>

namespace dotvane::platform {
namespace {

// The monotonic clock counts nanoseconds, so a tick is one nanosecond.
class MonotonicClock : public HighResolutionClock {
public:
    bool QueryFrequency(int64_t& ticksPerSecond) override
    {
        ticksPerSecond = 1'000'000'000;
        return true;
    }

    bool QueryCounter(int64_t& ticks) override
    {
        timespec now{};
        if (clock_gettime(CLOCK_MONOTONIC, &now) != 0) return false;
        ticks = static_cast<int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
        return true;
    }
};

}  // namespace

HighResolutionClock& SystemHighResolutionClock()
{
    static MonotonicClock clock;
    return clock;
}

}  // namespace dotvane::platform
