// Pictures on the T6963C's graphic layer: element images row by row, and the
// screen bitmap dithered by brightness.
#include "config/Settings.h"
#include "lcd/PixelImage.h"
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
    const int32_t bytesPerRow = MainSettings.LCD.XPixels / fw;

    WriteData(static_cast<uint8_t>(GraphicHome & 0xFF));
    WriteData(static_cast<uint8_t>((GraphicHome >> 8) & 0xFF));
    WriteCommand(kSetAddressPointer);
    for (int32_t i = 0; i < MainSettings.LCD.YPixels; ++i) {
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

}  // namespace dotvane
