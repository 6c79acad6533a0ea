// The host-side cost of one port write through the port component, beside
// a direct call of the same library function; the same through the real
// port library, once with an out instruction after gaining I/O permission
// and once through the ppdev path; and how closely the KS0108 strobe delay
// meets short waits.
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
        if (name == PL::kRequestAccessName || name == PL::kSelectDeviceName || name == PL::kCheckDeviceName)
            return nullptr;
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

// The real library through I/O permission: one out instruction to port
// 0x80, the POST code port that the kernel itself writes to as a short
// delay. Where the kernel refuses the permission (no root or
// CAP_SYS_RAWIO, lockdown, or a kernel built without ioperm), the library
// still runs its whole path but drops the write instead of the
// instruction; the label says which was measured.
void BM_WriteThroughIoperm(benchmark::State& state)
{
    dotvane::TDLPortIO component(dotvane::platform::SystemServiceManager(),
                                 dotvane::platform::SystemLibraryLoader());
    component.DLLPath = DOTVANE_RUNTIME_DIR;
    component.DeviceBase = 0x80;  // no printer port is there, so no device is used
    component.Registers = {{0x80, 1}};
    component.OpenDriver();
    if (component.ActiveHW) {
        state.SetLabel("out instruction");
    } else {
        component.Registers.clear();
        component.OpenDriver();
        state.SetLabel("permission refused: write dropped before the out instruction");
    }
    uint8_t value = 0;
    for (auto _ : state) component.SetPortByte(0x80, ++value);
}
BENCHMARK(BM_WriteThroughIoperm);

// The real library through its ppdev path, with /dev/null as the device
// (PpdevNullDevice.c): each write is one PPWDATA system call that the
// kernel answers without touching a port. A real ppdev device adds the out
// instruction above to it.
void BM_WriteThroughPpdev(benchmark::State& state)
{
    dotvane::TDLPortIO component(dotvane::platform::SystemServiceManager(),
                                 dotvane::platform::SystemLibraryLoader());
    component.DLLPath = DOTVANE_RUNTIME_DIR;
    component.Device = "/dev/null";
    component.Registers = {{888, 3}};
    component.OpenDriver();
    if (!component.ActiveHW) {
        state.SkipWithError(component.DeviceProblem.c_str());
        return;
    }
    uint8_t value = 0;
    for (auto _ : state) component.SetPortByte(888, ++value);
}
BENCHMARK(BM_WriteThroughPpdev);

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
