#include "platform/linux/pdh/CounterSampler.h"

#include <algorithm>
#include <charconv>
#include <system_error>
#include <utility>

namespace dotvane::platform {
namespace {

constexpr double kSectorBytes = 512;  // /proc/diskstats counts 512-byte sectors

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

bool AllDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

CounterSampler::CounterSampler(std::filesystem::path procRoot, std::filesystem::path sysRoot,
                               KernelFileSnapshot& files)
    : procRoot_(std::move(procRoot)),
      sysRoot_(std::move(sysRoot)),
      files_(files),
      stat_(procRoot_ / "stat"),
      meminfo_(procRoot_ / "meminfo"),
      uptimeFile_(procRoot_ / "uptime"),
      netDev_(procRoot_ / "net" / "dev"),
      diskstats_(procRoot_ / "diskstats"),
      loadavg_(procRoot_ / "loadavg")
{
}

void CounterSampler::Begin()
{
    cpusRead_ = false;
    memory_.reset();
    uptime_.reset();
    interfacesRead_ = false;
    disksRead_ = false;
}

template <typename Figures, typename Update>
void CounterSampler::Relist(std::map<std::string, Figures, std::less<>>& listed, std::string_view name, Update update)
{
    auto it = listed.find(name);
    if (it == listed.end()) it = listed.emplace(std::string(name), Figures{}).first;
    update(it->second);
    it->second.listed = true;
}

template <typename Figures>
void CounterSampler::DropUnlisted(std::map<std::string, Figures, std::less<>>& listed)
{
    std::erase_if(listed, [](const auto& entry) { return !entry.second.listed; });
}

CounterSample CounterSampler::Sample(const CounterPath& path)
{
    switch (path.kind) {
    case CounterKind::ProcessorTime:
        return ProcessorSample(path.instance);
    case CounterKind::AvailableBytes:
    case CounterKind::AvailableKBytes:
    case CounterKind::AvailableMBytes:
    case CounterKind::CommittedBytesInUse:
        return MemorySample(path.kind);
    case CounterKind::Processes:
    case CounterKind::Threads:
    case CounterKind::SystemUpTime:
        return SystemSample(path.kind);
    case CounterKind::BytesReceived:
    case CounterKind::BytesSent:
    case CounterKind::BytesTotal:
        return NetworkSample(path.kind, path.instance);
    case CounterKind::DiskReadBytes:
    case CounterKind::DiskWriteBytes:
    case CounterKind::DiskTime:
        return DiskSample(path.kind, path.instance);
    }
    return {};
}

const std::vector<CpuTimes>& CounterSampler::Cpus()
{
    if (!cpusRead_) ReadCpuTimesInto(files_, stat_, cpus_);
    cpusRead_ = true;
    return cpus_;
}

const CounterSampler::Memory& CounterSampler::MemoryKilobytes()
{
    if (memory_) return *memory_;
    memory_.emplace();
    const auto text = ReadKernelFile(files_, meminfo_);
    if (!text) return *memory_;
    Memory& memory = *memory_;
    const std::pair<std::string_view, std::optional<double>*> keys[] = {
        {"MemAvailable", &memory.available}, {"MemFree", &memory.free},
        {"Buffers", &memory.buffers},        {"Cached", &memory.cached},
        {"Committed_AS", &memory.committed}, {"CommitLimit", &memory.commitLimit},
    };
    // A key that appears twice counts with its last readable value.
    std::string_view rest = *text;
    for (std::string_view line; TakeLine(rest, line);) {
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        const std::string_view key = line.substr(0, colon);
        for (const auto& [name, figure] : keys) {
            if (key != name) continue;
            if (const auto value = ParseLeadingNumber(line.substr(colon + 1))) *figure = *value;
            break;
        }
    }
    return memory;
}

std::optional<double> CounterSampler::Uptime()
{
    if (!uptime_) uptime_ = ReadKernelNumber(files_, uptimeFile_);
    return *uptime_;
}

const std::map<std::string, CounterSampler::Traffic, std::less<>>& CounterSampler::Interfaces()
{
    if (interfacesRead_) return interfaces_;
    interfacesRead_ = true;
    for (auto& [name, traffic] : interfaces_) traffic.listed = false;
    // "  eth0: <8 receive figures> <8 transmit figures>", bytes first in each.
    const auto text = ReadKernelFile(files_, netDev_);
    std::string_view rest = text.value_or(std::string_view());
    for (std::string_view line; TakeLine(rest, line);) {
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        std::string_view fields = line.substr(colon + 1);
        std::string_view field, received, sent;
        size_t count = 0;
        for (; TakeField(fields, field); ++count) {
            if (count == 0) received = field;
            if (count == 8) sent = field;
        }
        if (count < 9) continue;
        Relist(interfaces_, Trim(line.substr(0, colon)), [&](Traffic& traffic) {
            traffic.received = ParseLeadingNumber(received).value_or(0);
            traffic.sent = ParseLeadingNumber(sent).value_or(0);
        });
    }
    DropUnlisted(interfaces_);
    return interfaces_;
}

std::map<std::string, CounterSampler::DiskActivity, std::less<>>& CounterSampler::Disks()
{
    if (disksRead_) return disks_;
    disksRead_ = true;
    for (auto& [name, activity] : disks_) activity.listed = false;
    // major minor name, then reads, merged, sectors read, ms reading,
    // writes, merged, sectors written, ms writing, in flight, ms busy, …
    const auto text = ReadKernelFile(files_, diskstats_);
    std::string_view rest = text.value_or(std::string_view());
    for (std::string_view line; TakeLine(rest, line);) {
        std::string_view fields[13];
        size_t count = 0;
        while (count < std::size(fields) && TakeField(line, fields[count])) ++count;
        if (count < std::size(fields)) continue;
        const auto figure = [&](size_t index) { return ParseLeadingNumber(fields[index]).value_or(0); };
        Relist(disks_, fields[2], [&](DiskActivity& activity) {
            activity.readBytes = figure(5) * kSectorBytes;
            activity.writtenBytes = figure(9) * kSectorBytes;
            activity.busyMilliseconds = figure(12);
        });
    }
    DropUnlisted(disks_);
    return disks_;
}

bool CounterSampler::IsPhysicalDisk(const std::string& name, DiskActivity& activity) const
{
    // Whole disks backed by a device; partitions, loop, RAM and mapper
    // devices have no "device" entry in /sys/block. Looked at once for as
    // long as the disk stays listed, however many totals ask.
    if (!activity.physical) {
        std::error_code ec;
        activity.physical = std::filesystem::exists(sysRoot_ / "block" / name / "device", ec);
    }
    return *activity.physical;
}

CounterSample CounterSampler::ProcessorSample(const std::string& instance)
{
    int cpu = -1;
    if (instance != "_Total") {
        if (!AllDigits(instance)) return {};
        const auto [end, ec] = std::from_chars(instance.data(), instance.data() + instance.size(), cpu);
        if (ec != std::errc{}) return {};
    }
    for (const CpuTimes& times : Cpus())
        if (times.cpu == cpu)
            return CounterSample{true, static_cast<double>(times.busy), static_cast<double>(times.total), 1};
    return {};
}

CounterSample CounterSampler::MemorySample(CounterKind kind)
{
    const Memory& memory = MemoryKilobytes();
    if (kind == CounterKind::CommittedBytesInUse) {
        const auto committed = memory.committed, limit = memory.commitLimit;
        if (!committed || !limit || *limit <= 0) return {};
        return CounterSample{true, *committed * 100 / *limit, 0, 1};
    }
    // Kernels before 3.14 have no MemAvailable; free memory and the caches
    // that can be dropped come close to it.
    std::optional<double> available = memory.available;
    if (!available) {
        if (!memory.free) return {};
        available = *memory.free + memory.buffers.value_or(0) + memory.cached.value_or(0);
    }
    const double bytes = *available * 1024;
    const double scale = kind == CounterKind::AvailableBytes    ? 1
                         : kind == CounterKind::AvailableKBytes ? 1024
                                                                : 1024 * 1024;
    return CounterSample{true, bytes / scale, 0, 1};
}

CounterSample CounterSampler::SystemSample(CounterKind kind)
{
    if (kind == CounterKind::SystemUpTime) {
        const auto uptime = Uptime();
        return uptime ? CounterSample{true, *uptime, 0, 1} : CounterSample{};
    }
    if (kind == CounterKind::Threads) {
        // The fourth field of loadavg is "running/existing" scheduling
        // entities, which are the system's threads.
        const auto text = ReadKernelFile(files_, loadavg_);
        if (!text) return {};
        const auto fields = SplitFields(*text);
        if (fields.size() < 4) return {};
        const size_t slash = fields[3].find('/');
        if (slash == std::string_view::npos) return {};
        const auto threads = ParseLeadingNumber(fields[3].substr(slash + 1));
        return threads ? CounterSample{true, *threads, 0, 1} : CounterSample{};
    }
    std::error_code ec;
    double processes = 0;
    std::filesystem::directory_iterator it(procRoot_, ec), end;
    if (ec) return {};
    for (; !ec && it != end; it.increment(ec))
        if (AllDigits(it->path().filename().string())) ++processes;
    return CounterSample{true, processes, 0, 1};
}

CounterSample CounterSampler::NetworkSample(CounterKind kind, const std::string& instance)
{
    const auto uptime = Uptime();
    if (!uptime) return {};
    auto bytes = [kind](const Traffic& t) {
        return kind == CounterKind::BytesReceived ? t.received
               : kind == CounterKind::BytesSent   ? t.sent
                                                  : t.received + t.sent;
    };
    const auto& interfaces = Interfaces();
    if (instance == "_Total") {
        // All interfaces but the loopback, which is no network interface.
        double total = 0;
        for (const auto& [name, traffic] : interfaces)
            if (name != "lo") total += bytes(traffic);
        return CounterSample{true, total, *uptime, 1};
    }
    const auto it = interfaces.find(instance);
    if (it == interfaces.end()) return {};
    return CounterSample{true, bytes(it->second), *uptime, 1};
}

CounterSample CounterSampler::DiskSample(CounterKind kind, const std::string& instance)
{
    const auto uptime = Uptime();
    if (!uptime) return {};
    auto figure = [kind](const DiskActivity& d) {
        return kind == CounterKind::DiskReadBytes    ? d.readBytes
               : kind == CounterKind::DiskWriteBytes ? d.writtenBytes
                                                     : d.busyMilliseconds;
    };
    auto& disks = Disks();
    if (instance == "_Total") {
        double total = 0, count = 0;
        for (auto& [name, activity] : disks) {
            if (!IsPhysicalDisk(name, activity)) continue;
            total += figure(activity);
            ++count;
        }
        return CounterSample{true, total, *uptime, std::max(count, 1.0)};
    }
    const auto it = disks.find(instance);
    if (it == disks.end()) return {};
    return CounterSample{true, figure(it->second), *uptime, 1};
}

}  // namespace dotvane::platform
