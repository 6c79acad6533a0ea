#include "lcd/NoDisplay.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/RenderHarness.h"

#include <gtest/gtest.h>

#include <limits>

namespace dotvane {
namespace {

class GraphHistoryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        MainSettings.VLCD.BmpColor = "clRed";
        Prepare();
    }
    void Prepare()
    {
        VlcdBitmap.image = RgbImage(128, 64);
        VlcdBitmap.image.Fill(kYellow);
        VlcdBitmap.penColor = StringToColor(MainSettings.VLCD.BmpColor);
    }
    void DrawGraph(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t value)
    {
        harness.renderer.DrawGraph(x1, y1, x2, y2, value);
    }
    RgbPixel At(int x, int y) const { return VlcdBitmap.image.Pixel(x, y); }
    static constexpr RgbPixel kBlack = 0x000000, kRed = 0xFF0000, kYellow = 0xFFFF00;

    NoDisplay display;
    test::RecordingHost host;
    TMainSettings MainSettings;
    test::RenderHarness harness{MainSettings, display, host};
    VirtualDisplayBuffer& VlcdBitmap = harness.renderer.VlcdBitmap;
    const std::array<int32_t, 64>& GraphHistory = harness.renderer.GraphHistory;
    const int32_t& GraphPointCount = harness.renderer.GraphPointCount;
};

TEST_F(GraphHistoryTest, NewestPointIsScaledToTheBoxWithFullScaleSixty)
{
    DrawGraph(0, 0, 99, 50, 30);
    EXPECT_EQ(GraphHistory[1], 25);  // aged once already
    DrawGraph(0, 0, 99, 50, 60);
    EXPECT_EQ(GraphHistory[1], 0);
    DrawGraph(0, 0, 99, 50, 90);
    EXPECT_EQ(GraphHistory[1], -25);
    EXPECT_EQ(GraphHistory[2], 0);
    EXPECT_EQ(GraphHistory[3], 25);
}

TEST_F(GraphHistoryTest, FirstRefreshDrawsOnlyTheAxesInThePenColour)
{
    DrawGraph(0, 0, 99, 50, 30);
    EXPECT_EQ(At(99, 0), kRed);
    EXPECT_EQ(At(99, 49), kRed);
    EXPECT_EQ(At(1, 50), kRed);
    EXPECT_EQ(At(50, 50), kRed);
    // As with a Windows pen, a line leaves out its end point.
    EXPECT_EQ(At(0, 50), kYellow);
    EXPECT_EQ(At(98, 25), kYellow);  // no series yet
    EXPECT_EQ(VlcdBitmap.penColor, clBlack);
    EXPECT_EQ(GraphPointCount, 1);
}

TEST_F(GraphHistoryTest, SeriesGrowsByOnePointPerRefreshUpToTheBoxWidth)
{
    for (int refresh = 1; refresh <= 25; ++refresh) {
        Prepare();
        DrawGraph(0, 0, 99, 50, refresh % 2 ? 30 : 60);
    }
    EXPECT_EQ(GraphPointCount, 19);  // 99 div 5
    // The 20 points of the last refresh reach from x = 99 to x = 4, where
    // the pen stops without setting the end point itself.
    bool reachesFour = false, beyondFour = false;
    for (int y = 0; y < 64; ++y) {
        reachesFour = reachesFour || At(4, y) == kBlack;
        beyondFour = beyondFour || At(3, y) == kBlack;
    }
    EXPECT_TRUE(reachesFour);
    EXPECT_FALSE(beyondFour);
    EXPECT_EQ(At(4, GraphHistory[20]), kYellow);
}

TEST_F(GraphHistoryTest, LaterGraphsOfARefreshDrawTheirAxesInBlack)
{
    DrawGraph(0, 0, 50, 30, 10);
    DrawGraph(60, 0, 110, 30, 10);
    EXPECT_EQ(At(50, 0), kRed);
    EXPECT_EQ(At(110, 0), kBlack);
}

TEST_F(GraphHistoryTest, TwoGraphsShareOneSeries)
{
    DrawGraph(0, 0, 50, 60, 60);     // point at y = 0
    DrawGraph(60, 0, 110, 60, 0);    // point at y = 60
    EXPECT_EQ(GraphHistory[1], 60);
    EXPECT_EQ(GraphHistory[2], 0);
    EXPECT_EQ(GraphPointCount, 2);
}

TEST_F(GraphHistoryTest, WideBoxesNeverWritePastTheHistory)
{
    for (int refresh = 0; refresh < 200; ++refresh) DrawGraph(0, 0, 2000, 60, refresh);
    EXPECT_EQ(GraphPointCount, 62);
}

TEST_F(GraphHistoryTest, ExtremeValuesAndReversedCornersAreHarmless)
{
    DrawGraph(0, 0, 99, 50, std::numeric_limits<int32_t>::max());
    DrawGraph(0, 0, 99, 50, std::numeric_limits<int32_t>::min());
    DrawGraph(99, 50, 0, 0, 30);
    DrawGraph(0, 0, 99, 50, 30);
    EXPECT_EQ(GraphHistory[1], 25);
}

TEST_F(GraphHistoryTest, DrawsIntoTheHistoryEvenWithoutABuffer)
{
    VlcdBitmap.image = RgbImage();
    DrawGraph(0, 0, 99, 50, 30);
    EXPECT_EQ(GraphHistory[1], 25);
}

// Boxes reaching far past the display cost no more than small ones: the
// painter cuts every line at the picture's edge, and what lies on it shows.
TEST_F(GraphHistoryTest, BoxesFarLargerThanTheDisplayShowTheirPartOnIt)
{
    DrawGraph(-2000000000, -2000000000, 5, 2000000000, 0);
    for (int y = 0; y < 64; ++y) EXPECT_EQ(At(5, y), kRed) << y;
    Prepare();
    DrawGraph(-2000000000, 5, 2000000000, 30, 0);
    for (int x = 0; x < 128; ++x) EXPECT_EQ(At(x, 30), kRed) << x;
}

}  // namespace
}  // namespace dotvane
