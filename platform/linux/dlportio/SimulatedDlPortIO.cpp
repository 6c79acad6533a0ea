// The simulated port library: the same entry points as the real one, but
// every access goes to an emulated display module on an emulated printer
// port, chosen by the DOTVANE_SIM_* environment variables when the library
// is first used. After every write that changes what the module shows, its
// glass is written to the PNG file DOTVANE_SIM_PNG (replaced as a whole, so
// a viewer never sees half a picture). Access is always granted.
#include "lcd/emulator/PanelSimulation.h"
#include "platform/linux/dlportio/EntryPoints.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

using dotvane::emulator::Glass;
using dotvane::emulator::PanelSimulation;
using dotvane::emulator::SimulationConfig;

PanelSimulation& Simulation()
{
    static PanelSimulation simulation(
        SimulationConfig::FromEnvironment([](const char* name) { return std::getenv(name); }));
    return simulation;
}

void DrawGlass()
{
    PanelSimulation& simulation = Simulation();
    Glass glass;
    if (!simulation.TakeChangedGlass(glass)) return;
    const std::vector<uint8_t> png = dotvane::emulator::EncodePng(glass, simulation.Config().Scale);
    const std::filesystem::path target = simulation.Config().PictureFile;
    std::filesystem::path partial = target;
    partial += ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        if (!out) return;
        out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
        if (!out) return;
    }
    std::error_code error;
    std::filesystem::rename(partial, target, error);
}

template <typename Value>
Value In(uint32_t port)
{
    return static_cast<Value>(Simulation().Read(port, sizeof(Value)));
}

template <typename Value>
void Out(uint32_t port, Value value)
{
    Simulation().Write(port, value, sizeof(Value));
    DrawGlass();
}

template <typename Value>
void InBuffer(uint32_t port, Value* buffer, uint32_t count)
{
    for (uint32_t i = 0; i < count; ++i) buffer[i] = In<Value>(port);
}

template <typename Value>
void OutBuffer(uint32_t port, const Value* buffer, uint32_t count)
{
    for (uint32_t i = 0; i < count; ++i) Out<Value>(port, buffer[i]);
}

}  // namespace

uint8_t DlPortReadPortUchar(uint32_t port) { return In<uint8_t>(port); }
uint16_t DlPortReadPortUshort(uint32_t port) { return In<uint16_t>(port); }
uint32_t DlPortReadPortUlong(uint32_t port) { return In<uint32_t>(port); }
void DlPortWritePortUchar(uint32_t port, uint8_t value) { Out(port, value); }
void DlPortWritePortUshort(uint32_t port, uint16_t value) { Out(port, value); }
void DlPortWritePortUlong(uint32_t port, uint32_t value) { Out(port, value); }
void DlPortReadPortBufferUchar(uint32_t port, uint8_t* buffer, uint32_t count) { InBuffer(port, buffer, count); }
void DlPortReadPortBufferUshort(uint32_t port, uint16_t* buffer, uint32_t count) { InBuffer(port, buffer, count); }
void DlPortReadPortBufferUlong(uint32_t port, uint32_t* buffer, uint32_t count) { InBuffer(port, buffer, count); }
void DlPortWritePortBufferUchar(uint32_t port, const uint8_t* buffer, uint32_t count) { OutBuffer(port, buffer, count); }
void DlPortWritePortBufferUshort(uint32_t port, const uint16_t* buffer, uint32_t count) { OutBuffer(port, buffer, count); }
void DlPortWritePortBufferUlong(uint32_t port, const uint32_t* buffer, uint32_t count) { OutBuffer(port, buffer, count); }
int32_t DlPortRequestAccess(uint32_t, uint32_t) { return 0; }
