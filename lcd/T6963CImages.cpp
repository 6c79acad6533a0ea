// Pictures on the T6963C's graphic layer: element images row by row, icons
// pixel by pixel, and the screen bitmap dithered by brightness.
#include "lcd/T6963CDriver.h"

#include <random>

namespace dotvane {
namespace {

// Set Address Pointer, Set Data Auto Write, Auto Reset, Data Write and
// Increment ADP, from the controller's command set.
constexpr uint8_t kSetAddressPointer = 0x24;
constexpr uint8_t kSetDataAutoWrite = 0xB0;
constexpr uint8_t kAutoReset = 0xB2;
constexpr uint8_t kDataWriteIncrement = 0xC0;

// 0.6 R + 0.3 G + 0.1 B in single precision; black is 0, white 255.
float Brightness(TColor color)
{
    return static_cast<float>(0.6 * RedOf(color) + 0.3 * GreenOf(color) + 0.1 * BlueOf(color));
}

// A position beside another, or a size less a cut, in 32-bit arithmetic that
// wraps round at the ends of the range (so a cut far below zero gives a
// negative count, not a fault).
int32_t Plus(int32_t position, int32_t by)
{
    return static_cast<int32_t>(static_cast<uint32_t>(position) + static_cast<uint32_t>(by));
}
int32_t Less(int32_t size, int32_t cut)
{
    return static_cast<int32_t>(static_cast<uint32_t>(size) - static_cast<uint32_t>(cut));
}

}  // namespace

void TT6963CDriver::WriteImageRows(const PixelImage& image, int32_t x, int32_t y, int32_t cutLeft, int32_t cutTop,
                                   int32_t rows, int32_t bytesPerRow)
{
    const int32_t fw = FontWidth;
    if (fw <= 0) return;  // the display was never opened as a T6963C
    for (int32_t r = 0; r < rows; ++r) {
        const int64_t address = x / fw + (int64_t{y} + r) * Columns + GraphicHome;
        WriteData(static_cast<uint8_t>(address & 0xFF));
        WriteData(static_cast<uint8_t>((address >> 8) & 0xFF));
        WriteCommand(kSetAddressPointer);
        WriteCommand(kSetDataAutoWrite);
        for (int32_t j = 0; j < bytesPerRow; ++j) {
            uint8_t byte = 0;
            for (int32_t k = 0; k < fw; ++k)
                if (image.IsOn(cutLeft + fw * j + k, cutTop + r)) byte |= static_cast<uint8_t>(1u << (fw - 1 - k));
            WriteData(byte);
        }
        WriteCommand(kAutoReset);
    }
}

void TT6963CDriver::DrawBitmap(const PixelImage& image, uint32_t seed)
{
    const int32_t fw = FontWidth;
    if (fw <= 0) return;
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> threshold(0, 254);
    const int32_t bytesPerRow = settings_.LCD.XPixels / fw;

    WriteData(static_cast<uint8_t>(GraphicHome & 0xFF));
    WriteData(static_cast<uint8_t>((GraphicHome >> 8) & 0xFF));
    WriteCommand(kSetAddressPointer);
    for (int32_t i = 0; i < settings_.LCD.YPixels; ++i) {
        for (int32_t j = 0; j < bytesPerRow; ++j) {
            uint8_t byte = 0;
            for (int32_t k = 0; k < fw; ++k) {
                const int32_t px = fw * j + k;
                const float light = image.Contains(px, i) ? Brightness(image.Pixel(px, i)) : 255.0f;
                byte = static_cast<uint8_t>((byte << 1) | (threshold(random) >= light ? 1 : 0));
            }
            WriteData(byte);
            WriteCommand(kDataWriteIncrement);
        }
    }
}

bool TT6963CDriver::DrawScreenBitmap(const std::filesystem::path& file, const PictureLoader& load, uint32_t seed)
{
    const std::unique_ptr<PixelImage> image = load(file);
    if (!image) return false;
    DrawBitmap(*image, seed);
    return true;
}

void TT6963CDriver::DrawIcon(const PixelImage& icon, int32_t x, int32_t y)
{
    const int32_t w = icon.Width(), h = icon.Height();
    for (int32_t i = 0; i < h; ++i)
        for (int32_t j = 0; j < w; ++j) ResetPixel(Plus(x, j), Plus(y, i));
    for (int32_t i = 0; i < h; ++i)
        for (int32_t j = 0; j < w; ++j)
            if (icon.IsOn(j, i)) SetPixel(Plus(x, j), Plus(y, i));
}

TColor TT6963CDriver::FontTextInk() const { return StringToColor(settings_.VLCD.GraphicsColor); }

void TT6963CDriver::DrawBar(const PixelImage& bar, int32_t x, int32_t y, int32_t height, int32_t width)
{
    if (FontWidth > 0) WriteImageRows(bar, x, y, 0, 0, height, width / FontWidth + 1);
}

void TT6963CDriver::DrawFontText(const PixelImage& text, int32_t x, int32_t y, int32_t cutTop, int32_t cutLeft)
{
    if (FontWidth > 0)
        WriteImageRows(text, x, y, cutLeft, cutTop, Less(text.Height(), cutTop),
                       Less(text.Width(), cutLeft) / FontWidth + 1);
}

}  // namespace dotvane
