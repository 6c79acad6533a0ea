#include "lcd/NoDisplay.h"
#include "render/ImageFile.h"
#include "tests/support/BmpFile.h"
#include "tests/support/Golden.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/RenderHarness.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <vector>

namespace dotvane {
namespace {

const std::string kFixtures = DOTVANE_FIXTURES;
const std::string kGolden = kFixtures + "/golden";
constexpr RgbPixel kYellow = 0xFFFF00, kBlack = 0x000000, kWhite = 0xFFFFFF;

RgbImage Filled(int width, int height, RgbPixel pixel)
{
    RgbImage picture(width, height);
    picture.Fill(pixel);
    return picture;
}

// The virtual display of a program without a hardware display.
class VirtualDisplayTest : public ::testing::Test {
protected:
    VirtualDisplayTest()
    {
        harness.renderer.SetPresentHandler([this](const RgbImage& picture, const Rect& changed) {
            handed = picture;
            changes.push_back(changed);
        });
    }

    // A full refresh of screen 0, returning what the window was handed.
    RgbImage Refresh()
    {
        harness.renderer.RefreshScreen();
        return handed;
    }

    // A copy of a fixture picture of the given size: white, with a black
    // frame, a black diagonal and one dark-grey square.
    std::string CopyFramePicture(int width, int height, const char* name)
    {
        const std::string file = (dir.Path() / name).string();
        std::filesystem::copy_file(kFixtures + "/frame-" + std::to_string(width) + "x" + std::to_string(height) + ".bmp",
                                   file);
        return file;
    }
    std::string WriteBitmap(const RgbImage& picture, const char* name)
    {
        const std::string file = (dir.Path() / name).string();
        EXPECT_TRUE(test::WriteBmp(file, picture));
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
    RgbImage handed;
    std::vector<Rect> changes;
};

TEST_F(VirtualDisplayTest, DefaultsGiveYellowWithBlackTextRowsEightPixelsApart)
{
    ScreenTable[0].Line[0] = "Dotvane 0.3.2";
    ScreenTable[0].Line[1] = "!\"#$%&'()*+,-./0123";
    ScreenTable[0].Line[2] = "ABCDEFGHIJKLMNOPQRS";
    ScreenTable[0].Line[3] = "abcdefghijklmnopqrs";
    ScreenTable[0].Line[7] = "last row ~\x7f";
    const RgbImage picture = Refresh();
    ASSERT_EQ(picture.Bounds(), (Rect{0, 0, 128, 64}));
    EXPECT_EQ(picture.Pixel(127, 63), kYellow);
    test::ExpectMatchesGolden(picture, kGolden, "defaults");
}

TEST_F(VirtualDisplayTest, ASmallBitmapCoversOnlyTheTopLeftQuarter)
{
    ScreenTable[0].Bitmap = CopyFramePicture(64, 32, "quarter.bmp");
    MainSettings.VLCD.BmpColor = "clNavy";
    const RgbImage picture = Refresh();
    EXPECT_EQ(picture.Pixel(63, 31), 0x000080u);
    EXPECT_EQ(picture.Pixel(64, 32), kYellow);
    EXPECT_EQ(picture.Pixel(5, 5), kYellow);  // dark grey is not black
    test::ExpectMatchesGolden(picture, kGolden, "bitmap-64x32");
}

TEST_F(VirtualDisplayTest, ALargeBitmapIsCutAtTheDisplaySize)
{
    ScreenTable[0].Bitmap = CopyFramePicture(200, 100, "large.bmp");
    const RgbImage picture = Refresh();
    ASSERT_EQ(picture.Bounds(), (Rect{0, 0, 128, 64}));
    EXPECT_EQ(picture.Pixel(0, 63), kBlack);  // left edge of the frame
    EXPECT_EQ(picture.Pixel(127, 0), kBlack);  // top edge
    EXPECT_EQ(picture.Pixel(120, 40), kYellow);
    test::ExpectMatchesGolden(picture, kGolden, "bitmap-200x100");
}

TEST_F(VirtualDisplayTest, ADarkGreyBitmapShowsNothing)
{
    ScreenTable[0].Bitmap = WriteBitmap(Filled(128, 64, 0x010101), "grey.bmp");
    EXPECT_EQ(Refresh(), Filled(128, 64, kYellow));
}

TEST_F(VirtualDisplayTest, AMissingBitmapLeavesTheBackground)
{
    ScreenTable[0].Bitmap = "images\\no such picture.bmp";
    MainSettings.VLCD.BackColor = "clWhite";
    EXPECT_EQ(Refresh(), Filled(128, 64, kWhite));
}

TEST_F(VirtualDisplayTest, AnOversizedBitmapLeavesTheBackground)
{
    ScreenTable[0].Bitmap = WriteBitmap(RgbImage(kImageSideLimit + 1, 64), "wide.bmp");
    MainSettings.VLCD.BackColor = "clWhite";
    EXPECT_EQ(Refresh(), Filled(128, 64, kWhite));
}

TEST_F(VirtualDisplayTest, ALongRowContinuesSevenPixelsFromTheLeftOnTheNextRow)
{
    ScreenTable[0].Line[2] = "ABCDEFGHIJKLMNOPQRSTUVWXY";
    const RgbImage picture = Refresh();
    test::ExpectMatchesGolden(picture, kGolden, "split-19-6");
    // The tail "TUVWXY" starts at x = 7 of row 3: the left column of the T.
    EXPECT_EQ(picture.Pixel(7, 24), kBlack);
    EXPECT_EQ(picture.Pixel(6, 24), kYellow);
}

TEST_F(VirtualDisplayTest, ColoursAndSizeFollowTheSettingsAtEveryRefresh)
{
    ScreenTable[0].Line[0] = "I";
    MainSettings.VLCD.BackColor = "clNavy";
    MainSettings.VLCD.TextColor = "clWhite";
    MainSettings.LCD.XPixels = 40;
    MainSettings.LCD.YPixels = 16;
    const RgbImage picture = Refresh();
    ASSERT_EQ(picture.Bounds(), (Rect{0, 0, 40, 16}));
    EXPECT_EQ(picture.Pixel(39, 15), 0x000080u);
    EXPECT_EQ(picture.Pixel(2, 0), kWhite);  // the middle stroke of "I"
}

TEST_F(VirtualDisplayTest, BitmapChangedOnDiskShowsAtTheNextRefresh)
{
    ScreenTable[0].Bitmap = WriteBitmap(RgbImage(128, 64), "changing.bmp");
    EXPECT_EQ(Refresh().Pixel(127, 63), kBlack);
    WriteBitmap(Filled(128, 64, kWhite), "changing.bmp");
    EXPECT_EQ(Refresh().Pixel(127, 63), kYellow);
}

TEST_F(VirtualDisplayTest, EachPresentationHandsTheWindowACopy)
{
    ScreenTable[0].Line[0] = "x";
    const RgbImage first = Refresh();
    EXPECT_EQ(first, harness.renderer.PresentedPicture());
    // Drawing into the buffer afterwards leaves the presented picture alone.
    harness.renderer.VlcdBitmap.image.Fill(kBlack);
    EXPECT_EQ(harness.renderer.PresentedPicture().Pixel(127, 63), kYellow);

    // Hidden, nothing is presented.
    harness.WindowShown = false;
    ScreenTable[0].Line[0] = "y";
    handed = RgbImage();
    harness.renderer.RefreshScreen();
    EXPECT_TRUE(handed.IsNull());
}

TEST_F(VirtualDisplayTest, TheSamePictureAgainIsNotPresented)
{
    ScreenTable[0].Line[0] = "same";
    Refresh();
    ASSERT_EQ(changes, (std::vector<Rect>{{0, 0, 128, 64}}));
    // The buffer is rebuilt, but holds what the window already shows.
    Refresh();
    Refresh();
    EXPECT_EQ(changes.size(), 1u);
    // "same" to "sane": only the third letter's cell changes.
    ScreenTable[0].Line[0] = "sane";
    Refresh();
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_TRUE((Rect{12, 0, 5, 8}).Contains(changes[1])) << changes[1].Left << "," << changes[1].Width;
    EXPECT_EQ(handed, harness.renderer.VlcdBitmap.image);
}

TEST_F(VirtualDisplayTest, ANewSizeIsPresentedWhole)
{
    Refresh();
    MainSettings.LCD.XPixels = 64;
    Refresh();
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[1], (Rect{0, 0, 64, 64}));
}

}  // namespace
}  // namespace dotvane
