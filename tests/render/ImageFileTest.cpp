#include "render/ImageFile.h"

#include "tests/support/BmpFile.h"
#include "tests/support/FakeImageDecoder.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include "tests/support/HeldFifo.h"
#endif

#include <fstream>

namespace dotvane {
namespace {

// On the fake decoder everywhere, the Windows build too: the tests count
// what reaches the decoder and read its own problem texts.
class ImageFileTest : public ::testing::Test {
protected:
    std::string WritePicture(const std::string& name, int width, int height)
    {
        const std::string file = (dir.Path() / name).string();
        EXPECT_TRUE(test::WriteBmp(file, RgbImage(width, height)));
        return file;
    }

    test::TempDir dir;
    test::FakeImageDecoder decoder;
};

TEST_F(ImageFileTest, TheDecoderIsAskedWithTheSideLimit)
{
    const platform::DecodedImage small = LoadImageFile(WritePicture("small.bmp", 9, 7));
    ASSERT_FALSE(small.Picture.IsNull()) << small.Problem;
    EXPECT_EQ(small.Picture.Width(), 9);
    EXPECT_EQ(LoadImageFile(WritePicture("wide.bmp", kImageSideLimit, 2)).Picture.Width(), kImageSideLimit);
    EXPECT_EQ(LoadImageFile(WritePicture("wider.bmp", kImageSideLimit + 1, 2)).Problem, "the picture is too large");
}

TEST_F(ImageFileTest, AFileOverTheSizeLimitIsNeverDecoded)
{
    const std::string file = WritePicture("padded.bmp", 16, 16);
    std::ofstream(file, std::ios::binary | std::ios::app) << std::string(1000, '\0');
    ASSERT_FALSE(LoadImageFile(file).Picture.IsNull());
    std::ofstream(file, std::ios::binary | std::ios::app) << std::string(kImageFileLimit, '\0');
    decoder.decodes = 0;
    EXPECT_EQ(LoadImageFile(file).Problem, "it is larger than 8388608 bytes");
    EXPECT_EQ(decoder.decodes, 0);
}

TEST_F(ImageFileTest, EachFileThatCannotBeUsedSaysWhy)
{
    const struct {
        std::string name;
        std::string problem;
    } cases[] = {
        {(dir.Path() / "none.bmp").string(), "there is no such file"},
        {"", "there is no such file"},
        {dir.Path().string(), "it is not a regular file"},
#ifndef _WIN32
        {"/dev/zero", "it is not a regular file"},
#endif
        {dir.Write("text.bmp", "no picture at all").string(), "not a BMP file"},
    };
    for (const auto& c : cases) {
        const platform::DecodedImage loaded = LoadImageFile(c.name);
        EXPECT_TRUE(loaded.Picture.IsNull()) << c.name;
        EXPECT_EQ(loaded.Problem, c.problem) << c.name;
    }
}

#ifndef _WIN32
TEST_F(ImageFileTest, AFifoIsNotWaitedFor)
{
    test::HeldFifo fifo(dir.Path() / "fifo.bmp", "BM");
    const auto [prompt, image] = test::ReadWhileHeld(fifo, [&] { return LoadImageFile(fifo.Name()); });
    EXPECT_TRUE(prompt);
    EXPECT_TRUE(image.Picture.IsNull());
}
#endif

TEST_F(ImageFileTest, WindowsStyleNamesResolveAgainstTheCurrentFolder)
{
    WritePicture("Icon.BMP", 3, 3);
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    EXPECT_EQ(LoadImageFile(".\\icon.bmp").Picture.Width(), 3);
    std::filesystem::current_path(previous);
}

}  // namespace
}  // namespace dotvane
