#include "EmulatedPort.h"
#include "PortFixture.h"


#include <gtest/gtest.h>

namespace dotvane::test {
namespace {

using emulator::Glass;
using emulator::ReadText;
using emulator::SimulationConfig;

SimulationConfig T6963CConfig(int wiring, int busyPolls = 0)
{
    SimulationConfig config;
    config.T6963C.WiringB = wiring != 0;
    config.T6963C.BusyPolls = busyPolls;
    return config;
}

// The program with a T6963C (Size 4, 128 × 64) on an emulated port,
// opened through the display driver interface; parameter: the wiring.
class T6963CGlassTest : public ::testing::TestWithParam<int> {
protected:
    explicit T6963CGlassTest(int busyPolls = 0) : port(T6963CConfig(GetParam(), busyPolls)), fixture(port)
    {
        fixture.component.RunningOnNT = false;
        MainSettings.LCD.Type = 0;
        MainSettings.T6963C.Size = 4;
        MainSettings.T6963C.Wiring = GetParam();
    }

    Glass Shown() const { return port.simulation.Render(); }
    std::string Row(int row) const { return ReadText(Shown(), 0, 8 * row, 8, 16); }

    EmulatedPort port;
    DriverFixture fixture;
    TMainSettings& MainSettings = fixture.MainSettings;
    SelectedDisplay& display = fixture.display;
};

TEST_P(T6963CGlassTest, OpenLeavesTheGlassOnAndEmpty)
{
    display.Open();
    const emulator::T6963CPanel& panel = *port.simulation.T6963C();
    EXPECT_EQ(panel.DisplayMode(), 0x9D);
    EXPECT_EQ(panel.TextArea(), 16);
    EXPECT_EQ(panel.GraphicHome(), 0x300);
    EXPECT_EQ(Shown().LitCount(), 0);
}

TEST_P(T6963CGlassTest, WrittenTextShowsInItsRow)
{
    display.Open();
    display.SetTextPosition(0, 1);
    display.WriteText("Hello, World!");
    display.SetTextPosition(1, 7);
    display.WriteText("~{x}");
    EXPECT_EQ(Row(0), std::string(16, ' '));
    EXPECT_EQ(Row(1), "Hello, World!   ");
    EXPECT_EQ(Row(7), " ~{x}           ");
}

TEST_P(T6963CGlassTest, TextRunsOnIntoTheNextRow)
{
    display.Open();
    display.SetTextPosition(12, 2);
    display.WriteText("abcdefgh");
    EXPECT_EQ(Row(2), "            abcd");
    EXPECT_EQ(Row(3), "efgh            ");
}

TEST_P(T6963CGlassTest, SetPixelLightsExactlyOnePixel)
{
    display.Open();
    display.SetPixel(13, 2);
    EXPECT_EQ(Shown().LitCount(), 1);
    EXPECT_TRUE(Shown().At(13, 2));
    display.SetPixel(127, 63);
    EXPECT_TRUE(Shown().At(127, 63));
    display.ResetPixel(13, 2);
    EXPECT_EQ(Shown().LitCount(), 1);
    EXPECT_FALSE(Shown().At(13, 2));
}

TEST_P(T6963CGlassTest, BlankLeavesTheGlassEmpty)
{
    display.Open();
    display.SetTextPosition(0, 0);
    display.WriteText("Some text");
    display.SetPixel(50, 50);
    ASSERT_GT(Shown().LitCount(), 0);
    display.Blank();
    EXPECT_EQ(Shown().LitCount(), 0);
}

TEST_P(T6963CGlassTest, ClearKeepsTheBitmapLayerOfABitmapScreen)
{
    display.Open();
    display.SetPixel(100, 60);
    display.SetTextPosition(0, 0);
    display.WriteText("x");
    display.Clear(true);
    EXPECT_EQ(Shown().LitCount(), 1);
    display.Clear(false);
    EXPECT_EQ(Shown().LitCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Wirings, T6963CGlassTest, ::testing::Values(0, 1));

class SlowT6963CTest : public T6963CGlassTest {
protected:
    SlowT6963CTest() : T6963CGlassTest(3) { MainSettings.T6963C.CheckBusyFlag = true; }
};

TEST_P(SlowT6963CTest, BusyCheckWaitsForAModuleThatNeedsTime)
{
    display.Open();
    display.SetTextPosition(2, 4);
    display.WriteText("slow");
    EXPECT_EQ(Row(4), "  slow          ");
    EXPECT_GT(port.simulation.T6963C()->StatusReads(), 4 * (256 + 2048) * 2);
    EXPECT_TRUE(fixture.host.statusHistory.empty());
}

INSTANTIATE_TEST_SUITE_P(WiringA, SlowT6963CTest, ::testing::Values(0));

class SilentT6963CTest : public T6963CGlassTest {
protected:
    SilentT6963CTest() : T6963CGlassTest(-1) { MainSettings.T6963C.CheckBusyFlag = true; }
};

TEST_P(SilentT6963CTest, ModuleThatNeverGetsReadyStillShowsTheTextAndIsReportedOnce)
{
    display.Open();
    display.SetTextPosition(0, 0);
    display.WriteText("late");
    EXPECT_EQ(Row(0), "late            ");
    EXPECT_EQ(fixture.host.statusHistory.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(WiringA, SilentT6963CTest, ::testing::Values(0));

TEST(T6963CLayoutTest, Size1FillsA240PixelGlassWithSixPixelCells)
{
    SimulationConfig config;
    config.T6963C.Width = 240;
    config.T6963C.Height = 64;
    config.T6963C.FontWidth = 6;
    EmulatedPort port(config);
    DriverFixture fixture(port);
    fixture.component.RunningOnNT = false;
    fixture.MainSettings.LCD.Type = 0;
    SelectedDisplay& display = fixture.display;
    display.Open();
    display.SetTextPosition(30, 7);
    display.WriteText("bottom right");
    const Glass glass = port.simulation.Render();
    EXPECT_EQ(ReadText(glass, 30 * 6, 56, 6, 10), "bottom rig");
    display.SetPixel(239, 0);
    EXPECT_TRUE(port.simulation.Render().At(239, 0));
}

// The program with a KS0108 pair on an emulated port.
class KS0108GlassTest : public ::testing::Test {
protected:
    static SimulationConfig Config()
    {
        SimulationConfig config;
        config.Panel = SimulationConfig::Module::KS0108;
        return config;
    }

    KS0108GlassTest() : port(Config()), fixture(port)
    {
        fixture.component.RunningOnNT = false;
        MainSettings.LCD.Type = 1;
        display.Open();
    }

    Glass Shown() const { return port.simulation.Render(); }
    std::string Row(int row) const { return ReadText(Shown(), 0, 8 * row, 6, 21); }

    EmulatedPort port;
    DriverFixture fixture;
    TMainSettings& MainSettings = fixture.MainSettings;
    SelectedDisplay& display = fixture.display;
};

TEST_F(KS0108GlassTest, OpenSwitchesBothHalvesOnWithAnEmptyGlass)
{
    EXPECT_TRUE(port.simulation.KS0108()->Controller(0).DisplayOn);
    EXPECT_TRUE(port.simulation.KS0108()->Controller(1).DisplayOn);
    EXPECT_EQ(Shown().LitCount(), 0);
}

TEST_F(KS0108GlassTest, WrittenTextShowsInItsRow)
{
    display.SetTextPosition(2, 3);
    display.WriteText("Hi there");
    EXPECT_EQ(Row(3), "  Hi there           ");
    EXPECT_EQ(Row(2), std::string(21, ' '));
}

TEST_F(KS0108GlassTest, TextCrossesFromTheLeftIntoTheRightHalf)
{
    display.SetTextPosition(8, 5);
    display.WriteText("ABCDEFGH");
    EXPECT_EQ(Row(5), "        ABCDEFGH     ");
}

TEST_F(KS0108GlassTest, TextStopsAtTheRightEdge)
{
    display.SetTextPosition(0, 0);
    display.WriteText("0123456789abcdefghijkXYZ");
    EXPECT_EQ(Row(0), "0123456789abcdefghijk");
    // The 22nd character got its first two columns in 126 and 127 ('X'
    // starts 0x63, 0x14); nothing wrapped into the left half.
    EXPECT_TRUE(Shown().At(126, 0));
    EXPECT_EQ(ReadText(Shown(), 0, 8, 6, 21), std::string(21, ' '));
}

TEST_F(KS0108GlassTest, SpaceLeavesThePixelsBelowIt)
{
    display.SetTextPosition(0, 1);
    display.WriteText("AB");
    display.SetTextPosition(0, 1);
    display.WriteText(" C");
    EXPECT_EQ(Row(1).substr(0, 2), "AC");
}

TEST_F(KS0108GlassTest, RowsFromEightOnFallOnTheFirstPagesAgain)
{
    display.SetTextPosition(0, 9);
    display.WriteText("nine");
    EXPECT_EQ(Row(1).substr(0, 4), "nine");
}

TEST_F(KS0108GlassTest, BlankAndClearEmptyTheGlassAndPixelsDoNothing)
{
    display.SetTextPosition(0, 0);
    display.WriteText("text");
    const int lit = Shown().LitCount();
    ASSERT_GT(lit, 0);
    display.SetPixel(100, 40);
    EXPECT_EQ(Shown().LitCount(), lit);
    display.Blank();
    EXPECT_EQ(Shown().LitCount(), 0);
    display.WriteText("again");
    display.Clear(false);
    EXPECT_EQ(Shown().LitCount(), 0);
}

}  // namespace
}  // namespace dotvane::test
