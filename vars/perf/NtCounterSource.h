#pragma once

#include "base/Notices.h"
#include "vars/PerfCounterSource.h"
#include "vars/perf/CounterRecord.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace dotvane {

// The NT build's counter source: one query for the whole run, a
// CounterRecord per section of LCDPERF.INI whose counter could be added,
// found by the section's name. Every failure of the library is appended to
// the status line of `notices` with the call's name; nothing stops the
// program.
class NtCounterSource : public PerfCounterSource {
public:
    explicit NtCounterSource(Notices& notices) : notices_(notices) {}

    void OpenQuery() override;
    void LoadCounters(const std::string& programFolder) override;
    void CollectCounters() override;
    void CloseQuery() override;
    // The section's latest value times its multiplier, in the general
    // floating form with its precision; empty for a name without a record.
    std::string Value(std::string_view name) override;

private:
    Notices& notices_;
    platform::PdhQueryHandle query_ = 0;
    // In the order of creation, which is the order of collection.
    std::vector<std::unique_ptr<CounterRecord>> records_;
    std::map<std::string, CounterRecord*, std::less<>> CounterIndex;
};

}  // namespace dotvane
