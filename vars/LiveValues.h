#pragma once

#include "vars/MailCountVariable.h"
#include "vars/SensorMirror.h"
#include "vars/SetiStats.h"

#include <string>

namespace dotvane {

// What the timers gather for the variables to show. Kept for the whole run
// and only ever overwritten.
struct LiveValues {
    // Messages waiting in each mail account at its last check.
    MailCounts MailCount{};
    // The machine's address as the internet sees it, from the last lookup
    // that found it; "Unknown" until then.
    std::string ExternalAddress = "Unknown";
    // The SETI@home client's figures from the last reads of its files.
    TSetiStats SetiStats;
    // The motherboard monitor's readings.
    SensorReadings SensorMirror{};
};

}  // namespace dotvane
