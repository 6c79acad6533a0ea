// Font texts on GDI, in the fonts the test prefix holds (Liberation in place
// of Arial and Courier New), against a golden picture of GDI's glyphs.
#include "platform/win32/GdiTextRasterizer.h"

#include "tests/support/Golden.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace dotvane::platform {
namespace {

constexpr RgbPixel kWhite = 0xFFFFFF, kInk = 0x123456;

RgbImage RenderWhole(GdiTextRasterizer& rasterizer, const TextFont& font, std::string_view text)
{
    const TextExtent extent = rasterizer.Measure(font, text);
    RgbImage picture(extent.Width, extent.Height);
    rasterizer.Render(font, text, 0, 0, kWhite, kInk, picture);
    return picture;
}

int InkPixels(const RgbImage& picture)
{
    int ink = 0;
    for (int32_t y = 0; y < picture.Height(); ++y)
        for (int32_t x = 0; x < picture.Width(); ++x) ink += picture.Pixel(x, y) == kInk;
    return ink;
}

// Two colours and nothing between them, the ink as 0x00RRGGBB rather than in
// a COLORREF's byte order.
TEST(GdiTextRasterizerTest, TextsHaveGdisGlyphsInTwoColours)
{
    GdiTextRasterizer rasterizer;
    const RgbImage picture = RenderWhole(rasterizer, {"Arial", 10}, "CPU 42% Wq");
    ASSERT_FALSE(picture.IsNull());
    const int32_t pixels = picture.Width() * picture.Height();
    EXPECT_EQ(InkPixels(picture) + std::count(picture.Bits(), picture.Bits() + pixels, kWhite), pixels);
    test::ExpectMatchesGolden(picture, std::string(DOTVANE_FIXTURES) + "/golden", "arial-10");
}

// A small tile, then one that grows the drawing surface, then a small one
// again on the grown surface.
TEST(GdiTextRasterizerTest, ATileIsThePartOfTheWholePicture)
{
    GdiTextRasterizer rasterizer;
    const TextFont font{"Arial", 31};
    const std::string text = "Wq|gjy 0123";
    const RgbImage whole = RenderWhole(rasterizer, font, text);
    const Rect tiles[] = {{50, 12, 40, 20}, {0, 0, whole.Width(), whole.Height()}, {whole.Width() - 30, 25, 30, 20}};
    for (const Rect& t : tiles) {
        RgbImage tile(t.Width, t.Height);
        rasterizer.Render(font, text, t.Left, t.Top, kWhite, kInk, tile);
        for (int32_t y = 0; y < tile.Height(); ++y)
            for (int32_t x = 0; x < tile.Width(); ++x)
                ASSERT_EQ(tile.Pixel(x, y), whole.Pixel(t.Left + x, t.Top + y)) << t.Left << ": " << x << "," << y;
    }
}

TEST(GdiTextRasterizerTest, AnsiTextKeepsItsAccents)
{
    ASSERT_EQ(::GetACP(), 1252u);
    GdiTextRasterizer rasterizer;
    const RgbImage accented = RenderWhole(rasterizer, {"Arial", 12}, "Bj\xF6rk");
    const RgbImage plain = RenderWhole(rasterizer, {"Arial", 12}, "Bjork");
    ASSERT_EQ(accented.Width(), plain.Width());
    EXPECT_GT(InkPixels(accented), InkPixels(plain));  // the dots over the o
}

// A point is 96/72 pixels whatever the screen's resolution says, the height
// is the font's line, and the font kept from the last call is the one asked
// for. The prefix maps Courier New onto a fixed-pitch face, and a face the
// system lacks still draws.
TEST(GdiTextRasterizerTest, SizesAndFacesAreTheOnesAskedFor)
{
    GdiTextRasterizer rasterizer;
    const TextExtent at10 = rasterizer.Measure({"Arial", 10}, "M");
    EXPECT_GE(at10.Height, 14);
    EXPECT_LE(at10.Height, 17);
    EXPECT_NEAR(rasterizer.Measure({"Arial", 20}, "M").Height, 2 * at10.Height, 2);
    EXPECT_EQ(rasterizer.Measure({"Arial", 10}, "M"), at10);
    EXPECT_EQ(rasterizer.Measure({"Arial", 10}, ""), (TextExtent{}));
    EXPECT_EQ(rasterizer.Measure({"Courier New", 10}, "iiii"), rasterizer.Measure({"Courier New", 10}, "WWWW"));
    EXPECT_LT(rasterizer.Measure({"Arial", 10}, "iiii").Width, rasterizer.Measure({"Arial", 10}, "WWWW").Width);
    for (const char* face : {"No Such Face", ""}) EXPECT_GT(rasterizer.Measure({face, 10}, "W").Width, 0) << face;
}

}  // namespace
}  // namespace dotvane::platform
