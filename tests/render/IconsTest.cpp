#include "tests/render/HardwareFixture.h"
#include "render/ImageFile.h"
#include "tests/support/BmpFile.h"
#include "tests/support/FakePlayer.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include "tests/support/HeldFifo.h"
#endif

namespace dotvane {
namespace {

// The T6963C with its pixel operations recorded instead of sent, one
// readable line each ("Set 6,6", "Reset 5,7").
class PixelRecordingT6963C : public TT6963CDriver {
public:
    using TT6963CDriver::TT6963CDriver;
    void SetPixel(int32_t x, int32_t y) override { calls.push_back("Set " + Position(x, y)); }
    void ResetPixel(int32_t x, int32_t y) override { calls.push_back("Reset " + Position(x, y)); }
    std::vector<std::string> calls;

private:
    static std::string Position(int32_t x, int32_t y) { return std::to_string(x) + "," + std::to_string(y); }
};

// Runs in a folder of its own, since icon names resolve against the current
// directory.
class IconsTest : public test::HardwareTest {
protected:
    void SetUp() override
    {
        HardwareTest::SetUp();
        previous = std::filesystem::current_path();
        std::filesystem::current_path(dir.Path());
    }
    void TearDown() override { std::filesystem::current_path(previous); }

    // Writes an icon of the given size filled with `fill`, with `mark` at
    // the listed pixels.
    struct Point {
        int x, y;
    };
    void WriteIcon(const std::string& name, int w, int h, RgbPixel fill, RgbPixel mark = 0,
                   std::vector<Point> marks = {})
    {
        RgbImage icon(w, h);
        icon.Fill(fill);
        for (const Point& p : marks) icon.SetPixel(p.x, p.y, mark);
        std::filesystem::create_directories(std::filesystem::path(name).parent_path().empty()
                                                ? "."
                                                : std::filesystem::path(name).parent_path());
        ASSERT_TRUE(test::WriteBmp(name, icon));
    }
    const std::vector<std::string>& Messages() const { return fixture.host.messages; }

    // A T6963C of the given size with its pixel operations recorded, and a
    // renderer that draws on it.
    struct RecordedT6963C {
        RecordedT6963C(IconsTest& test, int32_t size)
            : display(test.fixture.component, test.MainSettings, test.fixture.host),
              harness(test.MainSettings, display, test.fixture.host)
        {
            test.MainSettings.T6963C.Size = size;
            display.SetGeometry();
        }
        PixelRecordingT6963C display;
        test::RenderHarness harness;
    };

    test::TempDir dir;
    std::filesystem::path previous;
    test::FakePlayer player;
};

TEST_F(IconsTest, PlayerStateChoosesThePicture)
{
    const std::vector<std::pair<int32_t, std::string>> cases{
        {1, "images\\play.bmp"}, {3, "images\\pause.bmp"}, {0, "images\\stop.bmp"}, {2, "images\\stop.bmp"}};
    for (const auto& [state, file] : cases) {
        player.SetReply(0, 104, state);
        fixture.host.messages.clear();
        renderer.DrawIconElement("winampstatus(100,0)");
        renderer.DrawIconElement("textvar(100,0)");
        EXPECT_EQ(Messages(), (std::vector<std::string>(2, "Could not load or display icon " + file))) << state;
    }
    player.running = false;
    player.SetReply(0, 104, 1);
    fixture.host.messages.clear();
    renderer.DrawIconElement("winampstatus(100,0)");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Could not load or display icon images\\stop.bmp"}));
}

TEST_F(IconsTest, ChannelIconOnlyForMonoOrStereo)
{
    player.SetReply(2, 126, 1);
    renderer.DrawIconElement("winampchannels(110,0)");
    player.SetReply(2, 126, 2);
    renderer.DrawIconElement("winampchannels(110,0)");
    player.SetReply(2, 126, 6);
    renderer.DrawIconElement("winampchannels(110,0)");
    player.running = false;
    renderer.DrawIconElement("winampchannels(110,0)");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Could not load or display icon images\\mono9x7.bmp",
                                                    "Could not load or display icon images\\stereo9x7.bmp"}));
}

TEST_F(IconsTest, FileIconKeepsItsColoursWithTheBottomLeftTransparent)
{
    // Blue with a white bottom-left corner pixel and one red pixel.
    WriteIcon("icon.bmp", 4, 3, 0x0000FF, 0xFFFFFF, {Point{0, 2}});
    renderer.DrawIconElement("icon.bmp(10,20)");
    EXPECT_EQ(At(11, 20), 0x0000FFu);
    EXPECT_EQ(At(10, 22), kYellow);  // transparent corner

    // With a black corner, every black pixel is transparent.
    WriteIcon("dark.bmp", 3, 3, 0x000000, 0x00FF00, {Point{1, 1}});
    renderer.PrepareVirtualDisplay();
    renderer.DrawIconElement("dark.bmp(0,0)");
    EXPECT_EQ(At(0, 0), kYellow);
    EXPECT_EQ(At(1, 1), 0x00FF00u);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(IconsTest, T6963CResetsTheRectangleThenSetsTheBlackPixels)
{
    RecordedT6963C t6963c(*this, 1);
    const auto& display = t6963c.display;
    WriteIcon("grey.bmp", 2, 2, 0x404040);
    t6963c.harness.renderer.DrawIconElement("grey.bmp(5,6)");
    EXPECT_EQ(display.calls, (std::vector<std::string>{"Reset 5,6", "Reset 6,6", "Reset 5,7", "Reset 6,7"}));

    t6963c.display.calls.clear();
    WriteIcon("mark.bmp", 2, 2, 0xFFFFFF, 0x000000, {Point{1, 0}});
    t6963c.harness.renderer.DrawIconElement("mark.bmp(5,6)");
    EXPECT_EQ(display.calls,
              (std::vector<std::string>{"Reset 5,6", "Reset 6,6", "Reset 5,7", "Reset 6,7", "Set 6,6"}));
}

// Size 1 lines are 240 pixels, and there are 64 of them. Off them a pixel's
// address would land on the next line, in the text area or, wrapping round
// the controller's memory, anywhere: such pixels are left alone.
TEST_F(IconsTest, T6963CTouchesOnlyPixelsOnTheGraphicArea)
{
    RecordedT6963C t6963c(*this, 1);
    auto& display = t6963c.display;
    WriteIcon("mark.bmp", 2, 2, 0x000000, 0xFFFFFF, {Point{1, 0}});
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases{
        {"mark.bmp(-1,-1)", {"Reset 0,0", "Set 0,0"}},
        {"mark.bmp(239,63)", {"Reset 239,63", "Set 239,63"}},
        {"mark.bmp(238,-1)", {"Reset 238,0", "Reset 239,0", "Set 238,0", "Set 239,0"}},
        {"mark.bmp(240,0)", {}},
        {"mark.bmp(0,64)", {}},
        {"mark.bmp(2147483647,5)", {}},
        {"mark.bmp(-2147483648,-2147483648)", {}},
    };
    for (const auto& [descriptor, calls] : cases) {
        display.calls.clear();
        t6963c.harness.renderer.DrawIconElement(descriptor);
        EXPECT_EQ(display.calls, calls) << descriptor;
    }
}

TEST_F(IconsTest, AnIconFarLargerThanTheDisplayTouchesOnlyTheDisplay)
{
    RecordedT6963C t6963c(*this, 4);  // 128 × 128
    const auto& display = t6963c.display;
    WriteIcon("wide.bmp", 3000, 200, 0xFFFFFF);
    t6963c.harness.renderer.DrawIconElement("wide.bmp(-1000,-50)");
    EXPECT_EQ(display.calls.size(), 128u * 128u);
    EXPECT_EQ(display.calls.front(), "Reset 0,0");
    EXPECT_EQ(display.calls.back(), "Reset 127,127");
}

TEST_F(IconsTest, KS0108GetsWholeBandsOnly)
{
    UseKS0108();
    WriteIcon("small.bmp", 9, 7, 0x000000);
    renderer.DrawIconElement("small.bmp(0,0)");
    EXPECT_TRUE(port.Log.empty());
    EXPECT_EQ(At(8, 6), kYellow);  // black corner: the whole icon is transparent

    WriteIcon("big.bmp", 16, 16, 0xFFFFFF, 0x000000, {Point{0, 1}, Point{0, 15}});
    renderer.DrawIconElement("big.bmp(0,7)");
    const std::vector<test::Taken> taken = test::DecodeKS0108(port);
    std::set<uint8_t> pages;
    for (const test::Taken& t : taken)
        if (t.Instruction && (t.Value & 0xF8) == 0xB8) pages.insert(t.Value & 0x07);
    EXPECT_EQ(pages, (std::set<uint8_t>{1, 2}));
    // Column 0: band 0 holds image rows 1 … 8 (row 1 black), band 1 rows 9 … 16
    // (row 15 black, row 16 outside the picture).
    const std::vector<uint8_t> left = test::DataBytes(taken, TKS0108Driver::kLeft);
    ASSERT_EQ(left.size(), 32u);
    EXPECT_EQ(left[0], 0x01);
    EXPECT_EQ(left[16], 0x40);
}

TEST_F(IconsTest, DrawsTheCurrentScreensIconsInOrderAndReportsEachMissingOne)
{
    ScreenTable[0].Icon[3] = "b.bmp(0,0)";
    ScreenTable[0].Icon[1] = "a.bmp(0,0)";
    renderer.DrawIcons();
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Could not load or display icon a.bmp",
                                                    "Could not load or display icon b.bmp"}));
}

TEST_F(IconsTest, NothingOnTheVirtualDisplayWhileHidden)
{
    WriteIcon("icon.bmp", 4, 4, 0x0000FF, 0xFFFFFF, {Point{0, 3}});
    WindowShown = false;
    renderer.DrawIconElement("icon.bmp(0,0)");
    WindowShown = true;
    EXPECT_EQ(At(1, 1), kYellow);
}

TEST_F(IconsTest, OversizedAndFifoIconsAreReportedAndNotDrawn)
{
    UseT6963C(4);
    WriteIcon("wide.bmp", kImageSideLimit + 1, 2, 0x000000);
    const RgbImage before = renderer.VlcdBitmap.image;
    renderer.DrawIconElement("wide.bmp(0,0)");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Could not load or display icon wide.bmp"}));
    EXPECT_EQ(renderer.VlcdBitmap.image, before);
    EXPECT_TRUE(port.Log.empty());

#ifndef _WIN32
    test::HeldFifo fifo(dir.Path() / "fifo.bmp", "BM");
    const auto [prompt, messages] = test::ReadWhileHeld(fifo, [&] {
        renderer.DrawIconElement("fifo.bmp(0,0)");
        return Messages();
    });
    EXPECT_TRUE(prompt);
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages.back(), "Could not load or display icon fifo.bmp");
#endif
}

}  // namespace
}  // namespace dotvane
