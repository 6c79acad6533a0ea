#include "config/Settings.h"
#include "vars/ExpandLine.h"
#include "vars/ExternalAddress.h"

#include <benchmark/benchmark.h>

namespace {

void BM_ExpandLinePlain(benchmark::State& state)
{
    for (auto _ : state) benchmark::DoNotOptimize(dotvane::ExpandLine("No variables in this line at all"));
}
BENCHMARK(BM_ExpandLinePlain);

void BM_ExpandLineCachedVariables(benchmark::State& state)
{
    dotvane::MainSettings.ExternalIP.Enable = true;
    dotvane::ExternalAddress = "192.0.2.7";
    for (auto _ : state) benchmark::DoNotOptimize(dotvane::ExpandLine("Mail $mailcount(0)$/$mailcount(1)$ $extip$"));
}
BENCHMARK(BM_ExpandLineCachedVariables);

}  // namespace
