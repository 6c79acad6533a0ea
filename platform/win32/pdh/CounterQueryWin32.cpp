#include "platform/CounterQuery.h"

#include "platform/win32/Win32Api.h"

#include <pdh.h>

// The interface's methods carry the names of the ANSI calls.
#undef PdhOpenQuery
#undef PdhAddCounter

namespace dotvane::platform {
namespace {

PDH_HQUERY AsQuery(PdhQueryHandle query) { return reinterpret_cast<PDH_HQUERY>(query); }
PDH_HCOUNTER AsCounter(PdhCounterHandle counter) { return reinterpret_cast<PDH_HCOUNTER>(counter); }
PdhStatus Status(PDH_STATUS status) { return static_cast<PdhStatus>(status); }

// The Performance Data Helper of pdh.dll, called as it is.
class CounterQueryWin32 : public CounterQuery {
public:
    PdhStatus PdhOpenQuery(const char* dataSource, uintptr_t userData, PdhQueryHandle* query) override
    {
        PDH_HQUERY handle = nullptr;
        const PDH_STATUS status = ::PdhOpenQueryA(dataSource, userData, &handle);
        if (query != nullptr) *query = reinterpret_cast<PdhQueryHandle>(handle);
        return Status(status);
    }

    PdhStatus PdhAddCounter(PdhQueryHandle query, const std::string& fullCounterPath, uintptr_t userData,
                            PdhCounterHandle* counter) override
    {
        PDH_HCOUNTER handle = nullptr;
        const PDH_STATUS status = ::PdhAddCounterA(AsQuery(query), fullCounterPath.c_str(), userData, &handle);
        if (counter != nullptr) *counter = reinterpret_cast<PdhCounterHandle>(handle);
        return Status(status);
    }

    PdhStatus PdhCollectQueryData(PdhQueryHandle query) override { return Status(::PdhCollectQueryData(AsQuery(query))); }

    PdhStatus PdhGetFormattedCounterValue(PdhCounterHandle counter, uint32_t format, uint32_t* type,
                                          PdhFmtCounterValue* value) override
    {
        PDH_FMT_COUNTERVALUE formatted{};
        DWORD counterType = 0;
        const PDH_STATUS status =
            ::PdhGetFormattedCounterValue(AsCounter(counter), format, type != nullptr ? &counterType : nullptr, &formatted);
        if (type != nullptr) *type = counterType;
        if (value != nullptr) {
            value->CStatus = formatted.CStatus;
            value->longValue = formatted.longValue;
        }
        return Status(status);
    }

    PdhStatus PdhCloseQuery(PdhQueryHandle query) override { return Status(::PdhCloseQuery(AsQuery(query))); }
};

}  // namespace

CounterQuery& SystemCounterQuery()
{
    static CounterQueryWin32 query;
    return query;
}

}  // namespace dotvane::platform
