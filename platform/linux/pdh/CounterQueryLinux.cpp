#include "platform/linux/pdh/CounterQueryLinux.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

namespace dotvane::platform {
namespace {

// The counter's value from its last two samples; nothing when the counts
// went backwards.
std::optional<double> Evaluate(CounterKind kind, const CounterSample& before, const CounterSample& after)
{
    if (!IsRate(kind)) return after.count;
    const double count = after.count - before.count;
    const double base = after.base - before.base;
    if (count < 0) return std::nullopt;
    if (base <= 0) return 0.0;
    switch (kind) {
    case CounterKind::ProcessorTime:
        return std::min(100.0, count * 100 / base);
    case CounterKind::DiskTime:
        // Busy milliseconds per elapsed millisecond, averaged over the disks.
        return std::min(100.0, count / (base * 1000 * after.instances) * 100);
    default:
        return count / base;
    }
}

int32_t ToLong(double value)
{
    if (std::isnan(value)) return 0;
    if (value >= INT32_MAX) return INT32_MAX;
    if (value <= INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(std::lround(value));
}

}  // namespace

CounterQueryLinux::CounterQueryLinux(std::filesystem::path procRoot, std::filesystem::path sysRoot,
                                     KernelFileSnapshot& files)
    : sampler_(std::move(procRoot), std::move(sysRoot), files)
{
}

PdhStatus CounterQueryLinux::PdhOpenQuery(const char* dataSource, uintptr_t userData, PdhQueryHandle* query)
{
    // Only real-time data; there are no log files to read here.
    if (query == nullptr || dataSource != nullptr) return kPdhInvalidArgument;
    *query = next_++;
    queries_[*query] = Query{userData, {}};
    return kErrorSuccess;
}

PdhStatus CounterQueryLinux::PdhAddCounter(PdhQueryHandle query, const std::string& fullCounterPath,
                                           uintptr_t userData, PdhCounterHandle* counter)
{
    const auto it = queries_.find(query);
    if (it == queries_.end()) return kPdhInvalidHandle;
    if (counter == nullptr) return kPdhInvalidArgument;
    CounterPath path;
    if (const PdhStatus status = ParseCounterPath(fullCounterPath, path); status != kErrorSuccess) return status;
    *counter = next_++;
    counters_[*counter] = Counter{query, std::move(path), userData, 0, {}, {}};
    it->second.counters.push_back(*counter);
    return kErrorSuccess;
}

PdhStatus CounterQueryLinux::PdhCollectQueryData(PdhQueryHandle query)
{
    const auto it = queries_.find(query);
    if (it == queries_.end()) return kPdhInvalidHandle;
    if (it->second.counters.empty()) return kPdhNoData;
    sampler_.Begin();
    for (const PdhCounterHandle handle : it->second.counters) {
        Counter& counter = counters_.at(handle);
        counter.previous = counter.latest;
        counter.latest = sampler_.Sample(counter.path);
        ++counter.samples;
    }
    return kErrorSuccess;
}

PdhStatus CounterQueryLinux::PdhGetFormattedCounterValue(PdhCounterHandle counter, uint32_t format, uint32_t*,
                                                         PdhFmtCounterValue* value)
{
    const auto it = counters_.find(counter);
    if (it == counters_.end()) return kPdhInvalidHandle;
    if (value == nullptr || (format & kPdhFmtLong) == 0) return kPdhInvalidArgument;
    const Counter& c = it->second;
    value->longValue = 0;
    auto invalid = [value](PdhStatus why) {
        value->CStatus = why;
        return kPdhInvalidData;
    };
    if (c.samples == 0) return invalid(kPdhCstatusInvalidData);
    if (!c.latest.present) return invalid(kPdhCstatusNoInstance);
    if (IsRate(c.path.kind) && (c.samples < 2 || !c.previous.present)) return invalid(kPdhCstatusInvalidData);
    const auto result = Evaluate(c.path.kind, c.previous, c.latest);
    if (!result) return invalid(kPdhCstatusInvalidData);
    value->CStatus = kPdhCstatusValidData;
    value->longValue = ToLong(*result);
    return kErrorSuccess;
}

PdhStatus CounterQueryLinux::PdhCloseQuery(PdhQueryHandle query)
{
    const auto it = queries_.find(query);
    if (it == queries_.end()) return kPdhInvalidHandle;
    for (const PdhCounterHandle handle : it->second.counters) counters_.erase(handle);
    queries_.erase(it);
    return kErrorSuccess;
}

}  // namespace dotvane::platform
