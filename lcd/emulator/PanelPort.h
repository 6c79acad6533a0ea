#pragma once

#include "lcd/ParallelPort.h"
#include "lcd/emulator/PanelSimulation.h"

namespace dotvane::emulator {

// An emulated printer port with a module on it, as the display drivers use a
// port: every register access becomes a bus access of the simulation. It
// always opens. Each driver can have a port of its own, so several displays
// can run side by side.
class PanelPort : public ParallelPort {
public:
    explicit PanelPort(const SimulationConfig& config) : simulation(config) {}

    std::optional<PortOpenFailure> OpenRegisters(const std::string&, std::span<const PortRange>) override
    {
        return std::nullopt;
    }
    uint8_t ReadRegister(uint16_t base, PortRegister reg) override
    {
        return static_cast<uint8_t>(simulation.Read(Address(base, reg), 1));
    }
    void WriteRegister(uint16_t base, PortRegister reg, uint8_t value) override
    {
        simulation.Write(Address(base, reg), value, 1);
    }
    void WriteRegisterWord(uint16_t base, PortRegister reg, uint16_t value) override
    {
        simulation.Write(Address(base, reg), value, 2);
    }

    PanelSimulation simulation;
};

}  // namespace dotvane::emulator
