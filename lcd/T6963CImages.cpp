// Pictures on the T6963C's graphic layer: element images row by row, and the
// screen bitmap dithered by brightness.
#include "app/Settings.h"
#include "lcd/PixelImage.h"
#include "lcd/T6963CDriver.h"

#include <algorithm>
#include <random>

namespace dotvane {
namespace {

// Set Address Pointer, Set Data Auto Write, Auto Reset, Data Write and
// Increment ADP, from the controller's command set.
constexpr uint8_t kSetAddressPointer = 0x24;
constexpr uint8_t kSetDataAutoWrite = 0xB0;
constexpr uint8_t kAutoReset = 0xB2;
constexpr uint8_t kDataWriteIncrement = 0xC0;

// The hardware pixel rule at a position that may lie far outside the
// picture, even outside the 32-bit range.
bool IsOn(const PixelImage& image, int64_t x, int64_t y)
{
    return x >= 0 && y >= 0 && x < image.Width() && y < image.Height() &&
           image.IsOn(static_cast<int32_t>(x), static_cast<int32_t>(y));
}

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
    if (fw <= 0 || Columns <= 0) return;  // the display was never opened as a T6963C
    // Rows on the lines of the graphic area, and of each row the bytes on its
    // line: byte j lands in byte column firstColumn + j. A run that reaches
    // past the line's end ends with one blank byte, the one that an element
    // ending at the line's end sends there anyway; the rest is not sent.
    const int64_t firstColumn = x / fw;
    const int64_t firstRow = std::max<int64_t>(0, -int64_t{y});
    const int64_t endRow = std::min<int64_t>(rows, int64_t{Lines()} - y);
    const int64_t firstByte = std::max<int64_t>(0, -firstColumn);
    const int64_t lineEnd = Columns - firstColumn;
    const int64_t endByte = std::min<int64_t>(bytesPerRow, lineEnd);
    const bool closing = bytesPerRow > 0 && bytesPerRow > lineEnd;
    if (bytesPerRow > 0 && firstByte >= endByte) return;  // nothing of a row on its line
    for (int64_t r = firstRow; r < endRow; ++r) {
        const int64_t address = firstColumn + firstByte + (y + r) * Columns + GraphicHome;
        WriteData(static_cast<uint8_t>(address & 0xFF));
        WriteData(static_cast<uint8_t>((address >> 8) & 0xFF));
        WriteCommand(kSetAddressPointer);
        WriteCommand(kSetDataAutoWrite);
        for (int64_t j = firstByte; j < endByte; ++j) {
            uint8_t byte = 0;
            for (int32_t k = 0; k < fw; ++k)
                if (IsOn(image, cutLeft + fw * j + k, cutTop + r)) byte |= static_cast<uint8_t>(1u << (fw - 1 - k));
            WriteData(byte);
        }
        if (closing) WriteData(0x00);
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
    // The rows follow one another byte after byte from GraphicHome; whatever
    // would lie past the graphic area is not sent.
    int32_t room = GraphicBytes;
    for (int32_t i = 0; i < MainSettings.LCD.YPixels && room > 0; ++i) {
        for (int32_t j = 0; j < bytesPerRow && room > 0; ++j, --room) {
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
