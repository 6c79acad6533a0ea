#include "render/ElementImages.h"

#include "render/QtColors.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QPainter>

namespace dotvane {
namespace {

constexpr TColor kInk = 0x123456;

// The text rendered whole, in one image, as the picture must show it.
QImage RenderWhole(const QString& text, int size)
{
    QFont font;
    font.setFamily("DejaVu Sans");
    font.setPointSize(size);
    font.setStyleStrategy(QFont::NoAntialias);
    QImage probe(1, 1, QImage::Format_RGB32);
    const QFontMetrics metrics(font, &probe);
    QImage image(metrics.horizontalAdvance(text), metrics.height(), QImage::Format_RGB32);
    image.fill(ToQRgb(clWhite));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setFont(font);
    painter.setPen(QColor::fromRgb(ToQRgb(kInk)));
    painter.drawText(0, metrics.ascent(), text);
    return image;
}

TEST(FontTextPicture, TilesMakeTheSamePictureAsOneWholeRendering)
{
    for (const int size : {8, 31, 90}) {
        const QString text = "Wq|gjy 0123456789 ABCDEFGHIJKLMNOP @%&";
        const QImage whole = RenderWhole(text, size);
        const FontTextPicture picture(text.toStdString(), "DejaVu Sans", size, clWhite, kInk);
        ASSERT_EQ(picture.Width(), whole.width()) << size;
        ASSERT_EQ(picture.Height(), whole.height()) << size;
        ASSERT_GT(picture.Width(), FontTextPicture::kTileWidth) << size;
        for (int y = 0; y < whole.height(); ++y)
            for (int x = 0; x < whole.width(); ++x)
                ASSERT_EQ(picture.Pixel(x, y), ToTColor(whole.pixel(x, y))) << size << ": " << x << "," << y;
    }
}

TEST(FontTextPicture, Latin1TextKeepsItsAccents)
{
    const QImage whole = RenderWhole(QString::fromUtf8("Bj\xC3\xB6rk 25\xC2\xB0" "C \xC3\x9F"), 12);
    const FontTextPicture picture("Bj\xF6rk 25\xB0" "C \xDF", "DejaVu Sans", 12, clWhite, kInk);
    ASSERT_EQ(picture.Width(), whole.width());
    ASSERT_EQ(picture.Height(), whole.height());
    for (int y = 0; y < whole.height(); ++y)
        for (int x = 0; x < whole.width(); ++x)
            ASSERT_EQ(picture.Pixel(x, y), ToTColor(whole.pixel(x, y))) << x << "," << y;
}

TEST(FontTextPicture, AHugeTextRendersOnlyWhatIsRead)
{
    const FontTextPicture picture(std::string(2000, 'W'), "DejaVu Sans", 1000, clWhite, clBlack);
    ASSERT_GT(int64_t{picture.Width()} * picture.Height(), int64_t{1} << 30);
    EXPECT_EQ(picture.TilesRendered(), 0u);

    QImage display(128, 64, QImage::Format_RGB32);
    display.fill(ToQRgb(clYellow));
    DrawIntoImage(display, picture, -1000, -192, std::nullopt);
    EXPECT_EQ(picture.TilesRendered(), 2u);  // columns 1000 … 1127 cross a tile's edge
    EXPECT_EQ(picture.Pixel(picture.Width() - 1, picture.Height() - 1), clWhite);
    EXPECT_EQ(picture.TilesRendered(), 3u);
}

TEST(FontTextPicture, AnEmptyTextHasNoPixels)
{
    const FontTextPicture picture("", "DejaVu Sans", 10, clWhite, clBlack);
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
    EXPECT_EQ(bar.Pixel(1999999990, 0), ToTColor(IdentToQRgb("clYellow")));

    // The bar's last 40 columns: 30 of them below the length.
    QImage display(128, 64, QImage::Format_RGB32);
    display.fill(ToQRgb(clWhite));
    DrawIntoImage(display, bar, -1999999960, -5, std::nullopt);
    for (int x = 0; x < 128; ++x) {
        const int64_t column = x + int64_t{1999999960};
        const QRgb expected = x >= 40 ? 0xFFFFFFFFu : column < 1999999990 && column % 5 != 4 ? 0xFF000000u : 0xFFFFFF00u;
        EXPECT_EQ(display.pixel(x, 63), expected) << x;
    }
    EXPECT_EQ(BarPicture(0, 10, 5, clYellow, clBlack).Height(), 0);
    EXPECT_EQ(BarPicture(-3, 10, 5, clYellow, clBlack).Width(), 0);
}

}  // namespace
}  // namespace dotvane
