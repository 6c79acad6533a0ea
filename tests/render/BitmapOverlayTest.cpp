#include "render/BitmapOverlay.h"

#include "tests/support/BmpFile.h"
#include "tests/support/RenderServices.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

namespace dotvane {
namespace {

constexpr RgbPixel kYellow = 0xFFFF00;
constexpr RgbPixel kNavy = 0x000080;

struct Point {
    int x, y;
};

class BitmapOverlayTest : public ::testing::Test {
protected:
    // Saves a white picture with black pixels at the given places.
    void WritePicture(int width, int height, std::initializer_list<Point> black)
    {
        RgbImage picture(width, height);
        picture.Fill(0xFFFFFF);
        for (const Point p : black) picture.SetPixel(p.x, p.y, 0);
        ASSERT_TRUE(test::WriteBmp(file.string(), picture));
    }
    // Gives the file a modification time long past, as a file that was not
    // touched for a while has.
    void SetAge(std::chrono::minutes age)
    {
        std::filesystem::last_write_time(file, std::filesystem::file_time_type::clock::now() - age);
    }
    // The overlay brought up to date and drawn in navy on a yellow display.
    RgbImage Draw(int width = 128, int height = 64)
    {
        overlay.Update(file.string(), width, height);
        RgbImage display(width, height);
        display.Fill(kYellow);
        overlay.DrawInto(display, kNavy);
        return display;
    }
    // Puts other content of the same size into the file and gives it back
    // the modification time it had.
    void ChangeKeepingTheTime(std::initializer_list<Point> black)
    {
        const auto time = std::filesystem::last_write_time(file);
        WritePicture(128, 64, black);
        std::filesystem::last_write_time(file, time);
    }

    test::TempDir dir;
    std::filesystem::path file = dir.Path() / "frame.bmp";
    BitmapOverlay overlay;
    test::RenderServices services;
};

TEST_F(BitmapOverlayTest, BlackPixelsTakeTheColourAndOthersLeaveTheDisplay)
{
    WritePicture(200, 100, {{0, 0}, {127, 63}, {128, 10}, {10, 64}});
    const RgbImage shown = Draw();
    EXPECT_EQ(shown.Pixel(0, 0), kNavy);
    EXPECT_EQ(shown.Pixel(127, 63), kNavy);
    EXPECT_EQ(shown.Pixel(1, 0), kYellow);
    int navy = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 128; ++x) navy += shown.Pixel(x, y) == kNavy;
    EXPECT_EQ(navy, 2);  // the two beyond the display are cut off
}

TEST_F(BitmapOverlayTest, ADisplayOfAnyWidthTakesTheColumnsItHas)
{
    WritePicture(200, 100, {{63, 0}, {64, 0}, {99, 49}, {100, 49}, {5, 50}});
    const RgbImage shown = Draw(100, 50);
    int navy = 0;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 100; ++x) navy += shown.Pixel(x, y) == kNavy;
    EXPECT_EQ(navy, 3);
    for (const Point p : {Point{63, 0}, Point{64, 0}, Point{99, 49}}) EXPECT_EQ(shown.Pixel(p.x, p.y), kNavy) << p.x;
}

TEST_F(BitmapOverlayTest, AnUnchangedFileIsNotReadAgain)
{
    WritePicture(128, 64, {{3, 3}});
    SetAge(std::chrono::minutes(60));
    EXPECT_EQ(Draw().Pixel(3, 3), kNavy);
    // New content behind the same size and time is not seen: the file was
    // not read again.
    ChangeKeepingTheTime({{4, 4}});
    const RgbImage kept = Draw();
    EXPECT_EQ(kept.Pixel(3, 3), kNavy);
    EXPECT_EQ(kept.Pixel(4, 4), kYellow);
    // A new modification time brings the new content.
    SetAge(std::chrono::minutes(30));
    const RgbImage changed = Draw();
    EXPECT_EQ(changed.Pixel(3, 3), kYellow);
    EXPECT_EQ(changed.Pixel(4, 4), kNavy);
}

TEST_F(BitmapOverlayTest, ANewSizeIsAChangeWhateverTheTime)
{
    WritePicture(128, 64, {{3, 3}});
    SetAge(std::chrono::minutes(60));
    EXPECT_EQ(Draw().Pixel(3, 3), kNavy);
    const auto time = std::filesystem::last_write_time(file);
    WritePicture(64, 32, {{5, 5}});
    std::filesystem::last_write_time(file, time);
    const RgbImage shown = Draw();
    EXPECT_EQ(shown.Pixel(3, 3), kYellow);
    EXPECT_EQ(shown.Pixel(5, 5), kNavy);
}

TEST_F(BitmapOverlayTest, AFileModifiedJustBeforeItWasReadIsReadAgain)
{
    // Two writes within the file system's time resolution can leave the
    // same time behind; a file so fresh is not trusted to be unchanged.
    WritePicture(128, 64, {{3, 3}});
    EXPECT_EQ(Draw().Pixel(3, 3), kNavy);
    ChangeKeepingTheTime({{4, 4}});
    const RgbImage shown = Draw();
    EXPECT_EQ(shown.Pixel(3, 3), kYellow);
    EXPECT_EQ(shown.Pixel(4, 4), kNavy);
}

TEST_F(BitmapOverlayTest, ANewDisplaySizeCutsThePictureAnew)
{
    WritePicture(128, 64, {{100, 50}});
    SetAge(std::chrono::minutes(60));
    EXPECT_EQ(Draw(64, 32).Pixel(63, 31), kYellow);
    EXPECT_EQ(Draw(128, 64).Pixel(100, 50), kNavy);
}

TEST_F(BitmapOverlayTest, AnotherFileNameIsReadEvenWithTheSameStamp)
{
    WritePicture(128, 64, {{3, 3}});
    SetAge(std::chrono::minutes(60));
    EXPECT_EQ(Draw().Pixel(3, 3), kNavy);
    const std::filesystem::path first = file;
    file = dir.Path() / "other.bmp";
    WritePicture(128, 64, {{4, 4}});
    std::filesystem::last_write_time(file, std::filesystem::last_write_time(first));
    EXPECT_EQ(Draw().Pixel(4, 4), kNavy);
}

TEST_F(BitmapOverlayTest, AFileThatWentAwayOrBecameAFolderShowsNothing)
{
    WritePicture(128, 64, {{3, 3}});
    SetAge(std::chrono::minutes(60));
    EXPECT_EQ(Draw().Pixel(3, 3), kNavy);
    std::filesystem::remove(file);
    EXPECT_EQ(Draw().Pixel(3, 3), kYellow);
    std::filesystem::create_directory(file);
    EXPECT_EQ(Draw().Pixel(3, 3), kYellow);
}

}  // namespace
}  // namespace dotvane
