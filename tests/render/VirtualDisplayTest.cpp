#include "render/VirtualDisplay.h"

#include "lcd/NoDisplay.h"
#include "render/ImageFile.h"
#include "tests/support/Golden.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/RenderHarness.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <vector>

namespace dotvane {
namespace {

const std::string kGolden = std::string(DOTVANE_FIXTURES) + "/golden";

// The virtual display of a program without a hardware display.
class VirtualDisplayTest : public ::testing::Test {
protected:
    VirtualDisplayTest()
    {
        harness.renderer.SetPresentHandler([this](const QImage& picture, const QRect& changed) {
            handed = picture;
            changes.push_back(changed);
        });
    }

    // A full refresh of screen 0, returning what the window was handed.
    QImage Refresh()
    {
        harness.renderer.RefreshScreen();
        return handed;
    }

    // A picture of the given size: white, with a black frame, a black
    // diagonal and one dark-grey square.
    std::string WriteBitmap(int width, int height, const char* name)
    {
        QImage picture(width, height, QImage::Format_RGB32);
        picture.fill(Qt::white);
        QPainter painter(&picture);
        painter.setPen(Qt::black);
        painter.drawRect(0, 0, width - 1, height - 1);
        painter.drawLine(0, 0, width - 1, height - 1);
        painter.fillRect(4, 4, 6, 6, QColor(64, 64, 64));
        painter.end();
        const std::string file = (dir.Path() / name).string();
        picture.save(QString::fromStdString(file), "BMP");
        return file;
    }

    test::TempDir dir;
    NoDisplay display;
    test::RecordingHost host;
    TMainSettings MainSettings;
    test::RenderHarness harness{MainSettings, display, host};
    ScreenEntries& ScreenTable = harness.ScreenTable;
    // What the window was handed last, and the rectangle that changed at
    // each presentation.
    QImage handed;
    std::vector<QRect> changes;
};

TEST_F(VirtualDisplayTest, DefaultsGiveYellowWithBlackTextRowsEightPixelsApart)
{
    ScreenTable[0].Line[0] = "Dotvane 0.3.2";
    ScreenTable[0].Line[1] = "!\"#$%&'()*+,-./0123";
    ScreenTable[0].Line[2] = "ABCDEFGHIJKLMNOPQRS";
    ScreenTable[0].Line[3] = "abcdefghijklmnopqrs";
    ScreenTable[0].Line[7] = "last row ~\x7f";
    const QImage picture = Refresh();
    ASSERT_EQ(picture.size(), QSize(128, 64));
    EXPECT_EQ(picture.pixel(127, 63), qRgb(255, 255, 0));
    test::ExpectMatchesGolden(picture, kGolden, "defaults");
}

TEST_F(VirtualDisplayTest, ASmallBitmapCoversOnlyTheTopLeftQuarter)
{
    ScreenTable[0].Bitmap = WriteBitmap(64, 32, "quarter.bmp");
    MainSettings.VLCD.BmpColor = "clNavy";
    const QImage picture = Refresh();
    EXPECT_EQ(picture.pixel(63, 31), qRgb(0, 0, 128));
    EXPECT_EQ(picture.pixel(64, 32), qRgb(255, 255, 0));
    EXPECT_EQ(picture.pixel(5, 5), qRgb(255, 255, 0));  // dark grey is not black
    test::ExpectMatchesGolden(picture, kGolden, "bitmap-64x32");
}

TEST_F(VirtualDisplayTest, ALargeBitmapIsCutAtTheDisplaySize)
{
    ScreenTable[0].Bitmap = WriteBitmap(200, 100, "large.bmp");
    const QImage picture = Refresh();
    ASSERT_EQ(picture.size(), QSize(128, 64));
    EXPECT_EQ(picture.pixel(0, 63), qRgb(0, 0, 0));  // left edge of the frame
    EXPECT_EQ(picture.pixel(127, 0), qRgb(0, 0, 0));  // top edge
    EXPECT_EQ(picture.pixel(120, 40), qRgb(255, 255, 0));
    test::ExpectMatchesGolden(picture, kGolden, "bitmap-200x100");
}

TEST_F(VirtualDisplayTest, ADarkGreyBitmapShowsNothing)
{
    QImage grey(128, 64, QImage::Format_RGB32);
    grey.fill(QColor(1, 1, 1));
    const std::string file = (dir.Path() / "grey.bmp").string();
    grey.save(QString::fromStdString(file), "BMP");
    ScreenTable[0].Bitmap = file;
    const QImage picture = Refresh();
    QImage yellow(128, 64, QImage::Format_RGB32);
    yellow.fill(qRgb(255, 255, 0));
    EXPECT_EQ(picture, yellow);
}

TEST_F(VirtualDisplayTest, AMissingBitmapLeavesTheBackground)
{
    ScreenTable[0].Bitmap = "images\\no such picture.bmp";
    MainSettings.VLCD.BackColor = "clWhite";
    const QImage picture = Refresh();
    QImage white(128, 64, QImage::Format_RGB32);
    white.fill(qRgb(255, 255, 255));
    EXPECT_EQ(picture, white);
}

TEST_F(VirtualDisplayTest, AnOversizedBitmapLeavesTheBackground)
{
    ScreenTable[0].Bitmap = WriteBitmap(kImageSideLimit + 1, 64, "wide.bmp");
    MainSettings.VLCD.BackColor = "clWhite";
    const QImage picture = Refresh();
    QImage white(128, 64, QImage::Format_RGB32);
    white.fill(qRgb(255, 255, 255));
    EXPECT_EQ(picture, white);
}

TEST_F(VirtualDisplayTest, ALongRowContinuesSevenPixelsFromTheLeftOnTheNextRow)
{
    ScreenTable[0].Line[2] = "ABCDEFGHIJKLMNOPQRSTUVWXY";
    const QImage picture = Refresh();
    test::ExpectMatchesGolden(picture, kGolden, "split-19-6");
    // The tail "TUVWXY" starts at x = 7 of row 3: the left column of the T.
    EXPECT_EQ(picture.pixel(7, 24), qRgb(0, 0, 0));
    EXPECT_EQ(picture.pixel(6, 24), qRgb(255, 255, 0));
}

TEST_F(VirtualDisplayTest, ColoursAndSizeFollowTheSettingsAtEveryRefresh)
{
    ScreenTable[0].Line[0] = "I";
    MainSettings.VLCD.BackColor = "clNavy";
    MainSettings.VLCD.TextColor = "clWhite";
    MainSettings.LCD.XPixels = 40;
    MainSettings.LCD.YPixels = 16;
    const QImage picture = Refresh();
    ASSERT_EQ(picture.size(), QSize(40, 16));
    EXPECT_EQ(picture.pixel(39, 15), qRgb(0, 0, 128));
    EXPECT_EQ(picture.pixel(2, 0), qRgb(255, 255, 255));  // the middle stroke of "I"
}

TEST_F(VirtualDisplayTest, BitmapChangedOnDiskShowsAtTheNextRefresh)
{
    ScreenTable[0].Bitmap = WriteBitmap(128, 64, "changing.bmp");
    EXPECT_EQ(Refresh().pixel(127, 63), qRgb(0, 0, 0));
    QImage blank(128, 64, QImage::Format_RGB32);
    blank.fill(Qt::white);
    blank.save(QString::fromStdString(ScreenTable[0].Bitmap), "BMP");
    EXPECT_EQ(Refresh().pixel(127, 63), qRgb(255, 255, 0));
}

TEST_F(VirtualDisplayTest, EachPresentationHandsTheWindowACopy)
{
    ScreenTable[0].Line[0] = "x";
    const QImage first = Refresh();
    EXPECT_EQ(first, harness.renderer.PresentedPicture());
    // Drawing into the buffer afterwards leaves the handed picture alone.
    harness.renderer.VlcdBitmap.image.fill(Qt::black);
    EXPECT_EQ(first.pixel(127, 63), qRgb(255, 255, 0));
    EXPECT_EQ(harness.renderer.PresentedPicture().pixel(127, 63), qRgb(255, 255, 0));

    // Hidden, nothing is presented.
    harness.WindowShown = false;
    ScreenTable[0].Line[0] = "y";
    handed = QImage();
    harness.renderer.RefreshScreen();
    EXPECT_TRUE(handed.isNull());
}

TEST_F(VirtualDisplayTest, TheSamePictureAgainIsNotPresented)
{
    ScreenTable[0].Line[0] = "same";
    Refresh();
    ASSERT_EQ(changes, (std::vector<QRect>{QRect(0, 0, 128, 64)}));
    // The buffer is rebuilt, but holds what the window already shows.
    Refresh();
    Refresh();
    EXPECT_EQ(changes.size(), 1u);
    // "same" to "sane": only the third letter's cell changes.
    ScreenTable[0].Line[0] = "sane";
    Refresh();
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_TRUE(QRect(12, 0, 5, 8).contains(changes[1])) << changes[1].x() << "," << changes[1].width();
    EXPECT_EQ(handed, harness.renderer.VlcdBitmap.image);
}

TEST_F(VirtualDisplayTest, ANewSizeIsPresentedWhole)
{
    Refresh();
    MainSettings.LCD.XPixels = 64;
    Refresh();
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[1], QRect(0, 0, 64, 64));
}

}  // namespace
}  // namespace dotvane
