#pragma once

#include "FakePortLibrary.h"

#include "lcd/emulator/PanelSimulation.h"

namespace dotvane::test {

// Sends the fake library's accesses to an emulated module.
class EmulatedPort : public PortTarget {
public:
    explicit EmulatedPort(const emulator::SimulationConfig& config) : simulation(config) {}

    void Write(uint32_t port, uint32_t value, int width) override { simulation.Write(port, value, width); }
    uint32_t Read(uint32_t port, int width) override { return simulation.Read(port, width); }

    emulator::PanelSimulation simulation;
};

}  // namespace dotvane::test
