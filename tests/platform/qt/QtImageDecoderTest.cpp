#include "platform/qt/QtImageDecoder.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include <vector>

namespace dotvane::platform {
namespace {

std::vector<uint8_t> Encoded(const QImage& picture, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(picture.save(&buffer, format));
    return {bytes.begin(), bytes.end()};
}

QImage Mono(int width, int height)
{
    QImage picture(width, height, QImage::Format_Mono);
    picture.fill(1);
    return picture;
}

TEST(QtImageDecoderTest, PixelsComeOutAs0x00RRGGBB)
{
    QImage picture(3, 2, QImage::Format_ARGB32);
    picture.fill(qRgba(0x12, 0x34, 0x56, 0xFF));
    picture.setPixel(2, 1, qRgb(0, 0, 0));
    for (const char* format : {"BMP", "PNG"}) {
        QtImageDecoder decoder;
        const DecodedImage decoded = decoder.Decode(Encoded(picture, format), 4096);
        ASSERT_EQ(decoded.Picture.Width(), 3) << format << ": " << decoded.Problem;
        EXPECT_EQ(decoded.Picture.Pixel(0, 0), 0x123456u) << format;
        EXPECT_EQ(decoded.Picture.Pixel(2, 1), 0u) << format;
    }
}

TEST(QtImageDecoderTest, TheSideLimitHoldsWhateverTheHeaderClaims)
{
    QtImageDecoder decoder;
    EXPECT_EQ(decoder.Decode(Encoded(Mono(4096, 2), "BMP"), 4096).Picture.Width(), 4096);
    EXPECT_EQ(decoder.Decode(Encoded(Mono(4097, 2), "BMP"), 4096).Problem, "the picture is too large");
    EXPECT_TRUE(decoder.Decode(Encoded(Mono(2, 4097), "PNG"), 4096).Picture.IsNull());
    // A small picture whose header claims 30000 × 30000 pixels is never
    // decoded.
    std::vector<uint8_t> claims = Encoded(Mono(8, 8), "BMP");
    for (const size_t at : {18, 22}) {
        claims[at] = 0x30;
        claims[at + 1] = 0x75;
    }
    EXPECT_TRUE(decoder.Decode(claims, 4096).Picture.IsNull());
}

TEST(QtImageDecoderTest, BytesThatAreNoPictureSayWhy)
{
    QtImageDecoder decoder;
    const std::string text = "no picture at all";
    const DecodedImage decoded = decoder.Decode({reinterpret_cast<const uint8_t*>(text.data()), text.size()}, 4096);
    EXPECT_TRUE(decoded.Picture.IsNull());
    EXPECT_FALSE(decoded.Problem.empty());
    EXPECT_TRUE(decoder.Decode({}, 4096).Picture.IsNull());
}

}  // namespace
}  // namespace dotvane::platform
