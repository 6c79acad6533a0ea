#include "vars/PerfCounterSource.h"

#include "config/Settings.h"

namespace dotvane {
namespace {

bool CountersOn() { return PerfCounters != nullptr && MainSettings.NTPerfMon.Enable; }

}  // namespace

void StartPerfCounters(const std::string& programFolder)
{
    if (!CountersOn()) return;
    PerfCounters->OpenQuery();
    PerfCounters->LoadCounters(programFolder);
}

void CollectPerfCounters()
{
    if (CountersOn()) PerfCounters->CollectCounters();
}

void StopPerfCounters()
{
    if (CountersOn()) PerfCounters->CloseQuery();
}

}  // namespace dotvane
