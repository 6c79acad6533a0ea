// The host-side cost of one port write through the port component, beside
// a direct call of the same library function, and how closely the KS0108
// strobe delay meets short waits.
#include "config/Settings.h"
#include "lcd/KS0108Driver.h"
#include "lcd/TDLPortIO.h"
#include "platform/LibraryLoader.h"
#include "platform/PortLibrary.h"
#include "platform/ServiceManager.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

namespace {

namespace PL = dotvane::platform::PortLibrary;

// What the write lands on: a store the compiler must keep.
volatile uint32_t lastWrite = 0;

void WriteUchar(uint32_t port, uint8_t value) { lastWrite = port ^ value; }

// A port library whose entry points all store into lastWrite.
class SinkLibrary : public dotvane::platform::LibraryLoader {
public:
    std::string FileName(const std::string& name) override { return name; }
    dotvane::platform::LibraryHandle Load(const std::string&, const std::string&) override { return this; }
    void* Symbol(dotvane::platform::LibraryHandle, const std::string& name) override
    {
        if (name == "DlPortWritePortUchar") return reinterpret_cast<void*>(&WriteUchar);
        if (name == PL::kRequestAccessName) return nullptr;
        return reinterpret_cast<void*>(&Unused);
    }
    bool Unload(dotvane::platform::LibraryHandle) override { return true; }

private:
    static void Unused() {}
};

void BM_DirectWrite(benchmark::State& state)
{
    PL::WriteUchar write = &WriteUchar;
    benchmark::DoNotOptimize(write);
    uint8_t value = 0;
    for (auto _ : state) write(888, ++value);
}
BENCHMARK(BM_DirectWrite);

void BM_WriteThroughComponent(benchmark::State& state)
{
    SinkLibrary library;
    dotvane::TDLPortIO component(dotvane::platform::SystemServiceManager(), library);
    component.RunningOnNT = false;
    component.OpenDriver();
    uint8_t value = 0;
    for (auto _ : state) component.SetPortByte(888, ++value);
}
BENCHMARK(BM_WriteThroughComponent);

// Each iteration waits n µs; the counters give the median and the 90th
// percentile of the time spent beyond n.
void BM_DelayMicroseconds(benchmark::State& state)
{
    const auto n = static_cast<int32_t>(state.range(0));
    dotvane::TDLPortIO component;
    const dotvane::TMainSettings settings;
    dotvane::TKS0108Driver driver(component, settings);
    std::vector<double> overshoot;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        driver.DelayMicroseconds(n);
        const auto elapsed = std::chrono::steady_clock::now() - start;
        overshoot.push_back(std::chrono::duration<double, std::nano>(elapsed).count() - n * 1000.0);
    }
    std::sort(overshoot.begin(), overshoot.end());
    state.counters["median_overshoot_ns"] = overshoot[overshoot.size() / 2];
    state.counters["p90_overshoot_ns"] = overshoot[overshoot.size() * 9 / 10];
}
BENCHMARK(BM_DelayMicroseconds)->Arg(1)->Arg(5)->Arg(20)->Unit(benchmark::kMicrosecond);

}  // namespace
