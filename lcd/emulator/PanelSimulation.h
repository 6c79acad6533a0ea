#pragma once

#include "lcd/emulator/Glass.h"
#include "lcd/emulator/KS0108Panel.h"
#include "lcd/emulator/PrinterPort.h"
#include "lcd/emulator/T6963CPanel.h"

#include <functional>
#include <memory>
#include <string>

namespace dotvane::emulator {

// Which module sits on the simulated port, and where its glass is drawn.
struct SimulationConfig {
    enum class Module { T6963C, KS0108 };
    Module Panel = Module::T6963C;
    uint16_t Base = 888;
    T6963CPanel::Options T6963C;
    std::string PictureFile = "dotvane-glass.png";
    int Scale = 4;
    // Where each byte the module takes is logged; nowhere when empty.
    std::string LogFile;

    // Reads the DOTVANE_SIM_* variables through `lookup` (which gives
    // nullptr for a variable that is not set); unset or unreadable values
    // keep the defaults above.
    static SimulationConfig FromEnvironment(const std::function<const char*(const char*)>& lookup);
};

// A printer port with one emulated module on it, taking I/O accesses of
// any width as the port library receives them.
class PanelSimulation {
public:
    explicit PanelSimulation(const SimulationConfig& config);

    // An access of `width` bytes (1, 2 or 4) at `port`: the bytes of the
    // value go to consecutive addresses, least significant first, as a
    // wide access on the ISA bus splits into byte cycles.
    void Write(uint32_t port, uint32_t value, int width);
    uint32_t Read(uint32_t port, int width);

    // Tells `line` each byte the module takes, as one line: "C 24" for a
    // command, "D 00" for a parameter or data; on the KS0108 after "L " or
    // "R " for the left or right controller, an instruction being a command.
    void LogBytes(std::function<void(const std::string& line)> line);

    Glass Render() const;
    // Renders the glass when the module's state changed since the last
    // call, and returns true (with the picture) when it differs from the
    // picture this returned last time.
    bool TakeChangedGlass(Glass& glass);

    const SimulationConfig& Config() const { return config_; }
    PrinterPort& Port() { return port_; }
    T6963CPanel* T6963C() { return t6963c_.get(); }
    KS0108Panel* KS0108() { return ks0108_.get(); }

private:
    uint64_t Revision() const;

    SimulationConfig config_;
    std::unique_ptr<T6963CPanel> t6963c_;
    std::unique_ptr<KS0108Panel> ks0108_;
    PrinterPort port_;
    uint64_t seenRevision_ = ~uint64_t{0};
    Glass lastTaken_;
};

}  // namespace dotvane::emulator
