#pragma once

#include "platform/linux/KernelFiles.h"
#include "platform/linux/pdh/CounterPath.h"

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace dotvane::platform {

// One sample of one counter.
struct CounterSample {
    // Whether the counter's instance existed when the sample was taken.
    bool present = false;
    // The reading; for rates a count that only grows (busy processor
    // ticks, bytes, milliseconds of disk activity).
    double count = 0;
    // For rates, what the count is measured against: processor ticks in
    // all, or seconds since boot.
    double base = 0;
    // How many disks a "% Disk Time" count covers.
    double instances = 1;
};

// Takes samples from the files of /proc and /sys (given as roots), read
// through a snapshot. A counter reads only the files it is computed from,
// and every source file is read at most once per collection.
class CounterSampler {
public:
    CounterSampler(std::filesystem::path procRoot, std::filesystem::path sysRoot, KernelFileSnapshot& files);

    // Starts a collection: what earlier ones read is forgotten.
    void Begin();
    CounterSample Sample(const CounterPath& path);

private:
    struct Traffic {
        double received = 0;
        double sent = 0;
        // Whether the last read of the file listed the interface.
        bool listed = false;
    };
    struct DiskActivity {
        double readBytes = 0;
        double writtenBytes = 0;
        double busyMilliseconds = 0;
        // Whether it is a whole disk, once a total asked; kept while the
        // disk stays listed.
        std::optional<bool> physical;
        bool listed = false;
    };
    // The figures of meminfo that the memory counters use, in kilobytes.
    struct Memory {
        std::optional<double> available;
        std::optional<double> free;
        std::optional<double> buffers;
        std::optional<double> cached;
        std::optional<double> committed;
        std::optional<double> commitLimit;
    };

    // The interfaces and disks are kept from one collection to the next and
    // updated in place, so that a collection allocates nothing once they
    // are known; one that is no longer listed is dropped.
    template <typename Figures, typename Update>
    void Relist(std::map<std::string, Figures, std::less<>>& listed, std::string_view name, Update update);
    template <typename Figures>
    static void DropUnlisted(std::map<std::string, Figures, std::less<>>& listed);

    const std::vector<CpuTimes>& Cpus();
    const Memory& MemoryKilobytes();
    std::optional<double> Uptime();
    const std::map<std::string, Traffic, std::less<>>& Interfaces();
    std::map<std::string, DiskActivity, std::less<>>& Disks();
    bool IsPhysicalDisk(const std::string& name, DiskActivity& activity) const;

    CounterSample ProcessorSample(const std::string& instance);
    CounterSample MemorySample(CounterKind kind);
    CounterSample SystemSample(CounterKind kind);
    CounterSample NetworkSample(CounterKind kind, const std::string& instance);
    CounterSample DiskSample(CounterKind kind, const std::string& instance);

    std::filesystem::path procRoot_;
    std::filesystem::path sysRoot_;
    KernelFileSnapshot& files_;
    const std::filesystem::path stat_, meminfo_, uptimeFile_, netDev_, diskstats_, loadavg_;
    bool cpusRead_ = false;
    std::vector<CpuTimes> cpus_;
    std::optional<Memory> memory_;
    std::optional<std::optional<double>> uptime_;
    bool interfacesRead_ = false;
    std::map<std::string, Traffic, std::less<>> interfaces_;
    bool disksRead_ = false;
    std::map<std::string, DiskActivity, std::less<>> disks_;
};

}  // namespace dotvane::platform
