#pragma once

#include "platform/linux/KernelFiles.h"

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
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
// devices' numbers, then of their channel numbers; a sensor that cannot be
// read is left out, and records without a sensor read 0. Usage is the busy
// share since the previous Build, so the first Build reports 0.
//
// Which sensor files exist, and where the clock comes from, is looked up at
// the first Build and again at the first Build after Rediscover; each Build
// in between reads only the values of the files found. /proc/cpuinfo is
// costly to produce (the kernel formats every processor's description) and
// only serves machines without cpufreq, where its clock is mostly the fixed
// nominal one: it is read again only when kCpuinfoPeriod has passed since
// its last read, and each Build in between shows the clock it gave then.
class HwmonSensorLayout {
public:
    static constexpr size_t kIndexOffset = 8;
    static constexpr size_t kRecordsOffset = 88;
    static constexpr size_t kRecordSize = 80;
    static constexpr size_t kReadingOffset = 16;
    static constexpr std::chrono::seconds kCpuinfoPeriod{10};

    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    // The roots stand for /sys and /proc; `now` tells the time that paces
    // the reads of /proc/cpuinfo.
    HwmonSensorLayout(std::filesystem::path sysRoot, std::filesystem::path procRoot,
                      KernelFileSnapshot& files = SystemKernelFiles(), Clock now = std::chrono::steady_clock::now);

    // Has the next Build look for the sensor files and the clock's source
    // again, as after hardware was added or removed.
    void Rediscover();

    // The section's bytes; empty when the machine offers none of the
    // readings above.
    std::vector<std::byte> Build();

private:
    // A sensor file and its channel number.
    struct Channel {
        int number = 0;
        std::filesystem::path file;
    };
    // The sensor files of one folder, each kind in the order of the channel
    // numbers.
    struct Folder {
        std::vector<Channel> temperatures;
        std::vector<Channel> voltages;
        std::vector<Channel> fans;
    };
    // One hwmon device: its own folder and, for older drivers, the device
    // folder below, whose files count when the own ones give no reading.
    struct Device {
        Folder own;
        Folder below;
    };
    struct Readings;

    void Discover();
    bool ReadDevice(const Device& device, Readings& readings);
    bool ReadFolder(const Folder& folder, Readings& readings);
    std::optional<double> ClockMhz();
    std::optional<double> CpuinfoMhz();

    std::filesystem::path sysRoot_;
    std::filesystem::path procRoot_;
    KernelFileSnapshot& files_;
    Clock now_;
    bool discovered_ = false;
    std::vector<Device> devices_;
    std::filesystem::path cpufreq_;
    std::filesystem::path stat_;
    bool hasCpufreq_ = false;
    std::optional<std::chrono::steady_clock::time_point> cpuinfoReadAt_;
    std::optional<double> cpuinfoMhz_;
    std::vector<CpuTimes> previous_;
    std::vector<CpuTimes> current_;
};

}  // namespace dotvane::platform
