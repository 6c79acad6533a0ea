#include "PngReader.h"

#include "lcd/emulator/Glass.h"
#include "lcd/emulator/KS0108Panel.h"
#include "lcd/emulator/PanelSimulation.h"
#include "lcd/emulator/PrinterPort.h"
#include "lcd/emulator/T6963CPanel.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace dotvane::emulator {
namespace {

class PinLog : public Panel {
public:
    void PinsChanged(const PortPins& pins) override { last = pins; ++changes; }
    std::optional<uint8_t> DrivenData(const PortPins&) override { return driven; }
    PortPins last;
    int changes = 0;
    std::optional<uint8_t> driven;
};

TEST(PrinterPortTest, ControlBitsZeroOneAndThreeAreInvertedOnTheirPins)
{
    PinLog panel;
    PrinterPort port(888, &panel);
    port.Write(890, 0x00);
    EXPECT_TRUE(panel.last.Pin1);
    EXPECT_TRUE(panel.last.Pin14);
    EXPECT_FALSE(panel.last.Pin16);
    EXPECT_TRUE(panel.last.Pin17);
    port.Write(890, 0x0F);
    EXPECT_FALSE(panel.last.Pin1);
    EXPECT_FALSE(panel.last.Pin14);
    EXPECT_TRUE(panel.last.Pin16);
    EXPECT_FALSE(panel.last.Pin17);
    port.Write(888, 0xA5);
    EXPECT_EQ(panel.last.Data, 0xA5);
    EXPECT_EQ(panel.changes, 3);
}

TEST(PrinterPortTest, DataLinesTurnToInputsOnlyInBidirectionalMode)
{
    PinLog panel;
    panel.driven = 0x42;
    PrinterPort port(0x278, &panel);
    port.Write(0x278, 0x11);
    port.Write(0x27A, 0x20);
    // Standard mode: the direction bit does nothing, the latch reads back.
    EXPECT_FALSE(panel.last.DataIsInput);
    EXPECT_EQ(port.Read(0x278), 0x11);
    port.Write(0x278 + 0x402, 0x35);
    EXPECT_TRUE(panel.last.DataIsInput);
    EXPECT_EQ(port.Read(0x278), 0x42);
    panel.driven.reset();
    EXPECT_EQ(port.Read(0x278), 0xFF);  // nothing drives the lines
    EXPECT_EQ(port.Read(0x278 + 0x402), 0x35);
}

TEST(PrinterPortTest, OtherAddressesAreNotThisPort)
{
    PinLog panel;
    PrinterPort port(888, &panel);
    port.Write(889, 0x00);
    port.Write(891, 0x00);
    port.Write(0x3BC, 0x00);
    EXPECT_EQ(panel.changes, 0);
    EXPECT_EQ(port.Read(0x3BC), 0xFF);
}

// Feeds bytes to a T6963C through a wiring A port, as the driver does.
class T6963CBus {
public:
    explicit T6963CBus(T6963CPanel::Options options = {}) : panel(options), port(888, &panel) {}
    void Data(uint8_t value) { Send(value, {0x00, 0x02, 0x03, 0x02, 0x00}); }
    void Command(uint8_t value) { Send(value, {0x04, 0x06, 0x07, 0x06, 0x00}); }
    void Word(uint16_t value, uint8_t command)
    {
        Data(static_cast<uint8_t>(value));
        Data(static_cast<uint8_t>(value >> 8));
        Command(command);
    }
    uint8_t Status()
    {
        port.Write(0x378 + 0x402, 0x35);
        port.Write(890, 0x26);
        port.Write(890, 0x2E);
        const uint8_t status = port.Read(888);
        port.Write(890, 0x26);
        port.Write(890, 0x00);
        return status;
    }
    // Text home 0, 16 columns; graphic home 0x300; text and graphic on.
    void Setup()
    {
        Word(0, 0x40);
        Word(16, 0x41);
        Word(0x300, 0x42);
        Word(16, 0x43);
        Command(0x80);
        Command(0x9C);
    }

    T6963CPanel panel;
    PrinterPort port;

private:
    void Send(uint8_t value, std::initializer_list<uint8_t> controls)
    {
        port.Write(888, value);
        for (uint8_t c : controls) port.Write(890, c);
    }
};

TEST(T6963CPanelTest, ParametersAndCommandsSetTheAreas)
{
    T6963CBus bus;
    bus.Setup();
    EXPECT_EQ(bus.panel.TextHome(), 0);
    EXPECT_EQ(bus.panel.TextArea(), 16);
    EXPECT_EQ(bus.panel.GraphicHome(), 0x300);
    EXPECT_EQ(bus.panel.GraphicArea(), 16);
    EXPECT_EQ(bus.panel.DisplayMode(), 0x9C);
    bus.Word(0x1234, 0x24);
    EXPECT_EQ(bus.panel.AddressPointer(), 0x1234);
}

TEST(T6963CPanelTest, DataWritesMoveTheAddressPointer)
{
    T6963CBus bus;
    bus.Word(0x10, 0x24);
    bus.Data(0x21);
    bus.Command(0xC0);  // write, increment
    bus.Data(0x22);
    bus.Command(0xC4);  // write, pointer stays
    bus.Data(0x23);
    bus.Command(0xC2);  // write, decrement
    EXPECT_EQ(bus.panel.Memory(0x10), 0x21);
    EXPECT_EQ(bus.panel.Memory(0x11), 0x23);
    EXPECT_EQ(bus.panel.AddressPointer(), 0x10);
}

TEST(T6963CPanelTest, AutoWriteStoresConsecutiveBytesUntilReset)
{
    T6963CBus bus;
    bus.Word(0x300, 0x24);
    bus.Command(0xB0);
    EXPECT_EQ(bus.Status() & 0x08, 0x08);
    for (uint8_t b : {0xFF, 0x81, 0x00}) bus.Data(b);
    bus.Command(0xB2);
    bus.Data(0x77);  // a parameter again, not memory
    EXPECT_EQ(bus.panel.Memory(0x300), 0xFF);
    EXPECT_EQ(bus.panel.Memory(0x301), 0x81);
    EXPECT_EQ(bus.panel.Memory(0x303), 0x00);
    EXPECT_FALSE(bus.panel.AutoWrite());
}

TEST(T6963CPanelTest, BitSetAndResetChangeOneBit)
{
    T6963CBus bus;
    bus.Word(0x300, 0x24);
    bus.Command(0xFF);
    bus.Command(0xF8);
    EXPECT_EQ(bus.panel.Memory(0x300), 0x81);
    bus.Command(0xF7);
    EXPECT_EQ(bus.panel.Memory(0x300), 0x01);
}

TEST(T6963CPanelTest, GlassCombinesTheLayersByMode)
{
    T6963CBus bus;
    bus.Setup();
    bus.Word(0, 0x24);
    bus.Data(0x21);  // 'A' in the top-left cell
    bus.Command(0xC0);
    bus.Word(0x300, 0x24);
    bus.Data(0xFF);  // the top row of the first cell
    bus.Command(0xC0);
    // 'A' lights 18 pixels, 3 of them in the top row.
    EXPECT_EQ(ReadText(bus.panel.Render(), 0, 0, 8, 2), "? ");
    EXPECT_EQ(bus.panel.Render().LitCount(), 18 + 8 - 3);  // OR
    bus.Command(0x81);                                     // EXOR
    EXPECT_EQ(bus.panel.Render().LitCount(), 18 + 8 - 6);
    bus.Command(0x83);  // AND
    EXPECT_EQ(bus.panel.Render().LitCount(), 3);
    bus.Command(0x94);  // text only
    EXPECT_EQ(ReadText(bus.panel.Render(), 0, 0, 8, 2), "A ");
    bus.Command(0x90);  // display off
    EXPECT_EQ(bus.panel.Render().LitCount(), 0);
}

TEST(T6963CPanelTest, TheRomsAccentedLettersShowAsTheirBaseLetters)
{
    T6963CBus bus;
    bus.Setup();
    bus.Command(0x94);  // text only
    bus.Word(0, 0x24);
    // Ç, ü, ö, Ö, £, ƒ from the ROM, then a code of the character RAM.
    for (uint8_t code : {0x60, 0x61, 0x74, 0x79, 0x7C, 0x7F, 0x80}) {
        bus.Data(code);
        bus.Command(0xC0);
    }
    EXPECT_EQ(ReadText(bus.panel.Render(), 0, 0, 8, 7), "CuoOLf ");
}

TEST(T6963CPanelTest, CursorShowsItsLinesWhenSwitchedOn)
{
    T6963CBus bus;
    bus.Setup();
    bus.Word(0x0302, 0x21);  // column 2, row 3
    bus.Command(0xA1);       // two lines
    bus.Command(0x96);       // text and cursor
    const Glass glass = bus.panel.Render();
    EXPECT_EQ(glass.LitCount(), 16);
    EXPECT_TRUE(glass.At(16, 31));
    EXPECT_TRUE(glass.At(23, 30));
    EXPECT_FALSE(glass.At(16, 29));
}

TEST(T6963CPanelTest, StatusAnswersBusyForTheConfiguredPolls)
{
    T6963CBus bus({128, 64, 8, false, 2});
    EXPECT_EQ(bus.Status() & 0x03, 0x03);  // nothing taken yet
    bus.Data(0x00);
    EXPECT_EQ(bus.Status() & 0x03, 0x00);
    EXPECT_EQ(bus.Status() & 0x03, 0x00);
    EXPECT_EQ(bus.Status() & 0x03, 0x03);
    EXPECT_EQ(bus.panel.StatusReads(), 4);
}

TEST(T6963CPanelTest, WiringBTakesBytesOnItsOwnPins)
{
    T6963CPanel panel({128, 64, 8, true, 0});
    PrinterPort port(888, &panel);
    auto send = [&](uint8_t value, bool command) {
        for (uint8_t c : command ? std::vector<uint8_t>{0x04, 0x00} : std::vector<uint8_t>{0x0C, 0x08})
            port.Write(890, c);
        port.Write(888, value);
        for (uint8_t c : command ? std::vector<uint8_t>{0x01, 0x00, 0x0C} : std::vector<uint8_t>{0x09, 0x08, 0x0C})
            port.Write(890, c);
    };
    send(0x34, false);
    send(0x12, false);
    send(0x24, true);
    EXPECT_EQ(panel.AddressPointer(), 0x1234);
    EXPECT_EQ(panel.CommandsTaken(), 1);
    // A wiring A command sequence means nothing to a wiring B module.
    port.Write(888, 0x9F);
    for (uint8_t c : {0x04, 0x06, 0x07, 0x06, 0x00}) port.Write(890, c);
    EXPECT_EQ(panel.DisplayMode(), 0x90);
}

// Feeds a KS0108 pair the way the driver does.
class KS0108Bus {
public:
    KS0108Bus() : port(888, &panel) {}
    void Instruction(uint8_t chip, uint8_t code)
    {
        port.Write(890, chip | 0x09);
        port.Write(888, code);
        port.Write(890, chip | 0x08);
        port.Write(890, chip | 0x09);
    }
    void Data(uint8_t chip, uint8_t value)
    {
        port.Write(890, chip | 0x01);
        port.Write(888, value);
        port.Write(890, chip);
        port.Write(890, chip | 0x01);
    }
    KS0108Panel panel;
    PrinterPort port;
};

TEST(KS0108PanelTest, HalvesKeepTheirOwnAddresses)
{
    KS0108Bus bus;
    bus.Instruction(0, 0x3F);
    bus.Instruction(6, 0x3F);
    bus.Instruction(0, 0xBA);  // page 2, left only
    bus.Instruction(0, 0x40 | 63);
    bus.Data(0, 0x01);
    bus.Data(0, 0x02);  // Y wraps to 0 within the left half
    bus.Data(6, 0x80);  // right half: page 0, Y 0
    const Glass glass = bus.panel.Render();
    EXPECT_TRUE(glass.At(63, 16));
    EXPECT_TRUE(glass.At(0, 17));
    EXPECT_TRUE(glass.At(64, 7));
    EXPECT_EQ(glass.LitCount(), 3);
    EXPECT_EQ(bus.panel.Controller(0).DataWrites, 2);
    EXPECT_EQ(bus.panel.Controller(1).Instructions, 1);
}

TEST(KS0108PanelTest, BytesAreTakenOnTheFallingEdgeOfE)
{
    KS0108Bus bus;
    bus.Instruction(0, 0x3F);
    bus.port.Write(890, 0x01);
    bus.port.Write(888, 0xFF);
    bus.port.Write(890, 0x00);  // E rises: nothing yet
    EXPECT_EQ(bus.panel.Controller(0).DataWrites, 0);
    bus.port.Write(888, 0x0F);  // the data changes while E is high
    bus.port.Write(890, 0x01);
    EXPECT_EQ(bus.panel.Controller(0).DataWrites, 1);
    EXPECT_EQ(bus.panel.Controller(0).Memory[0][0], 0x0F);
}

TEST(KS0108PanelTest, StartLineScrollsAndDisplayOffBlanks)
{
    KS0108Bus bus;
    bus.Instruction(0, 0x3F);
    bus.Data(0, 0x01);  // line 0, column 0
    bus.Instruction(0, 0xC0 | 60);
    EXPECT_TRUE(bus.panel.Render().At(0, 4));
    bus.Instruction(0, 0x3E);
    EXPECT_EQ(bus.panel.Render().LitCount(), 0);
    EXPECT_EQ(bus.panel.Controller(0).Memory[0][0], 0x01);
}

TEST(KS0108PanelTest, UnselectedHalvesIgnoreTheBus)
{
    KS0108Bus bus;
    bus.Instruction(2, 0x3F);  // pin 14 low, pin 16 low: neither half
    bus.Instruction(4, 0x3F);  // pin 14 high, pin 16 high: both halves
    EXPECT_EQ(bus.panel.Controller(0).Instructions, 1);
    EXPECT_EQ(bus.panel.Controller(1).Instructions, 1);
}

TEST(GlassTest, PngHoldsTheGlassScaled)
{
    Glass glass(13, 5);
    glass.Set(0, 0, true);
    glass.Set(12, 4, true);
    glass.Set(7, 2, true);
    for (int scale : {1, 3}) {
        const auto read = test::ReadGlassPng(EncodePng(glass, scale), scale);
        ASSERT_TRUE(read.has_value()) << scale;
        EXPECT_EQ(*read, glass) << scale;
    }
}

TEST(GlassTest, LargePngSpansSeveralStoredBlocks)
{
    Glass glass(1024, 640);
    for (int i = 0; i < 640; ++i) glass.Set(i, i, true);
    const std::vector<uint8_t> png = EncodePng(glass, 1);
    EXPECT_GT(png.size(), 65535u);
    const auto read = test::ReadGlassPng(png, 1);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(*read, glass);
}

TEST(GlassTest, PbmListsEveryPixel)
{
    Glass glass(3, 2);
    glass.Set(1, 0, true);
    glass.Set(2, 1, true);
    EXPECT_EQ(EncodePbm(glass), "P1\n3 2\n010\n001\n");
}

TEST(GlassTest, TextReadsBackFromTheFontAndUnknownCellsShowAQuestionMark)
{
    Glass glass(12, 8);
    glass.Set(2, 0, true);  // top of '!'
    for (int r = 0; r < 5; ++r) glass.Set(2, r, true);
    glass.Set(2, 6, true);
    glass.Set(6 + 4, 6, true);
    EXPECT_EQ(ReadText(glass, 0, 0, 6, 2), "!?");
    EXPECT_EQ(ReadText(glass, 0, 0, 6, 3), "!? ");  // beyond the glass reads empty
}

TEST(SimulationConfigTest, EnvironmentChoosesTheModuleAndItsGlass)
{
    std::map<std::string, std::string> env;
    auto lookup = [&](const char* name) -> const char* {
        const auto it = env.find(name);
        return it == env.end() ? nullptr : it->second.c_str();
    };
    SimulationConfig config = SimulationConfig::FromEnvironment(lookup);
    EXPECT_EQ(config.Panel, SimulationConfig::Module::T6963C);
    EXPECT_EQ(config.Base, 888);
    EXPECT_EQ(config.PictureFile, "dotvane-glass.png");

    EXPECT_EQ(config.LogFile, "");

    env = {{"DOTVANE_SIM_PANEL", "KS0108"}, {"DOTVANE_SIM_BASE", "0x278"}, {"DOTVANE_SIM_PNG", "/tmp/g.png"},
           {"DOTVANE_SIM_SCALE", "2"}, {"DOTVANE_SIM_LOG", "/tmp/bytes.log"}};
    config = SimulationConfig::FromEnvironment(lookup);
    EXPECT_EQ(config.Panel, SimulationConfig::Module::KS0108);
    EXPECT_EQ(config.Base, 0x278);
    EXPECT_EQ(config.PictureFile, "/tmp/g.png");
    EXPECT_EQ(config.Scale, 2);
    EXPECT_EQ(config.LogFile, "/tmp/bytes.log");

    env = {{"DOTVANE_SIM_PANEL", "t6963c"}, {"DOTVANE_SIM_WIRING", "1"}, {"DOTVANE_SIM_WIDTH", "240"},
           {"DOTVANE_SIM_HEIGHT", "128"}, {"DOTVANE_SIM_FONT_WIDTH", "6"}, {"DOTVANE_SIM_BUSY_POLLS", "-1"}};
    config = SimulationConfig::FromEnvironment(lookup);
    EXPECT_TRUE(config.T6963C.WiringB);
    EXPECT_EQ(config.T6963C.Width, 240);
    EXPECT_EQ(config.T6963C.Height, 128);
    EXPECT_EQ(config.T6963C.FontWidth, 6);
    EXPECT_EQ(config.T6963C.BusyPolls, -1);

    // Values that do not parse or make no sense keep the defaults.
    env = {{"DOTVANE_SIM_BASE", "70000"}, {"DOTVANE_SIM_WIDTH", "wide"}, {"DOTVANE_SIM_FONT_WIDTH", "7"},
           {"DOTVANE_SIM_SCALE", "0"}, {"DOTVANE_SIM_PNG", ""}};
    config = SimulationConfig::FromEnvironment(lookup);
    EXPECT_EQ(config.Base, 888);
    EXPECT_EQ(config.T6963C.Width, 128);
    EXPECT_EQ(config.T6963C.FontWidth, 8);
    EXPECT_EQ(config.Scale, 4);
    EXPECT_EQ(config.PictureFile, "dotvane-glass.png");
}

TEST(PanelSimulationTest, WideAccessesSplitIntoBytesAndChangesAreReportedOnce)
{
    SimulationConfig config;
    config.Panel = SimulationConfig::Module::KS0108;
    PanelSimulation simulation(config);
    Glass glass;
    EXPECT_TRUE(simulation.TakeChangedGlass(glass));  // the first picture
    EXPECT_FALSE(simulation.TakeChangedGlass(glass));
    auto instruction = [&](uint16_t chip, uint8_t code) {
        simulation.Write(890, chip | 0x09u, 2);
        simulation.Write(888, code, 2);
        simulation.Write(890, chip | 0x08u, 2);
        simulation.Write(890, chip | 0x09u, 2);
    };
    instruction(0, 0xBB);  // page 3: nothing to see
    EXPECT_FALSE(simulation.TakeChangedGlass(glass));
    instruction(0, 0x3F);
    EXPECT_FALSE(simulation.TakeChangedGlass(glass));  // on, but still empty
    simulation.Write(890, 0x01, 2);
    simulation.Write(888, 0xFF, 2);
    simulation.Write(890, 0x00, 2);
    simulation.Write(890, 0x01, 2);
    ASSERT_TRUE(simulation.TakeChangedGlass(glass));
    EXPECT_EQ(glass.LitCount(), 8);
    EXPECT_TRUE(glass.At(0, 24));
    EXPECT_EQ(simulation.Read(888, 2), 0x7FFFu);  // data latch, then the status register
}

TEST(PanelSimulationTest, LogsEachByteTheT6963CTakes)
{
    PanelSimulation simulation(SimulationConfig{});
    std::vector<std::string> lines;
    simulation.LogBytes([&](const std::string& line) { lines.push_back(line); });
    auto send = [&](uint8_t value, uint8_t mode) {
        simulation.Write(888, value, 1);
        for (uint8_t control : {0x00, 0x02, 0x03, 0x02, 0x00})
            simulation.Write(890, static_cast<uint8_t>(control | mode), 1);
    };
    send(0x03, 0x00);
    send(0x00, 0x00);
    send(0x24, 0x04);
    // Strobes without /CE take nothing.
    simulation.Write(890, 0x01, 1);
    simulation.Write(890, 0x00, 1);
    EXPECT_EQ(lines, (std::vector<std::string>{"D 03", "D 00", "C 24"}));
    EXPECT_EQ(simulation.T6963C()->AddressPointer(), 0x0003);
}

TEST(PanelSimulationTest, LogsEachByteAKS0108ControllerTakesWithItsSide)
{
    SimulationConfig config;
    config.Panel = SimulationConfig::Module::KS0108;
    PanelSimulation simulation(config);
    std::vector<std::string> lines;
    simulation.LogBytes([&](const std::string& line) { lines.push_back(line); });
    // The control bits: 0 for E (inverted), 1 to leave the left controller
    // out (inverted), 2 to take the right one in, 3 for an instruction.
    auto strobe = [&](uint8_t control, uint8_t value) {
        simulation.Write(890, control | 0x01u, 1);
        simulation.Write(888, value, 1);
        simulation.Write(890, control, 1);
        simulation.Write(890, control | 0x01u, 1);
    };
    strobe(0x0C, 0x3F);  // both controllers, instruction
    strobe(0x00, 0xA5);  // left, data
    strobe(0x06, 0x01);  // right, data
    EXPECT_EQ(lines, (std::vector<std::string>{"L C 3F", "R C 3F", "L D A5", "R D 01"}));
    EXPECT_TRUE(simulation.KS0108()->Controller(1).DisplayOn);
}

}  // namespace
}  // namespace dotvane::emulator
