#pragma once

#include "base/ServicePoint.h"

#include <cstdint>

namespace dotvane::platform {

// The power status as GetSystemPowerStatus reports it.
struct PowerStatusRecord {
    // 0 off line, 1 on line, 255 unknown.
    uint8_t ACLineStatus = 255;
    // Bits: 1 high (more than 66 %), 2 low (less than 33 %), 4 critical (less
    // than 5 %), 8 charging; 128 no system battery; 255 unknown.
    uint8_t BatteryFlag = 255;
    // 0 … 100, 255 unknown.
    uint8_t BatteryLifePercent = 255;
    // Seconds left, and seconds on a full charge; all bits set when unknown.
    uint32_t BatteryLifeTime = 0xFFFFFFFFu;
    uint32_t BatteryFullLifeTime = 0xFFFFFFFFu;
};

class PowerStatus {
public:
    virtual ~PowerStatus() = default;
    // Fills `status`; false when the system cannot tell (the record then
    // holds the unknown markers).
    virtual bool GetSystemPowerStatus(PowerStatusRecord& status) = 0;
};

// The system's implementation, created on first use.
PowerStatus& SystemPowerStatus();
// Where the program finds it: the system's own, or a stand-in a test
// installs.
using PowerStatusService = ServicePoint<PowerStatus, SystemPowerStatus>;

}  // namespace dotvane::platform
