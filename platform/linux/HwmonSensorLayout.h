#pragma once

#include "platform/linux/KernelFiles.h"

#include <cstddef>
#include <filesystem>
#include <vector>

namespace dotvane::platform {

// Builds the motherboard monitor's sensor section from the kernel's own
// readings, for machines where no monitor program publishes one:
//
//   bytes 8 + 8·i / 12 + 8·i   type and count of index entry i (0 … 8):
//                              1 temperatures ×32, 2 voltages ×16,
//                              3 fans ×16, 4 clock ×1, 5 usage ×(1 + CPUs)
//   bytes 88 + 80·j + 16       reading of record j, a little-endian double
//
// so that records 0 … 31 are temperatures in °C (hwmon temp*_input),
// 32 … 47 voltages in V (in*_input), 48 … 63 fan speeds in RPM (fan*_input),
// 64 the processor clock in MHz (cpufreq of cpu0, else /proc/cpuinfo) and
// 65 … the processor usage in percent (/proc/stat: all processors first, then
// each one, at most 35 in all). Sensors are taken in the order of the hwmon
// devices' numbers, then of their channel numbers; records without a sensor
// read 0. Usage is the busy share since the previous Build, so the first
// Build reports 0.
class HwmonSensorLayout {
public:
    static constexpr size_t kIndexOffset = 8;
    static constexpr size_t kRecordsOffset = 88;
    static constexpr size_t kRecordSize = 80;
    static constexpr size_t kReadingOffset = 16;

    HwmonSensorLayout(std::filesystem::path sysRoot, std::filesystem::path procRoot);

    // The section's bytes; empty when the machine offers none of the
    // readings above.
    std::vector<std::byte> Build();

private:
    std::filesystem::path sysRoot_;
    std::filesystem::path procRoot_;
    std::vector<CpuTimes> previous_;
};

}  // namespace dotvane::platform
