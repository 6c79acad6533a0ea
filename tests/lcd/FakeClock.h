#pragma once

#include "platform/HighResolutionClock.h"

namespace dotvane::test {

// A high-resolution counter that moves on by Step ticks at every read, so
// waits end without real time passing. Installs itself for its lifetime.
class FakeClock : public platform::HighResolutionClock {
    // Stands in for the system's own while it lives.
    platform::HighResolutionClockService::Scoped installed_{*this};

public:
    bool QueryFrequency(int64_t& ticksPerSecond) override
    {
        ++FrequencyQueries;
        ticksPerSecond = Frequency;
        return HasFrequency;
    }

    bool QueryCounter(int64_t& ticks) override
    {
        ++CounterReads;
        Now += Step;
        ticks = Now;
        return HasCounter;
    }

    int64_t Frequency = 1'000'000'000;
    int64_t Step = 1000;
    int64_t Now = 0;
    bool HasFrequency = true;
    bool HasCounter = true;
    int FrequencyQueries = 0;
    int CounterReads = 0;
};

}  // namespace dotvane::test
