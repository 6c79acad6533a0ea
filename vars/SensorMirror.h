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

}  // namespace dotvane
