#pragma once

#include <array>
#include <cstddef>

namespace dotvane {

// The program's copy of the motherboard monitor's readings: slot j holds the
// reading of the section's record j from the last refresh that announced it,
// 0 until then. Never cleared, so readings outlive a monitor that stops.
inline constexpr size_t kSensorSlots = 100;
using SensorReadings = std::array<double, kSensorSlots>;

// The most of the sensor section that is ever read: the index and the first
// 100 records up to the last one's reading, 88 + 80 × 99 + 24 bytes. A larger
// section is read only this far.
inline constexpr size_t kSensorSectionBytes = 8032;

// Copies the readings of the shared sensor section into the mirror, record
// j to slot j, for as many records as the section announces (at most 100,
// and never more than its view holds). Returns whether the section was read;
// without it the mirror stays as it was.
bool RefreshSensors(SensorReadings& SensorMirror);

// Refreshes the mirror at most once per refresh tick, and only in a tick
// that shows a reading: a screen without sensor variables costs no look at
// the section, nor, where no monitor publishes one, at the kernel's sensor
// files that stand in for it. The readings shown are the section's at the
// first reading of the tick.
class SensorRefresh {
public:
    explicit SensorRefresh(SensorReadings& SensorMirror) : mirror_(SensorMirror) {}
    SensorRefresh(const SensorRefresh&) = delete;
    SensorRefresh& operator=(const SensorRefresh&) = delete;

    // A new refresh tick: the next reading refreshes the mirror first.
    void BeginTick() { due_ = true; }
    // The mirror, refreshed first if this tick has not done so yet.
    const SensorReadings& Readings();

private:
    SensorReadings& mirror_;
    bool due_ = true;
};

}  // namespace dotvane
