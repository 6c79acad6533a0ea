#pragma once

#include "platform/CounterQuery.h"

#include <map>
#include <string>
#include <vector>

namespace dotvane::test {

// A counter library whose answers the test sets per counter path; installs
// itself for its lifetime and logs every call in order.
class FakeCounterQuery : public platform::CounterQuery {
    // Stands in for the system's own while it lives.
    platform::CounterQueryService::Scoped installed_{*this};

public:

    struct Answer {
        platform::PdhStatus status = platform::kErrorSuccess;
        platform::PdhStatus cstatus = platform::kPdhCstatusValidData;
        int32_t value = 0;
    };

    // Paths that PdhAddCounter accepts, with what formatting them gives.
    std::map<std::string, Answer> counters;
    platform::PdhStatus openStatus = platform::kErrorSuccess;
    platform::PdhStatus collectStatus = platform::kErrorSuccess;
    std::vector<std::string> calls;
    std::vector<uintptr_t> userData;

    platform::PdhStatus PdhOpenQuery(const char* dataSource, uintptr_t data, platform::PdhQueryHandle* query) override
    {
        calls.push_back(dataSource == nullptr ? "open" : "open log");
        userData.push_back(data);
        if (openStatus != platform::kErrorSuccess) return openStatus;
        *query = kQuery;
        return platform::kErrorSuccess;
    }
    platform::PdhStatus PdhAddCounter(platform::PdhQueryHandle query, const std::string& path, uintptr_t data,
                                      platform::PdhCounterHandle* counter) override
    {
        calls.push_back("add " + path);
        if (query != kQuery) return platform::kPdhInvalidHandle;
        if (!counters.contains(path)) return platform::kPdhCstatusNoCounter;
        userData.push_back(data);
        paths_.push_back(path);
        *counter = paths_.size();
        return platform::kErrorSuccess;
    }
    platform::PdhStatus PdhCollectQueryData(platform::PdhQueryHandle query) override
    {
        calls.push_back("collect");
        if (query != kQuery) return platform::kPdhInvalidHandle;
        return collectStatus;
    }
    platform::PdhStatus PdhGetFormattedCounterValue(platform::PdhCounterHandle counter, uint32_t format, uint32_t*,
                                                    platform::PdhFmtCounterValue* value) override
    {
        if (counter == 0 || counter > paths_.size() || format != platform::kPdhFmtLong)
            return platform::kPdhInvalidArgument;
        const std::string& path = paths_[counter - 1];
        calls.push_back("format " + path);
        const Answer& answer = counters.at(path);
        value->CStatus = answer.cstatus;
        value->longValue = answer.value;
        return answer.status;
    }
    platform::PdhStatus PdhCloseQuery(platform::PdhQueryHandle query) override
    {
        calls.push_back(query == kQuery ? "close" : "close unknown");
        return query == kQuery ? platform::kErrorSuccess : platform::kPdhInvalidHandle;
    }

private:
    static constexpr platform::PdhQueryHandle kQuery = 77;
    std::vector<std::string> paths_;
};

}  // namespace dotvane::test
