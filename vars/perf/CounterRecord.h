#pragma once

#include "platform/CounterQuery.h"

#include <cstdint>

namespace dotvane {

// One counter of LCDPERF.INI: how to show it, its latest value and the
// library's handle. The record is registered as the counter's user data.
struct CounterRecord {
    double multiplier = 1.0;
    int32_t precision = 4;
    // The last value formatted as a long integer; 0 until a collection.
    int32_t latestValue = 0;
    platform::PdhCounterHandle counter = 0;
};

}  // namespace dotvane
