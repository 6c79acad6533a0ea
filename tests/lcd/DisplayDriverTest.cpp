#include "PortFixture.h"

#include "lcd/DisplayDriver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dotvane::test {
namespace {

class DisplayDriverTest : public RecordingPortTest {
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

    void RunEveryOperation()
    {
        DisplayDriver::Open();
        DisplayDriver::Clear();
        DisplayDriver::SetTextPosition(1, 2);
        DisplayDriver::WriteText("text");
        DisplayDriver::SetPixel(3, 4);
        DisplayDriver::ResetPixel(3, 4);
        DisplayDriver::Blank();
    }
};

TEST_F(DisplayDriverTest, TypesWithoutAControllerTouchNothing)
{
    fixture.component.CloseDriver();
    for (int32_t type : {3, 2, -1, 100}) {
        MainSettings.LCD.Type = type;
        fixture.library.Loads.clear();
        RunEveryOperation();
        EXPECT_TRUE(port.Log.empty()) << "type " << type;
        EXPECT_TRUE(fixture.library.Loads.empty()) << "type " << type;
        EXPECT_TRUE(fixture.host.errors.empty()) << "type " << type;
    }
}

TEST_F(DisplayDriverTest, OpenOfTheT6963CInitialisesAndClearsBothLayers)
{
    fixture.component.CloseDriver();
    MainSettings.LCD.Type = 0;
    MainSettings.T6963C.Size = 4;
    DisplayDriver::Open();
    EXPECT_TRUE(fixture.component.ActiveHW);
    EXPECT_EQ(T6963CDriver.Columns, 16);
    EXPECT_EQ(MemoryWrites(), 256 + 2048);
    ASSERT_FALSE(port.Log.empty());
    EXPECT_EQ(port.Log[0].Value, 0x00u);  // the first byte is the text home's low byte
    EXPECT_TRUE(fixture.host.errors.empty());
}

TEST_F(DisplayDriverTest, ClearKeepsTheGraphicLayerUnderABitmap)
{
    MainSettings.LCD.Type = 0;
    MainSettings.T6963C.Size = 4;
    T6963CDriver.SetGeometry();
    CurrentScreen = 3;
    ScreenTable[3].Bitmap = "images\\back.bmp";
    DisplayDriver::Clear();
    EXPECT_EQ(MemoryWrites(), 256);

    port.Log.clear();
    ScreenTable[3].Bitmap.clear();
    DisplayDriver::Clear();
    EXPECT_EQ(MemoryWrites(), 2048 + 256);
    // The graphic layer goes first: its address comes first.
    ASSERT_GT(port.Log.size(), 6u);
    EXPECT_EQ(port.Log[0].Value, 0x00u);
    EXPECT_EQ(port.Log[6].Value, 0x03u);

    port.Log.clear();
    DisplayDriver::Blank();
    EXPECT_EQ(MemoryWrites(), 256 + 2048);
    ASSERT_GT(port.Log.size(), 6u);
    EXPECT_EQ(port.Log[6].Value, 0x00u);  // text first
}

TEST_F(DisplayDriverTest, ScreenNumberOutOfRangeCountsAsNoBitmap)
{
    MainSettings.LCD.Type = 0;
    MainSettings.T6963C.Size = 4;
    T6963CDriver.SetGeometry();
    CurrentScreen = 21;
    DisplayDriver::Clear();
    EXPECT_EQ(MemoryWrites(), 2048 + 256);
}

TEST_F(DisplayDriverTest, KS0108TextPositionAndPixels)
{
    MainSettings.LCD.Type = 1;
    DisplayDriver::SetTextPosition(3, 2);
    EXPECT_EQ(KS0108Driver.Column, 18);
    // Set address 18 to the left half, then page 2 to both halves.
    EXPECT_EQ(port.WritesTo(888, 2), (std::vector<uint32_t>{0x52, 0, 0x40, 0, 0xBA, 0, 0xBA, 0}));

    port.Log.clear();
    DisplayDriver::SetPixel(1, 1);
    DisplayDriver::ResetPixel(1, 1);
    EXPECT_TRUE(port.Log.empty());
}

TEST_F(DisplayDriverTest, FailedOpenReportsOnceAndLaterOperationsDoNothing)
{
    fixture.component.CloseDriver();
    fixture.library.LoadFails = true;
    for (int32_t type : {0, 1}) {
        fixture.host.errors.clear();
        MainSettings.LCD.Type = type;
        RunEveryOperation();
        EXPECT_EQ(fixture.host.errors, (std::vector<std::string>{"Could not open the DriverLINX driver."}));
        EXPECT_TRUE(port.Log.empty());
    }
}

TEST_F(DisplayDriverTest, TypeChangedAfterOpenReachesAnUninitialisedController)
{
    MainSettings.LCD.Type = 0;
    RunEveryOperation();
    EXPECT_FALSE(port.Log.empty());
    // The KS0108 was never opened, yet its writes go to the printer port
    // and nowhere else.
    port.Log.clear();
    MainSettings.LCD.Type = 1;
    DisplayDriver::WriteText("a");
    EXPECT_EQ(port.WritesTo(890, 2).size(), 3u * 6);
    for (const auto& access : port.Log) EXPECT_TRUE(access.Port == 888 || access.Port == 890) << access.Port;
}

class RecordingSink : public DisplayDriver::Sink {
public:
    void Open() override { calls.push_back("Open"); }
    void Blank() override { calls.push_back("Blank"); }
    void Clear() override { calls.push_back("Clear"); }
    void SetTextPosition(int32_t column, int32_t row) override
    {
        calls.push_back("SetTextPosition " + std::to_string(column) + " " + std::to_string(row));
    }
    void WriteText(std::string_view text) override { calls.push_back("WriteText " + std::string(text)); }
    void SetPixel(int32_t x, int32_t y) override { calls.push_back("SetPixel " + std::to_string(x) + " " + std::to_string(y)); }
    void ResetPixel(int32_t x, int32_t y) override
    {
        calls.push_back("ResetPixel " + std::to_string(x) + " " + std::to_string(y));
    }
    std::vector<std::string> calls;
};

TEST_F(DisplayDriverTest, RedirectTakesTheOperationsInsteadOfTheControllers)
{
    MainSettings.LCD.Type = 0;
    RecordingSink sink;
    DisplayDriver::Redirect(&sink);
    RunEveryOperation();
    DisplayDriver::Redirect(nullptr);
    EXPECT_TRUE(port.Log.empty());
    EXPECT_EQ(sink.calls, (std::vector<std::string>{"Open", "Clear", "SetTextPosition 1 2", "WriteText text",
                                                     "SetPixel 3 4", "ResetPixel 3 4", "Blank"}));
}

}  // namespace
}  // namespace dotvane::test
