#include "render/LineDrawing.h"

#include <gtest/gtest.h>

#include <limits>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace dotvane {
namespace {

using Pixels = std::set<std::pair<int, int>>;

Pixels Drawn(int x0, int y0, int x1, int y1, int size = 16)
{
    RgbImage image(size, size);
    image.Fill(0xFFFFFF);
    DrawLine(image, x0, y0, x1, y1, 0);
    Pixels pixels;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (image.Pixel(x, y) == 0) pixels.insert({x, y});
    return pixels;
}

// Lines from (8, 8) in each of the eight directions, each through a point
// half-way between two pixels, where the direction decides the rounding;
// the pixels are those a one-pixel Windows pen set with LineTo.
TEST(LineDrawingTest, EachDirectionRoundsAsAWindowsPen)
{
    const struct {
        int x1, y1;
        Pixels pixels;
    } cases[] = {
        {10, 9, {{8, 8}, {9, 8}}},
        {9, 10, {{8, 8}, {8, 9}}},
        {3, 14, {{4, 13}, {5, 11}, {5, 12}, {6, 10}, {7, 9}, {8, 8}}},
        {2, 9, {{3, 9}, {4, 9}, {5, 8}, {6, 8}, {7, 8}, {8, 8}}},
        {2, 3, {{3, 4}, {4, 5}, {5, 5}, {6, 6}, {7, 7}, {8, 8}}},
        {3, 2, {{4, 3}, {5, 4}, {5, 5}, {6, 6}, {7, 7}, {8, 8}}},
        {9, 2, {{8, 5}, {8, 6}, {8, 7}, {8, 8}, {9, 3}, {9, 4}}},
        {10, 7, {{8, 8}, {9, 7}}},
    };
    for (const auto& c : cases) EXPECT_EQ(Drawn(8, 8, c.x1, c.y1), c.pixels) << c.x1 << "," << c.y1;
}

TEST(LineDrawingTest, APenDrawnOnFromWhereItStoppedSetsEveryPointOnce)
{
    EXPECT_TRUE(Drawn(5, 5, 5, 5).empty());
    EXPECT_EQ(Drawn(2, 5, 5, 5), (Pixels{{2, 5}, {3, 5}, {4, 5}}));
    EXPECT_EQ(Drawn(5, 5, 5, 2), (Pixels{{5, 5}, {5, 4}, {5, 3}}));
}

TEST(LineDrawingTest, LinesFarBeyondThePictureShowTheirPartOnIt)
{
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min(), kMax = std::numeric_limits<int32_t>::max();
    Pixels row, column;
    for (int x = 0; x < 16; ++x) row.insert({x, 7});
    for (int y = 0; y < 16; ++y) column.insert({3, y});
    EXPECT_EQ(Drawn(kMin, 7, kMax, 7), row);
    EXPECT_EQ(Drawn(3, kMax, 3, kMin), column);
    // A diagonal through the picture from far away keeps its slope.
    Pixels diagonal;
    for (int i = 0; i < 16; ++i) diagonal.insert({i, i});
    EXPECT_EQ(Drawn(-2000000000, -2000000000, 2000000000, 2000000000), diagonal);
    EXPECT_TRUE(Drawn(kMin, kMin, kMin + 5, kMax).empty());
}

}  // namespace
}  // namespace dotvane
