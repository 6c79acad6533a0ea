#pragma once

#include "config/Settings.h"

#include <string>
#include <string_view>

namespace dotvane {

// The performance-counter source. Only the NT build has one; in the plain
// build there is none, and "pdh_" names expand to the empty text.
class PerfCounterSource {
public:
    virtual ~PerfCounterSource() = default;
    // Opens the one query of the run; a failure is appended to the status
    // line and the program goes on.
    virtual void OpenQuery() = 0;
    // Adds a counter for every section of LCDPERF.INI in the program folder
    // (given with a trailing separator), in file order.
    virtual void LoadCounters(const std::string& programFolder) = 0;
    // Samples every counter and keeps their latest values.
    virtual void CollectCounters() = 0;
    virtual void CloseQuery() = 0;
    // The value of a "pdh_" variable, by its whole name.
    virtual std::string Value(std::string_view name) = 0;
};

// What the main window calls at the three moments that concern the
// counters. Each does nothing without a source (the plain build) or while
// NTPerfMon/Enable is off, as read at the moment of the call.
// At start-up, after the settings are loaded: OpenQuery, then LoadCounters.
void StartPerfCounters(PerfCounterSource* source, const TMainSettings& settings, const std::string& programFolder);
// On every refresh tick, before the screen refresh.
void CollectPerfCounters(PerfCounterSource* source, const TMainSettings& settings);
// When the main window closes.
void StopPerfCounters(PerfCounterSource* source, const TMainSettings& settings);

}  // namespace dotvane
