#include "EmulatedPort.h"
#include "PortFixture.h"

#include "lcd/DisplayDriver.h"

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
};

TEST_P(T6963CGlassTest, OpenLeavesTheGlassOnAndEmpty)
{
    DisplayDriver::Open();
    const emulator::T6963CPanel& panel = *port.simulation.T6963C();
    EXPECT_EQ(panel.DisplayMode(), 0x9D);
    EXPECT_EQ(panel.TextArea(), 16);
    EXPECT_EQ(panel.GraphicHome(), 0x300);
    EXPECT_EQ(Shown().LitCount(), 0);
}

TEST_P(T6963CGlassTest, WrittenTextShowsInItsRow)
{
    DisplayDriver::Open();
    DisplayDriver::SetTextPosition(0, 1);
    DisplayDriver::WriteText("Hello, World!");
    DisplayDriver::SetTextPosition(1, 7);
    DisplayDriver::WriteText("~{x}");
    EXPECT_EQ(Row(0), std::string(16, ' '));
    EXPECT_EQ(Row(1), "Hello, World!   ");
    EXPECT_EQ(Row(7), " ~{x}           ");
}

TEST_P(T6963CGlassTest, TextRunsOnIntoTheNextRow)
{
    DisplayDriver::Open();
    DisplayDriver::SetTextPosition(12, 2);
    DisplayDriver::WriteText("abcdefgh");
    EXPECT_EQ(Row(2), "            abcd");
    EXPECT_EQ(Row(3), "efgh            ");
}

TEST_P(T6963CGlassTest, SetPixelLightsExactlyOnePixel)
{
    DisplayDriver::Open();
    DisplayDriver::SetPixel(13, 2);
    EXPECT_EQ(Shown().LitCount(), 1);
    EXPECT_TRUE(Shown().At(13, 2));
    DisplayDriver::SetPixel(127, 63);
    EXPECT_TRUE(Shown().At(127, 63));
    DisplayDriver::ResetPixel(13, 2);
    EXPECT_EQ(Shown().LitCount(), 1);
    EXPECT_FALSE(Shown().At(13, 2));
}

TEST_P(T6963CGlassTest, BlankLeavesTheGlassEmpty)
{
    DisplayDriver::Open();
    DisplayDriver::SetTextPosition(0, 0);
    DisplayDriver::WriteText("Some text");
    DisplayDriver::SetPixel(50, 50);
    ASSERT_GT(Shown().LitCount(), 0);
    DisplayDriver::Blank();
    EXPECT_EQ(Shown().LitCount(), 0);
}

TEST_P(T6963CGlassTest, ClearKeepsTheBitmapLayerOfABitmapScreen)
{
    DisplayDriver::Open();
    DisplayDriver::SetPixel(100, 60);
    DisplayDriver::SetTextPosition(0, 0);
    DisplayDriver::WriteText("x");
    ScreenTable[0].Bitmap = "back.bmp";
    DisplayDriver::Clear();
    EXPECT_EQ(Shown().LitCount(), 1);
    ScreenTable[0].Bitmap.clear();
    DisplayDriver::Clear();
    EXPECT_EQ(Shown().LitCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Wirings, T6963CGlassTest, ::testing::Values(0, 1));

class SlowT6963CTest : public T6963CGlassTest {
protected:
    SlowT6963CTest() : T6963CGlassTest(3) { MainSettings.T6963C.CheckBusyFlag = true; }
};

TEST_P(SlowT6963CTest, BusyCheckWaitsForAModuleThatNeedsTime)
{
    DisplayDriver::Open();
    DisplayDriver::SetTextPosition(2, 4);
    DisplayDriver::WriteText("slow");
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
    DisplayDriver::Open();
    DisplayDriver::SetTextPosition(0, 0);
    DisplayDriver::WriteText("late");
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
    MainSettings.LCD.Type = 0;
    DisplayDriver::Open();
    DisplayDriver::SetTextPosition(30, 7);
    DisplayDriver::WriteText("bottom right");
    const Glass glass = port.simulation.Render();
    EXPECT_EQ(ReadText(glass, 30 * 6, 56, 6, 10), "bottom rig");
    DisplayDriver::SetPixel(239, 0);
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
        DisplayDriver::Open();
    }

    Glass Shown() const { return port.simulation.Render(); }
    std::string Row(int row) const { return ReadText(Shown(), 0, 8 * row, 6, 21); }

    EmulatedPort port;
    DriverFixture fixture;
};

TEST_F(KS0108GlassTest, OpenSwitchesBothHalvesOnWithAnEmptyGlass)
{
    EXPECT_TRUE(port.simulation.KS0108()->Controller(0).DisplayOn);
    EXPECT_TRUE(port.simulation.KS0108()->Controller(1).DisplayOn);
    EXPECT_EQ(Shown().LitCount(), 0);
}

TEST_F(KS0108GlassTest, WrittenTextShowsInItsRow)
{
    DisplayDriver::SetTextPosition(2, 3);
    DisplayDriver::WriteText("Hi there");
    EXPECT_EQ(Row(3), "  Hi there           ");
    EXPECT_EQ(Row(2), std::string(21, ' '));
}

TEST_F(KS0108GlassTest, TextCrossesFromTheLeftIntoTheRightHalf)
{
    DisplayDriver::SetTextPosition(8, 5);
    DisplayDriver::WriteText("ABCDEFGH");
    EXPECT_EQ(Row(5), "        ABCDEFGH     ");
}

TEST_F(KS0108GlassTest, TextStopsAtTheRightEdge)
{
    DisplayDriver::SetTextPosition(0, 0);
    DisplayDriver::WriteText("0123456789abcdefghijkXYZ");
    EXPECT_EQ(Row(0), "0123456789abcdefghijk");
    // The 22nd character got its first two columns in 126 and 127 ('X'
    // starts 0x63, 0x14); nothing wrapped into the left half.
    EXPECT_TRUE(Shown().At(126, 0));
    EXPECT_EQ(ReadText(Shown(), 0, 8, 6, 21), std::string(21, ' '));
}

TEST_F(KS0108GlassTest, SpaceLeavesThePixelsBelowIt)
{
    DisplayDriver::SetTextPosition(0, 1);
    DisplayDriver::WriteText("AB");
    DisplayDriver::SetTextPosition(0, 1);
    DisplayDriver::WriteText(" C");
    EXPECT_EQ(Row(1).substr(0, 2), "AC");
}

TEST_F(KS0108GlassTest, RowsFromEightOnFallOnTheFirstPagesAgain)
{
    DisplayDriver::SetTextPosition(0, 9);
    DisplayDriver::WriteText("nine");
    EXPECT_EQ(Row(1).substr(0, 4), "nine");
}

TEST_F(KS0108GlassTest, BlankAndClearEmptyTheGlassAndPixelsDoNothing)
{
    DisplayDriver::SetTextPosition(0, 0);
    DisplayDriver::WriteText("text");
    const int lit = Shown().LitCount();
    ASSERT_GT(lit, 0);
    DisplayDriver::SetPixel(100, 40);
    EXPECT_EQ(Shown().LitCount(), lit);
    DisplayDriver::Blank();
    EXPECT_EQ(Shown().LitCount(), 0);
    DisplayDriver::WriteText("again");
    DisplayDriver::Clear();
    EXPECT_EQ(Shown().LitCount(), 0);
}

}  // namespace
}  // namespace dotvane::test
