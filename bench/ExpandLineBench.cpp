#include "config/Settings.h"
#include "vars/ExpandLine.h"
#include "vars/LiveValues.h"

#include <benchmark/benchmark.h>

namespace {

void BM_ExpandLinePlain(benchmark::State& state)
{
    const dotvane::TMainSettings settings;
    const dotvane::LiveValues values{};
    const dotvane::VariableContext context{settings, values};
    for (auto _ : state) benchmark::DoNotOptimize(dotvane::ExpandLine("No variables in this line at all", context));
}
BENCHMARK(BM_ExpandLinePlain);

void BM_ExpandLineCachedVariables(benchmark::State& state)
{
    dotvane::TMainSettings settings;
    settings.ExternalIP.Enable = true;
    dotvane::LiveValues values;
    values.ExternalAddress = "192.0.2.7";
    const dotvane::VariableContext context{settings, values};
    for (auto _ : state)
        benchmark::DoNotOptimize(dotvane::ExpandLine("Mail $mailcount(0)$/$mailcount(1)$ $extip$", context));
}
BENCHMARK(BM_ExpandLineCachedVariables);

}  // namespace
