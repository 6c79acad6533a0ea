#include "render/ChangedArea.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace dotvane {
namespace {

RgbImage Yellow(int width = 128, int height = 64)
{
    RgbImage picture(width, height);
    picture.Fill(0xFFFF00);
    return picture;
}

struct Case {
    std::string name;
    // Changes a copy of the yellow 128 × 64 picture.
    std::function<RgbImage(RgbImage)> change;
    Rect expected;
};

TEST(ChangedAreaTest, FindsTheRectangleThatChanged)
{
    const std::vector<Case> cases = {
        {"the same picture", [](RgbImage p) { return p; }, Rect()},
        {"one pixel",
         [](RgbImage p) {
             p.SetPixel(5, 7, 0);
             return p;
         },
         Rect{5, 7, 1, 1}},
        {"the first and the last pixel",
         [](RgbImage p) {
             p.SetPixel(0, 0, 0);
             p.SetPixel(127, 63, 0);
             return p;
         },
         Rect{0, 0, 128, 64}},
        {"pixels on rows far apart, the lower one further left",
         [](RgbImage p) {
             p.SetPixel(90, 3, 0);
             p.SetPixel(91, 3, 0);
             p.SetPixel(20, 40, 1);
             return p;
         },
         Rect{20, 3, 72, 38}},
        {"a text row",
         [](RgbImage p) {
             for (int x = 0; x < 113; ++x) p.SetPixel(x, 16 + x % 7, 0);
             return p;
         },
         Rect{0, 16, 113, 7}},
        {"a larger picture", [](RgbImage) { return Yellow(240, 128); }, Rect{0, 0, 240, 128}},
        {"a smaller picture", [](RgbImage) { return Yellow(40, 16); }, Rect{0, 0, 40, 16}},
    };
    const RgbImage before = Yellow();
    for (const Case& c : cases) EXPECT_EQ(ChangedArea(before, c.change(before)), c.expected) << c.name;
}

TEST(ChangedAreaTest, EverythingIsNewAfterNoPicture)
{
    EXPECT_EQ(ChangedArea(RgbImage(), Yellow()), (Rect{0, 0, 128, 64}));
    EXPECT_TRUE(ChangedArea(RgbImage(), RgbImage()).IsEmpty());
}

}  // namespace
}  // namespace dotvane
