#pragma once

#include <string>
#include <string_view>

namespace dotvane {

// The performance-counter source. Only the NT build has one; it installs it
// at start, and the plain build leaves PerfCounters empty, so "pdh_" names
// expand to the empty text there.
class PerfCounterSource {
public:
    virtual ~PerfCounterSource() = default;
    // The value of a "pdh_" variable, by its whole name.
    virtual std::string Value(std::string_view name) = 0;
};

extern PerfCounterSource* PerfCounters;

}  // namespace dotvane
