#include "render/BarPicture.h"
#include "render/DrawIntoImage.h"
#include "render/FontTextPicture.h"
#include "tests/support/FakeTextRasterizer.h"

#include <gtest/gtest.h>

namespace dotvane {
namespace {

constexpr TColor kInk = 0x123456;

// The font-text pictures are checked on the fake font engine everywhere, the
// Windows build too: against the fake's own whole picture, with the tiles it
// was asked for counted, and at sizes no system font is made for.

TEST(FontTextPicture, TilesMakeTheSamePictureAsOneWholeRendering)
{
    test::FakeTextRasterizer fonts;
    const std::string text = "Wq|gjy 0123456789 ABCDEFGHIJKLMNOP @%& Wq|gjy 0123456789 ABCDEFGHIJKLMNOP @%&";
    for (const int size : {8, 31, 90}) {
        const platform::TextExtent extent = fonts.Measure({"Any", size}, text);
        RgbImage whole(extent.Width, extent.Height);
        fonts.Render({"Any", size}, text, 0, 0, PixelOf(clWhite), PixelOf(kInk), whole);
        const FontTextPicture picture(text, "Any", size, clWhite, kInk);
        ASSERT_EQ(picture.Width(), whole.Width()) << size;
        ASSERT_EQ(picture.Height(), whole.Height()) << size;
        ASSERT_GT(picture.Width(), FontTextPicture::kTileWidth) << size;
        for (int y = 0; y < whole.Height(); ++y)
            for (int x = 0; x < whole.Width(); ++x)
                ASSERT_EQ(picture.Pixel(x, y), ToTColor(whole.Pixel(x, y))) << size << ": " << x << "," << y;
    }
    EXPECT_EQ(fonts.fonts.back(), (platform::TextFont{"Any", 90}));
}

TEST(FontTextPicture, AHugeTextRendersOnlyWhatIsRead)
{
    test::FakeTextRasterizer fonts;
    const FontTextPicture picture(std::string(2000, 'W'), "Any", 1000, clWhite, clBlack);
    ASSERT_GT(int64_t{picture.Width()} * picture.Height(), int64_t{1} << 30);
    EXPECT_EQ(picture.TilesRendered(), 0u);

    RgbImage display(128, 64);
    display.Fill(PixelOf(clYellow));
    DrawIntoImage(display, picture, -1000, -192, std::nullopt);
    EXPECT_EQ(picture.TilesRendered(), 2u);  // columns 1000 … 1127 cross a tile's edge
    EXPECT_EQ(picture.Pixel(picture.Width() - 1, picture.Height() - 1), clWhite);
    EXPECT_EQ(picture.TilesRendered(), 3u);
    EXPECT_EQ(fonts.renders, 3);
}

TEST(FontTextPicture, AnEmptyTextHasNoPixels)
{
    test::FakeTextRasterizer fonts;
    const FontTextPicture picture("", "Any", 10, clWhite, clBlack);
    EXPECT_EQ(picture.Width(), 0);
    EXPECT_EQ(picture.Height(), 0);
}

TEST(BarPicture, AnySizeIsWorkedOutWhereItIsRead)
{
    const BarPicture bar(2000000000, 2000000000, 1999999990, StringToColor("clYellow"), StringToColor("clBlack"));
    EXPECT_EQ(bar.Width(), 2000000000);
    EXPECT_TRUE(bar.IsOn(0, 1999999999));
    EXPECT_FALSE(bar.IsOn(4, 7));
    EXPECT_TRUE(bar.IsOn(1999999988, 0));
    EXPECT_FALSE(bar.IsOn(1999999990, 0));
    EXPECT_EQ(bar.Pixel(1999999990, 0), clYellow);

    // The bar's last 40 columns: 30 of them below the length.
    RgbImage display(128, 64);
    display.Fill(PixelOf(clWhite));
    DrawIntoImage(display, bar, -1999999960, -5, std::nullopt);
    for (int x = 0; x < 128; ++x) {
        const int64_t column = x + int64_t{1999999960};
        const RgbPixel expected = x >= 40 ? 0xFFFFFFu : column < 1999999990 && column % 5 != 4 ? 0x000000u : 0xFFFF00u;
        EXPECT_EQ(display.Pixel(x, 63), expected) << x;
    }
    EXPECT_EQ(BarPicture(0, 10, 5, clYellow, clBlack).Height(), 0);
    EXPECT_EQ(BarPicture(-3, 10, 5, clYellow, clBlack).Width(), 0);
}

}  // namespace
}  // namespace dotvane
