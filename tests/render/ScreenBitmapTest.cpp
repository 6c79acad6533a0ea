#include "lcd/PixelImage.h"
#include "render/ImageFile.h"
#include "tests/render/HardwareFixture.h"
#include "tests/support/BmpFile.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include "tests/support/HeldFifo.h"
#endif

#include <fstream>

namespace dotvane {
namespace {

using test::Byte;
using test::C;
using test::D;

// A picture of one colour, or of a function of the position.
class FunctionImage : public PixelImage {
public:
    FunctionImage(int32_t w, int32_t h, std::function<TColor(int32_t, int32_t)> f) : w_(w), h_(h), f_(std::move(f)) {}
    int32_t Width() const override { return w_; }
    int32_t Height() const override { return h_; }
    TColor Pixel(int32_t x, int32_t y) const override { return f_(x, y); }

private:
    int32_t w_, h_;
    std::function<TColor(int32_t, int32_t)> f_;
};

// A black-and-white pattern with no two rows alike.
TColor Pattern(int32_t x, int32_t y) { return ((x * 7 + y * 3) % 5 == 0 || x == y) ? clBlack : clWhite; }

class T6963CBitmapTest : public test::HardwareTest {
protected:
    // The data bytes sent after the address, checking each is followed by
    // Data Write and Increment.
    std::vector<uint8_t> SentPicture()
    {
        const std::vector<Byte> bytes = Decode(port);
        std::vector<uint8_t> data;
        EXPECT_GE(bytes.size(), 3u);
        for (size_t i = 3; i + 1 < bytes.size(); i += 2) {
            EXPECT_FALSE(bytes[i].Command);
            EXPECT_EQ(bytes[i + 1], C(0xC0));
            data.push_back(bytes[i].Value);
        }
        return data;
    }
};

TEST_F(T6963CBitmapTest, BlackAndWhitePictureComesOutExactly)
{
    UseT6963C(4);
    T6963CDriver.DrawBitmap(FunctionImage(128, 64, Pattern), 1);
    const std::vector<Byte> bytes = Decode(port);
    ASSERT_EQ(bytes.size(), 3u + 2048u);
    EXPECT_EQ(std::vector<Byte>(bytes.begin(), bytes.begin() + 3), (std::vector<Byte>{D(0x00), D(0x03), C(0x24)}));
    const std::vector<uint8_t> data = SentPicture();
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 128; ++x) {
            const bool on = (data[size_t(y * 16 + x / 8)] >> (7 - x % 8)) & 1;
            ASSERT_EQ(on, Pattern(x, y) == clBlack) << x << "," << y;
        }
}

TEST_F(T6963CBitmapTest, ColoursLightWithTheirBrightness)
{
    UseT6963C(4);
    struct Case {
        TColor color;
        double share;
    };
    for (const Case& c : {Case{RGBColor(255, 0, 0), 102.0 / 255}, Case{RGBColor(0, 255, 0), 178.0 / 255},
                          Case{RGBColor(0, 0, 255), 229.0 / 255}, Case{RGBColor(128, 128, 128), 127.0 / 255},
                          Case{clBlack, 1.0}, Case{clWhite, 0.0}}) {
        int on = 0, total = 0;
        for (uint32_t seed = 1; seed <= 4; ++seed) {
            port.Log.clear();
            T6963CDriver.DrawBitmap(FunctionImage(128, 64, [&](int32_t, int32_t) { return c.color; }), seed);
            for (uint8_t byte : SentPicture()) {
                on += std::popcount(byte);
                total += 8;
            }
        }
        EXPECT_NEAR(double(on) / total, c.share, 0.015) << std::hex << c.color;
    }
}

TEST_F(T6963CBitmapTest, ASmallPictureLeavesTheRestOff)
{
    UseT6963C(4);
    T6963CDriver.DrawBitmap(FunctionImage(64, 32, [](int32_t, int32_t) { return clBlack; }), 7);
    const std::vector<uint8_t> data = SentPicture();
    ASSERT_EQ(data.size(), 1024u);
    for (int y = 0; y < 64; ++y)
        for (int b = 0; b < 16; ++b) EXPECT_EQ(data[size_t(y * 16 + b)], (y < 32 && b < 8) ? 0xFF : 0x00) << y << "," << b;
}

TEST_F(T6963CBitmapTest, NarrowSettingShearsTheWideLayout)
{
    // Size 1 lines are 40 bytes, but only 128 div 6 = 21 bytes a row are
    // sent, one after the other.
    UseT6963C(1);
    T6963CDriver.DrawBitmap(FunctionImage(128, 64, Pattern), 1);
    EXPECT_EQ(SentPicture().size(), 64u * 21u);
    EXPECT_EQ(Decode(port).size(), 3u + 2u * 64u * 21u);
}

// Size 4 holds 2048 bytes of picture from 0x300; a picture setting larger
// than that sends those and no more, whatever it says.
TEST_F(T6963CBitmapTest, NoMoreThanTheGraphicAreaIsSent)
{
    UseT6963C(4);
    MainSettings.LCD.YPixels = 200;
    T6963CDriver.DrawBitmap(FunctionImage(128, 200, Pattern), 5);
    const std::vector<uint8_t> data = SentPicture();
    ASSERT_EQ(data.size(), 2048u);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x) {
            const bool on = (data[size_t(y * 16 + x / 8)] >> (7 - x % 8)) & 1;
            ASSERT_EQ(on, Pattern(x, y) == clBlack) << x << "," << y;
        }

    port.Log.clear();
    MainSettings.LCD.XPixels = 2000000000;
    MainSettings.LCD.YPixels = 2000000000;
    T6963CDriver.DrawBitmap(FunctionImage(128, 64, Pattern), 5);
    EXPECT_EQ(SentPicture().size(), 2048u);
}

class T6963CPanelBitmapTest : public test::PanelTest {};

TEST_F(T6963CPanelBitmapTest, FullWidthPictureLandsInPlace)
{
    OpenPanel(Config(emulator::SimulationConfig::Module::T6963C, 240, 64, 6));
    fixture->MainSettings.LCD.Type = 0;
    fixture->MainSettings.LCD.XPixels = 240;
    fixture->display.Open();
    fixture->T6963C().DrawBitmap(FunctionImage(240, 64, Pattern), 3);
    const emulator::Glass glass = Glass();
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 240; ++x) ASSERT_EQ(glass.At(x, y), Pattern(x, y) == clBlack) << x << "," << y;
}

class ShowScreenBitmapTest : public test::HardwareTest {
protected:
    test::TempDir dir;
};

TEST_F(ShowScreenBitmapTest, UnreadableFileIsReportedOncePerShowing)
{
    UseT6963C(4);
    const std::string missing = "images\\no such file.bmp";
    renderer.ShowScreenBitmap(missing);
    ScreenTable[0].Bitmap = missing;
    for (int i = 0; i < 3; ++i) renderer.RefreshScreen();
    EXPECT_EQ(fixture.host.messages, (std::vector<std::string>{"Could not load or display bitmap " + missing}));
    EXPECT_TRUE(Decode(port).empty());

    UseKS0108();
    renderer.ShowScreenBitmap(missing);
    EXPECT_EQ(fixture.host.messages.size(), 2u);
    MainSettings.LCD.Type = 3;
    renderer.ShowScreenBitmap(missing);
    EXPECT_EQ(fixture.host.messages.size(), 2u);
}

TEST_F(ShowScreenBitmapTest, T6963CLoadsAnyPictureTheImageDecoderTakes)
{
    UseT6963C(4);
    const std::string file = (dir.Path() / "black.png").string();
    test::WriteBmp(file, RgbImage(128, 64));
    renderer.ShowScreenBitmap(file);
    EXPECT_TRUE(fixture.host.messages.empty());
    const std::vector<Byte> bytes = Decode(port);
    ASSERT_EQ(bytes.size(), 3u + 2048u);
    EXPECT_EQ(bytes[3], D(0xFF));
}

TEST_F(ShowScreenBitmapTest, FoldersAndOversizedPicturesAreReportedAndNothingIsSent)
{
    const std::string folder = dir.Path().string();
    // Wider than any picture that is loaded, though a small file.
    const std::string huge = (dir.Path() / "wide.bmp").string();
    ASSERT_TRUE(test::WriteBmp(huge, RgbImage(kImageSideLimit + 1, 8)));

    UseT6963C(4);
    renderer.ShowScreenBitmap(folder);
    renderer.ShowScreenBitmap(huge);
    EXPECT_EQ(fixture.host.messages, (std::vector<std::string>{"Could not load or display bitmap " + folder,
                                                                "Could not load or display bitmap " + huge}));
    EXPECT_TRUE(port.Log.empty());

    UseKS0108();
    renderer.ShowScreenBitmap(folder);
    ASSERT_EQ(fixture.host.messages.size(), 3u);
    EXPECT_EQ(fixture.host.messages[2], "Could not load or display bitmap " + folder);
    EXPECT_TRUE(port.Log.empty());
}

#ifndef _WIN32
TEST_F(ShowScreenBitmapTest, AFifoIsReportedWithoutWaiting)
{
    test::HeldFifo picture(dir.Path() / "picture.bmp", "BM");
    test::HeldFifo ks0108(dir.Path() / "ks0108.bmp", std::string(100, 'x'));
    UseT6963C(4);
    const auto [prompt, messages] = test::ReadWhileHeld({&picture, &ks0108}, [&] {
        renderer.ShowScreenBitmap(picture.Name());
        MainSettings.LCD.Type = 1;
        renderer.ShowScreenBitmap(ks0108.Name());
        return fixture.host.messages;
    });
    EXPECT_TRUE(prompt);
    EXPECT_EQ(messages, (std::vector<std::string>{"Could not load or display bitmap " + picture.Name(),
                                                   "Could not load or display bitmap " + ks0108.Name()}));
    EXPECT_TRUE(port.Log.empty());
}
#endif

// A KS0108 bitmap file: the fixed headers, a colour table and 64 rows of
// 16 bytes, bottom row first, leftmost pixel in the highest bit.
std::string Ks0108File(const std::function<bool(int, int)>& bitSet, bool swappedTable = false)
{
    std::string file(1086, '\0');
    file[0] = 'B';
    file[1] = 'M';
    const char black[4] = {0, 0, 0, 0}, white[4] = {char(255), char(255), char(255), 0};
    std::copy(swappedTable ? white : black, (swappedTable ? white : black) + 4, file.begin() + 54);
    std::copy(swappedTable ? black : white, (swappedTable ? black : white) + 4, file.begin() + 58);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 128; ++x)
            if (bitSet(x, y)) file[size_t(62 + 16 * (63 - y) + x / 8)] |= char(1 << (7 - x % 8));
    return file;
}

class KS0108BitmapTest : public test::PanelTest {
protected:
    void SetUp() override
    {
        OpenPanel(Config(emulator::SimulationConfig::Module::KS0108, 128, 64, 6));
        fixture->MainSettings.LCD.Type = 1;
        fixture->display.Open();
    }
    std::filesystem::path Write(const std::string& name, const std::string& content)
    {
        return dir.Write(name, content);
    }
    test::TempDir dir;
};

TEST_F(KS0108BitmapTest, ZeroBitsAreOnWhateverTheColourTable)
{
    // A picture whose black pixels (stored as 0 with black first in the
    // table) form the pattern.
    const auto normal = Write("normal.bmp", Ks0108File([](int x, int y) { return Pattern(x, y) != clBlack; }));
    ASSERT_TRUE(fixture->KS0108().DrawBitmapFile(normal));
    emulator::Glass glass = Glass();
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 128; ++x) ASSERT_EQ(glass.At(x, y), Pattern(x, y) == clBlack) << x << "," << y;

    // Saved with the table swapped, its bits are inverted: it shows inverted.
    const auto swapped = Write("swapped.bmp", Ks0108File([](int x, int y) { return Pattern(x, y) == clBlack; }, true));
    ASSERT_TRUE(fixture->KS0108().DrawBitmapFile(swapped));
    glass = Glass();
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 128; ++x) ASSERT_EQ(glass.At(x, y), Pattern(x, y) != clBlack) << x << "," << y;
}

TEST_F(KS0108BitmapTest, AnyFileIsReadAsTheFixedLayout)
{
    // A 24-bit picture: its bytes 62 … 1085 show as pixels.
    RgbImage picture(128, 64);
    picture.Fill(0x123456);
    const std::string file = (dir.Path() / "colour.bmp").string();
    test::WriteBmp(file, picture);
    std::ifstream in(file, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    ASSERT_GE(bytes.size(), 1086u);
    ASSERT_TRUE(fixture->KS0108().DrawBitmapFile(file));
    const emulator::Glass glass = Glass();
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 128; ++x) {
            const uint8_t stored = static_cast<uint8_t>(bytes[size_t(62 + 16 * (63 - y) + x / 8)]);
            ASSERT_EQ(glass.At(x, y), ((stored >> (7 - x % 8)) & 1) == 0) << x << "," << y;
        }
}

TEST_F(KS0108BitmapTest, AShortFileKeepsTheRestOfTheBufferFromTheFileBefore)
{
    ASSERT_TRUE(fixture->KS0108().DrawBitmapFile(Write("all-on.bmp", Ks0108File([](int, int) { return false; }))));
    // 62 header bytes and the bottom row of 16 bytes, all bits set (off).
    std::string shortFile = Ks0108File([](int, int) { return true; }).substr(0, 62 + 16);
    ASSERT_TRUE(fixture->KS0108().DrawBitmapFile(Write("short.bmp", shortFile)));
    const emulator::Glass glass = Glass();
    for (int x = 0; x < 128; ++x) {
        EXPECT_FALSE(glass.At(x, 63)) << x;
        EXPECT_TRUE(glass.At(x, 62)) << x;
        EXPECT_TRUE(glass.At(x, 0)) << x;
    }
    EXPECT_FALSE(fixture->KS0108().DrawBitmapFile(dir.Path() / "missing.bmp"));
}

}  // namespace
}  // namespace dotvane
