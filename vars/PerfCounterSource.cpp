#include "vars/PerfCounterSource.h"

namespace dotvane {
namespace {

bool CountersOn(const PerfCounterSource* source, const TMainSettings& settings)
{
    return source != nullptr && settings.NTPerfMon.Enable;
}

}  // namespace

void StartPerfCounters(PerfCounterSource* source, const TMainSettings& settings, const std::string& programFolder)
{
    if (!CountersOn(source, settings)) return;
    source->OpenQuery();
    source->LoadCounters(programFolder);
}

void CollectPerfCounters(PerfCounterSource* source, const TMainSettings& settings)
{
    if (CountersOn(source, settings)) source->CollectCounters();
}

void StopPerfCounters(PerfCounterSource* source, const TMainSettings& settings)
{
    if (CountersOn(source, settings)) source->CloseQuery();
}

}  // namespace dotvane
