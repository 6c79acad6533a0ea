#include "platform/qt/QtTextRasterizer.h"

#include "tests/support/Golden.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

namespace dotvane::platform {
namespace {

const std::string kGolden = std::string(DOTVANE_FIXTURES) + "/golden";
constexpr RgbPixel kWhite = 0xFFFFFF, kInk = 0x123456;

RgbImage RenderWhole(QtTextRasterizer& rasterizer, const TextFont& font, std::string_view text)
{
    const TextExtent extent = rasterizer.Measure(font, text);
    RgbImage picture(extent.Width, extent.Height);
    rasterizer.Render(font, text, 0, 0, kWhite, kInk, picture);
    return picture;
}

// Qt's own glyphs of DejaVu Sans, two colours and nothing between them.
TEST(QtTextRasterizerTest, TextsHaveQtsGlyphsInTwoColours)
{
    QtTextRasterizer rasterizer;
    const RgbImage picture = RenderWhole(rasterizer, {"DejaVu Sans", 10}, "CPU 42% Wq");
    ASSERT_FALSE(picture.IsNull());
    for (int32_t y = 0; y < picture.Height(); ++y)
        for (int32_t x = 0; x < picture.Width(); ++x)
            ASSERT_TRUE(picture.Pixel(x, y) == kWhite || picture.Pixel(x, y) == kInk) << x << "," << y;
    test::ExpectMatchesGolden(picture, kGolden, "dejavu-sans-10");
}

TEST(QtTextRasterizerTest, ATileIsThePartOfTheWholePicture)
{
    QtTextRasterizer rasterizer;
    const TextFont font{"DejaVu Sans", 31};
    const std::string text = "Wq|gjy 0123";
    const RgbImage whole = RenderWhole(rasterizer, font, text);
    RgbImage tile(40, 20);
    rasterizer.Render(font, text, 50, 12, kWhite, kInk, tile);
    for (int32_t y = 0; y < tile.Height(); ++y)
        for (int32_t x = 0; x < tile.Width(); ++x) ASSERT_EQ(tile.Pixel(x, y), whole.Pixel(50 + x, 12 + y)) << x << "," << y;
}

TEST(QtTextRasterizerTest, Latin1TextKeepsItsAccents)
{
    QtTextRasterizer rasterizer;
    const RgbImage accented = RenderWhole(rasterizer, {"DejaVu Sans", 12}, "Bj\xF6rk");
    const RgbImage plain = RenderWhole(rasterizer, {"DejaVu Sans", 12}, "Bjork");
    ASSERT_EQ(accented.Width(), plain.Width());
    EXPECT_NE(accented, plain);  // the dots over the o
}

// A point is 96/72 pixels whatever the screen's resolution says.
TEST(QtTextRasterizerTest, SizesAreForNinetySixDotsPerInch)
{
    QtTextRasterizer rasterizer;
    const TextExtent at10 = rasterizer.Measure({"DejaVu Sans", 10}, "M");
    const TextExtent at20 = rasterizer.Measure({"DejaVu Sans", 20}, "M");
    EXPECT_GE(at10.Height, 14);
    EXPECT_LE(at10.Height, 17);
    EXPECT_NEAR(at20.Height, 2 * at10.Height, 2);
    EXPECT_EQ(rasterizer.Measure({"", 10}, ""), (TextExtent{}));
}

}  // namespace
}  // namespace dotvane::platform
