#pragma once

#include "platform/CounterQuery.h"
#include "platform/linux/pdh/CounterPath.h"
#include "platform/linux/pdh/CounterSampler.h"

#include <filesystem>
#include <map>
#include <vector>

namespace dotvane::platform {

// Performance counters computed from /proc and /sys (given as roots) for the
// Windows counter paths of CounterPath.h, with the call results of the
// Performance Data Helper:
// - PdhAddCounter fails for a path it does not understand; an instance that
//   does not exist (an interface that is down and gone, a processor number
//   too high) is only found at formatting time, which then fails with
//   kPdhInvalidData and the CStatus kPdhCstatusNoInstance.
// - A rate's value is the change between the last two collections, so it
//   exists from the second collection on; before that formatting fails with
//   kPdhInvalidData and the CStatus kPdhCstatusInvalidData. A count that
//   went backwards (a counter reset) is invalid data too.
// - Values are rounded to the nearest long integer and kept inside its range.
class CounterQueryLinux : public CounterQuery {
public:
    explicit CounterQueryLinux(std::filesystem::path procRoot = "/proc", std::filesystem::path sysRoot = "/sys",
                               KernelFileSnapshot& files = SystemKernelFiles());

    PdhStatus PdhOpenQuery(const char* dataSource, uintptr_t userData, PdhQueryHandle* query) override;
    PdhStatus PdhAddCounter(PdhQueryHandle query, const std::string& fullCounterPath, uintptr_t userData,
                            PdhCounterHandle* counter) override;
    PdhStatus PdhCollectQueryData(PdhQueryHandle query) override;
    PdhStatus PdhGetFormattedCounterValue(PdhCounterHandle counter, uint32_t format, uint32_t* type,
                                          PdhFmtCounterValue* value) override;
    PdhStatus PdhCloseQuery(PdhQueryHandle query) override;

private:
    struct Counter {
        PdhQueryHandle query = 0;
        CounterPath path;
        uintptr_t userData = 0;
        int samples = 0;
        CounterSample previous;
        CounterSample latest;
    };
    struct Query {
        uintptr_t userData = 0;
        std::vector<PdhCounterHandle> counters;
    };

    CounterSampler sampler_;
    std::map<PdhQueryHandle, Query> queries_;
    std::map<PdhCounterHandle, Counter> counters_;
    uintptr_t next_ = 1;
};

}  // namespace dotvane::platform
