#pragma once

#include "tests/lcd/BusDecoders.h"
#include "tests/lcd/EmulatedPort.h"
#include "tests/lcd/PortFixture.h"
#include "tests/support/RenderHarness.h"

#include <memory>

namespace dotvane::test {

// Settings, screens and displays as at program start, a port component open
// on a recording port, and a freshly prepared virtual display.
class HardwareTest : public ::testing::Test {
protected:
    HardwareTest() : fixture(port) { fixture.component.RunningOnNT = false; }

    void SetUp() override
    {
        fixture.component.OpenDriver();
        ASSERT_TRUE(fixture.component.ActiveHW);
        renderer.PrepareVirtualDisplay();
    }

    // Selects the T6963C with a layout and forgets the port traffic so far.
    void UseT6963C(int32_t size)
    {
        MainSettings.LCD.Type = 0;
        MainSettings.T6963C.Size = size;
        T6963CDriver.SetGeometry();
        port.Log.clear();
    }
    void UseKS0108()
    {
        MainSettings.LCD.Type = 1;
        port.Log.clear();
    }

    RgbPixel At(int x, int y) const { return renderer.VlcdBitmap.image.Pixel(x, y); }
    static constexpr RgbPixel kBlack = 0x000000, kYellow = 0xFFFF00, kWhite = 0xFFFFFF;

    RecordingPort port;
    DriverFixture fixture;
    RenderHarness harness{fixture.MainSettings, fixture.display, fixture.host};
    TMainSettings& MainSettings = fixture.MainSettings;
    ScreenEntries& ScreenTable = harness.ScreenTable;
    FontEntries& FontTable = harness.FontTable;
    bool& WindowShown = harness.WindowShown;
    Renderer& renderer = harness.renderer;
    TT6963CDriver& T6963CDriver = fixture.T6963C();
    TKS0108Driver& KS0108Driver = fixture.KS0108();
};

// The same on an emulated module whose glass tests can look at.
class PanelTest : public ::testing::Test {
protected:
    static emulator::SimulationConfig Config(emulator::SimulationConfig::Module module, int width, int height,
                                             int fontWidth)
    {
        emulator::SimulationConfig config;
        config.Panel = module;
        config.T6963C.Width = width;
        config.T6963C.Height = height;
        config.T6963C.FontWidth = fontWidth;
        return config;
    }

    // Opens the display of the given type on a fresh emulated module.
    void OpenPanel(const emulator::SimulationConfig& config)
    {
        harness.reset();
        fixture.reset();
        panel = std::make_unique<EmulatedPort>(config);
        fixture = std::make_unique<DriverFixture>(*panel);
        fixture->component.RunningOnNT = false;
        harness = std::make_unique<RenderHarness>(fixture->MainSettings, fixture->display, fixture->host);
    }

    emulator::Glass Glass() const { return panel->simulation.Render(); }

    std::unique_ptr<EmulatedPort> panel;
    std::unique_ptr<DriverFixture> fixture;
    std::unique_ptr<RenderHarness> harness;
};

}  // namespace dotvane::test
