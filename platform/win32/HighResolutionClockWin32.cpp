#include "platform/HighResolutionClock.h"

#include "platform/win32/Win32Api.h"

namespace dotvane::platform {
namespace {

class PerformanceCounter : public HighResolutionClock {
public:
    bool QueryFrequency(int64_t& ticksPerSecond) override
    {
        LARGE_INTEGER frequency{};
        if (!::QueryPerformanceFrequency(&frequency) || frequency.QuadPart <= 0) return false;
        ticksPerSecond = frequency.QuadPart;
        return true;
    }

    bool QueryCounter(int64_t& ticks) override
    {
        LARGE_INTEGER counter{};
        if (!::QueryPerformanceCounter(&counter)) return false;
        ticks = counter.QuadPart;
        return true;
    }
};

}  // namespace

HighResolutionClock& SystemHighResolutionClock()
{
    static PerformanceCounter clock;
    return clock;
}

}  // namespace dotvane::platform
