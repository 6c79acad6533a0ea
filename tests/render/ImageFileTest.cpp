#include "render/ImageFile.h"

#include "tests/support/HeldFifo.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <QImage>

#include <fstream>

namespace dotvane {
namespace {

class ImageFileTest : public ::testing::Test {
protected:
    // A one-bit picture, small as a file whatever its size in pixels.
    std::string WriteMono(const std::string& name, int width, int height)
    {
        QImage picture(width, height, QImage::Format_Mono);
        picture.fill(1);
        const std::string file = (dir.Path() / name).string();
        EXPECT_TRUE(picture.save(QString::fromStdString(file), "BMP"));
        return file;
    }

    test::TempDir dir;
};

TEST_F(ImageFileTest, LoadsAPictureUpToTheSideLimit)
{
    const QImage small = LoadImageFile(WriteMono("small.bmp", 9, 7));
    ASSERT_FALSE(small.isNull());
    EXPECT_EQ(small.size(), QSize(9, 7));

    EXPECT_EQ(LoadImageFile(WriteMono("wide.bmp", kImageSideLimit, 2)).size(), QSize(kImageSideLimit, 2));
    EXPECT_EQ(LoadImageFile(WriteMono("high.bmp", 2, kImageSideLimit)).size(), QSize(2, kImageSideLimit));
}

TEST_F(ImageFileTest, APictureBeyondTheSideLimitIsNotLoaded)
{
    EXPECT_TRUE(LoadImageFile(WriteMono("wide.bmp", kImageSideLimit + 1, 2)).isNull());
    EXPECT_TRUE(LoadImageFile(WriteMono("high.bmp", 2, kImageSideLimit + 1)).isNull());
}

TEST_F(ImageFileTest, TheSizeIsCheckedBeforeThePictureIsDecoded)
{
    // A small picture whose header claims 30000 x 30000 pixels.
    const std::string file = WriteMono("claims.bmp", 8, 8);
    std::fstream header(file, std::ios::binary | std::ios::in | std::ios::out);
    const char side[4] = {0x30, 0x75, 0, 0};
    header.seekp(18);
    header.write(side, 4);
    header.write(side, 4);
    header.close();
    EXPECT_TRUE(LoadImageFile(file).isNull());
}

TEST_F(ImageFileTest, AFileOverTheSizeLimitIsNotLoaded)
{
    const std::string file = WriteMono("padded.bmp", 16, 16);
    ASSERT_FALSE(LoadImageFile(file).isNull());
    // The same picture with bytes after it still loads while the file stays
    // within the limit.
    std::ofstream(file, std::ios::binary | std::ios::app) << std::string(1000, '\0');
    ASSERT_FALSE(LoadImageFile(file).isNull());
    std::ofstream(file, std::ios::binary | std::ios::app) << std::string(kImageFileLimit, '\0');
    EXPECT_TRUE(LoadImageFile(file).isNull());
}

TEST_F(ImageFileTest, ThePictureDecidesItsFormatWhateverTheName)
{
    QImage picture(5, 4, QImage::Format_RGB32);
    picture.fill(Qt::black);
    const std::string png = (dir.Path() / "really-a-png.bmp").string();
    ASSERT_TRUE(picture.save(QString::fromStdString(png), "PNG"));
    EXPECT_EQ(LoadImageFile(png).size(), QSize(5, 4));
}

TEST_F(ImageFileTest, MissingFoldersDevicesAndNonsenseGiveNothing)
{
    EXPECT_TRUE(LoadImageFile((dir.Path() / "none.bmp").string()).isNull());
    EXPECT_TRUE(LoadImageFile("").isNull());
    EXPECT_TRUE(LoadImageFile(dir.Path().string()).isNull());
    EXPECT_TRUE(LoadImageFile("/dev/zero").isNull());
    EXPECT_TRUE(LoadImageFile(dir.Write("text.bmp", "no picture at all").string()).isNull());
}

TEST_F(ImageFileTest, AFifoIsNotWaitedFor)
{
    test::HeldFifo fifo(dir.Path() / "fifo.bmp", "BM");
    const auto [prompt, image] = test::ReadWhileHeld(fifo, [&] { return LoadImageFile(fifo.Name()); });
    EXPECT_TRUE(prompt);
    EXPECT_TRUE(image.isNull());
}

TEST_F(ImageFileTest, WindowsStyleNamesResolveAgainstTheCurrentFolder)
{
    WriteMono("Icon.BMP", 3, 3);
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    EXPECT_EQ(LoadImageFile(".\\icon.bmp").size(), QSize(3, 3));
    std::filesystem::current_path(previous);
}

}  // namespace
}  // namespace dotvane
