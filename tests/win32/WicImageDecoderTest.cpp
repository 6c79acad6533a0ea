// Pictures through the Windows Imaging Component, from BMP and PNG files
// that the tests write themselves.
#include "platform/win32/WicImageDecoder.h"

#include "tests/support/BmpFile.h"
#include "tests/support/PngFile.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

namespace dotvane::platform {
namespace {

constexpr int32_t kMaxSide = 4096;

class WicImageDecoderTest : public ::testing::Test {
protected:
    // The bytes of a picture saved as a BMP or a PNG file.
    std::vector<uint8_t> Encoded(const RgbImage& picture, bool png)
    {
        const std::string file = (dir.Path() / "picture").string();
        EXPECT_TRUE(png ? test::WritePng(file, picture) : test::WriteBmp(file, picture));
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    test::TempDir dir;
    WicImageDecoder decoder;
};

TEST_F(WicImageDecoderTest, PixelsComeOutAs0x00RRGGBB)
{
    RgbImage picture(3, 2);
    picture.Fill(0x123456);
    picture.SetPixel(1, 0, 0xFF0080);
    picture.SetPixel(2, 1, 0x000000);
    for (const bool png : {false, true}) {
        const DecodedImage decoded = decoder.Decode(Encoded(picture, png), kMaxSide);
        EXPECT_EQ(decoded.Picture, picture) << png << ": " << decoded.Problem;
    }
}

TEST_F(WicImageDecoderTest, TheSideLimitHoldsWhateverTheHeaderClaims)
{
    const std::string tooLarge = "the picture is too large";
    for (const bool png : {false, true}) {
        EXPECT_EQ(decoder.Decode(Encoded(RgbImage(kMaxSide, 2), png), kMaxSide).Picture.Width(), kMaxSide) << png;
        EXPECT_EQ(decoder.Decode(Encoded(RgbImage(kMaxSide + 1, 2), png), kMaxSide).Problem, tooLarge) << png;
        EXPECT_EQ(decoder.Decode(Encoded(RgbImage(2, kMaxSide + 1), png), kMaxSide).Problem, tooLarge) << png;
    }
    // A small BMP whose header claims 30000 × 30000 pixels is refused before
    // anything is decoded; one that claims 4000 × 4000 lacks the pixels.
    for (const int32_t claimed : {30000, 4000}) {
        std::vector<uint8_t> claims = Encoded(RgbImage(8, 8), false);
        for (const size_t at : {18, 22}) {
            claims[at] = uint8_t(claimed);
            claims[at + 1] = uint8_t(claimed >> 8);
        }
        const DecodedImage decoded = decoder.Decode(claims, kMaxSide);
        EXPECT_TRUE(decoded.Picture.IsNull()) << claimed;
        EXPECT_EQ(decoded.Problem == tooLarge, claimed > kMaxSide) << decoded.Problem;
    }
}

TEST_F(WicImageDecoderTest, BytesThatAreNoPictureSayWhy)
{
    const std::string text = "no picture at all";
    EXPECT_EQ(decoder.Decode({reinterpret_cast<const uint8_t*>(text.data()), text.size()}, kMaxSide).Problem,
              "not a picture format that Windows reads");
    EXPECT_EQ(decoder.Decode({}, kMaxSide).Problem, "the file is empty");
    std::vector<uint8_t> truncated = Encoded(RgbImage(64, 64), true);
    truncated.resize(truncated.size() / 2);
    const DecodedImage decoded = decoder.Decode(truncated, kMaxSide);
    EXPECT_TRUE(decoded.Picture.IsNull());
    EXPECT_FALSE(decoded.Problem.empty());
}

// The decoder uses whatever COM its caller's thread has, in either model,
// and says so on a thread that has none.
TEST_F(WicImageDecoderTest, DecodesOnTheCallersCom)
{
    const std::vector<uint8_t> bytes = Encoded(RgbImage(4, 4), true);
    constexpr DWORD kNoCom = 0xFFFF;
    for (const DWORD model : {DWORD{COINIT_MULTITHREADED}, DWORD{COINIT_APARTMENTTHREADED}, kNoCom}) {
        DecodedImage decoded;
        std::thread([&] {
            const bool initialised = model != kNoCom && SUCCEEDED(::CoInitializeEx(nullptr, model));
            decoded = decoder.Decode(bytes, kMaxSide);
            if (initialised) ::CoUninitialize();
        }).join();
        EXPECT_EQ(decoded.Problem, model == kNoCom ? "COM is not initialised on this thread" : "") << model;
    }
}

}  // namespace
}  // namespace dotvane::platform
