#include "BusDecoders.h"
#include "PortFixture.h"

#include "platform/FileNames.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>
#include <vector>

namespace dotvane::test {
namespace {

class SelectedDisplayTest : public RecordingPortTest {
protected:
    void SetUp() override { OpenPort(); }

    // The data register values of a wiring A stream that were sent as
    // commands 0xC0 (one per byte written to display memory).
    int MemoryWrites() const
    {
        int writes = 0;
        for (size_t i = 0; i + 1 < port.Log.size(); ++i) {
            writes += port.Log[i].Port == 888 && port.Log[i].Value == 0xC0 && port.Log[i + 1].Value == 0x04;
        }
        return writes;
    }

    // Runs every driver operation; returns what Open reported.
    std::optional<PortOpenFailure> RunEveryOperation()
    {
        const std::optional<PortOpenFailure> opened = display.Open();
        display.Clear(false);
        display.SetTextPosition(1, 2);
        display.WriteText("text");
        display.SetPixel(3, 4);
        display.ResetPixel(3, 4);
        display.Blank();
        return opened;
    }
};

TEST(DisplayKindTest, TypeZeroIsTheT6963COneTheKS0108AndAnyOtherNone)
{
    const std::vector<std::pair<int32_t, DisplayKind>> cases{
        {0, DisplayKind::T6963C}, {1, DisplayKind::KS0108}, {2, DisplayKind::None},  {3, DisplayKind::None},
        {-1, DisplayKind::None},  {100, DisplayKind::None}, {INT32_MIN, DisplayKind::None}};
    for (const auto& [type, kind] : cases) EXPECT_EQ(DisplayKindOf(type), kind) << type;
}

TEST_F(SelectedDisplayTest, TypesWithoutAControllerTouchNothing)
{
    fixture.component.CloseDriver();
    for (int32_t type : {3, 2, -1, 100}) {
        MainSettings.LCD.Type = type;
        fixture.library.Loads.clear();
        EXPECT_EQ(RunEveryOperation(), std::nullopt) << "type " << type;
        EXPECT_TRUE(port.Log.empty()) << "type " << type;
        EXPECT_TRUE(fixture.library.Loads.empty()) << "type " << type;
        EXPECT_FALSE(display.TakesElements()) << "type " << type;
    }
}

TEST_F(SelectedDisplayTest, OpenOfTheT6963CInitialisesAndClearsBothLayers)
{
    fixture.component.CloseDriver();
    MainSettings.LCD.Type = 0;
    MainSettings.T6963C.Size = 4;
    EXPECT_EQ(display.Open(), std::nullopt);
    EXPECT_TRUE(fixture.component.ActiveHW);
    EXPECT_EQ(T6963CDriver.Columns, 16);
    EXPECT_EQ(MemoryWrites(), 256 + 2048);
    ASSERT_FALSE(port.Log.empty());
    EXPECT_EQ(port.Log[0].Value, 0x00u);  // the first byte is the text home's low byte
}

TEST_F(SelectedDisplayTest, ClearKeepsTheGraphicLayerUnderABitmap)
{
    MainSettings.LCD.Type = 0;
    MainSettings.T6963C.Size = 4;
    T6963CDriver.SetGeometry();
    display.Clear(true);
    EXPECT_EQ(MemoryWrites(), 256);

    port.Log.clear();
    display.Clear(false);
    EXPECT_EQ(MemoryWrites(), 2048 + 256);
    // The graphic layer goes first: its address comes first.
    ASSERT_GT(port.Log.size(), 6u);
    EXPECT_EQ(port.Log[0].Value, 0x00u);
    EXPECT_EQ(port.Log[6].Value, 0x03u);

    port.Log.clear();
    display.Blank();
    EXPECT_EQ(MemoryWrites(), 256 + 2048);
    ASSERT_GT(port.Log.size(), 6u);
    EXPECT_EQ(port.Log[6].Value, 0x00u);  // text first
}

TEST_F(SelectedDisplayTest, KS0108TextPositionAndPixels)
{
    MainSettings.LCD.Type = 1;
    display.SetTextPosition(3, 2);
    EXPECT_EQ(KS0108Driver.Column, 18);
    // Set address 18 to the left half, then page 2 to both halves.
    EXPECT_EQ(port.WritesTo(888, 2), (std::vector<uint32_t>{0x52, 0, 0x40, 0, 0xBA, 0, 0xBA, 0}));

    port.Log.clear();
    display.SetPixel(1, 1);
    display.ResetPixel(1, 1);
    EXPECT_TRUE(port.Log.empty());
    // A KS0108 clears everything, bitmap or not.
    display.Clear(true);
    EXPECT_EQ(DataBytes(DecodeKS0108(port), TKS0108Driver::kLeft), std::vector<uint8_t>(512, 0));
}

TEST_F(SelectedDisplayTest, FailedOpenIsReportedOnceAndLaterOperationsDoNothing)
{
    fixture.component.CloseDriver();
    fixture.library.LoadFails = true;
    for (int32_t type : {0, 1}) {
        MainSettings.LCD.Type = type;
        EXPECT_EQ(RunEveryOperation(), (PortOpenFailure{"Could not open the DriverLINX driver.", ""}));
        EXPECT_TRUE(port.Log.empty());
    }
    EXPECT_TRUE(fixture.host.errors.empty());
}

TEST_F(SelectedDisplayTest, OpenAsksForTheRegistersOfTheControllerOfTheType)
{
    fixture.component.CloseDriver();
    MainSettings.LCD.Type = 0;
    MainSettings.Port.Base = 0x278;
    EXPECT_EQ(display.Open(), std::nullopt);
    std::string folder = platform::ProgramFolder();
    folder.pop_back();
    EXPECT_EQ(fixture.component.DriverPath, folder);
    EXPECT_EQ(fixture.library.AccessRequests, (std::vector<std::pair<uint32_t, uint32_t>>{{0x278, 3}, {0x67A, 1}}));

    fixture.component.CloseDriver();
    fixture.library.AccessRequests.clear();
    MainSettings.LCD.Type = 1;
    EXPECT_EQ(display.Open(), std::nullopt);
    EXPECT_EQ(fixture.library.AccessRequests, (std::vector<std::pair<uint32_t, uint32_t>>{{888, 4}}));
}

TEST_F(SelectedDisplayTest, TypeChangedAfterOpenReachesAnUninitialisedController)
{
    MainSettings.LCD.Type = 0;
    RunEveryOperation();
    EXPECT_FALSE(port.Log.empty());
    // The KS0108 was never opened, yet its writes go to the printer port
    // and nowhere else.
    port.Log.clear();
    MainSettings.LCD.Type = 1;
    display.WriteText("a");
    EXPECT_EQ(port.WritesTo(890, 2).size(), 3u * 6);
    for (const auto& access : port.Log) EXPECT_TRUE(access.Port == 888 || access.Port == 890) << access.Port;
}

TEST_F(SelectedDisplayTest, EachControllerKeepsItsSetUpWhileTheTypeSwitches)
{
    MainSettings.LCD.Type = 0;
    MainSettings.T6963C.Size = 4;
    display.Open();
    Display& t6963c = display.Of(DisplayKind::T6963C);
    MainSettings.LCD.Type = 1;
    MainSettings.T6963C.Size = 7;
    display.WriteText("x");
    MainSettings.LCD.Type = 0;
    EXPECT_EQ(&display.Of(DisplayKind::T6963C), &t6963c);
    // Still the layout it was opened with, not the one Size names now.
    EXPECT_EQ(T6963CDriver.Columns, 16);
    port.Log.clear();
    display.SetTextPosition(0, 1);
    EXPECT_EQ(Decode(port), (std::vector<Byte>{D(16), D(0x00), C(0x24)}));
}

}  // namespace
}  // namespace dotvane::test
