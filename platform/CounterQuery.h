#pragma once

#include "base/ServicePoint.h"

#include <cstdint>
#include <string>

namespace dotvane::platform {

// The operating system's performance counters in the shape of the
// Performance Data Helper (pdh.dll): a query holds counters named by paths
// such as "\Processor(_Total)\% Processor Time"; each collection samples
// them all, and a counter's value is then formatted from its latest samples.
// Only the NT build links an implementation of this interface.

using PdhStatus = uint32_t;
using PdhQueryHandle = uintptr_t;
using PdhCounterHandle = uintptr_t;

inline constexpr PdhStatus kErrorSuccess = 0;
inline constexpr PdhStatus kPdhCstatusValidData = 0;
inline constexpr PdhStatus kPdhCstatusNoInstance = 0x800007D1;
inline constexpr PdhStatus kPdhNoData = 0x800007D5;
inline constexpr PdhStatus kPdhCstatusNoObject = 0xC0000BB8;
inline constexpr PdhStatus kPdhCstatusNoCounter = 0xC0000BB9;
inline constexpr PdhStatus kPdhCstatusInvalidData = 0xC0000BBA;
inline constexpr PdhStatus kPdhInvalidHandle = 0xC0000BBC;
inline constexpr PdhStatus kPdhInvalidArgument = 0xC0000BBD;
inline constexpr PdhStatus kPdhCstatusBadCountername = 0xC0000BC0;
inline constexpr PdhStatus kPdhInvalidData = 0xC0000BC6;

// The long-integer value format, the only one used.
inline constexpr uint32_t kPdhFmtLong = 0x00000100;

// PDH_FMT_COUNTERVALUE as far as the long-integer format fills it.
struct PdhFmtCounterValue {
    PdhStatus CStatus = 0;
    int32_t longValue = 0;
};

class CounterQuery {
public:
    virtual ~CounterQuery() = default;
    // Opens a query on real-time data when `dataSource` is null.
    virtual PdhStatus PdhOpenQuery(const char* dataSource, uintptr_t userData, PdhQueryHandle* query) = 0;
    virtual PdhStatus PdhAddCounter(PdhQueryHandle query, const std::string& fullCounterPath, uintptr_t userData,
                                    PdhCounterHandle* counter) = 0;
    // Takes one sample of every counter of the query. A query without
    // counters has nothing to collect (kPdhNoData).
    virtual PdhStatus PdhCollectQueryData(PdhQueryHandle query) = 0;
    // The counter's value from its latest samples. A rate needs two
    // collections; before that, and for an instance that is absent, the
    // call fails with kPdhInvalidData and CStatus tells why. `type` may be
    // null.
    virtual PdhStatus PdhGetFormattedCounterValue(PdhCounterHandle counter, uint32_t format, uint32_t* type,
                                                  PdhFmtCounterValue* value) = 0;
    // Closes the query and removes its counters.
    virtual PdhStatus PdhCloseQuery(PdhQueryHandle query) = 0;
};

// The system's implementation, created on first use.
CounterQuery& SystemCounterQuery();
// Where the program finds it: the system's own, or a stand-in a test
// installs.
using CounterQueryService = ServicePoint<CounterQuery, SystemCounterQuery>;

}  // namespace dotvane::platform
