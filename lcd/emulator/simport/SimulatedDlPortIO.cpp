// The simulated port library: the same entry points as the real one (on
// Linux libdlportio.so, on Windows DriverLINX's DLPortIO.dll), but every
// access goes to an emulated display module on an emulated printer port,
// chosen by the DOTVANE_SIM_* environment variables when the library is
// first used. After every write that changes what the module shows, its
// glass is written to the PNG file DOTVANE_SIM_PNG (replaced as a whole, so
// a viewer never sees half a picture), and each byte the module takes is
// appended to the file DOTVANE_SIM_LOG, if that is set, as it comes. Access
// is always granted.
#include "lcd/emulator/PanelSimulation.h"
#ifdef _WIN32
#include "lcd/emulator/simport/WindowsEntryPoints.h"
#else
#include "platform/linux/dlportio/EntryPoints.h"
#endif

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

using dotvane::emulator::Glass;
using dotvane::emulator::PanelSimulation;
using dotvane::emulator::SimulationConfig;

PanelSimulation& MakeSimulation()
{
    static PanelSimulation simulation(
        SimulationConfig::FromEnvironment([](const char* name) { return std::getenv(name); }));
    static std::ofstream log;
    if (!simulation.Config().LogFile.empty()) {
        log.open(simulation.Config().LogFile, std::ios::app);
        // Line by line, so that the log is whole however the program ends.
        simulation.LogBytes([](const std::string& line) { log << line << std::endl; });
    }
    return simulation;
}

PanelSimulation& Simulation()
{
    static PanelSimulation& simulation = MakeSimulation();
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
}  // namespace

#include "platform/PortLibraryEntryPointBodies.inc"

// The Linux library's request for access; the Windows library has none.
#ifndef _WIN32
int32_t DlPortRequestAccess(uint32_t, uint32_t) { return 0; }
#endif
