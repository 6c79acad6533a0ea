// Pictures on the T6963C's graphic layer: element images row by row, icons
// pixel by pixel, and the screen bitmap dithered by brightness.
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

// A size less a cut, in 32-bit arithmetic that wraps round at the ends of
// the range (so a cut far below zero gives a negative count, not a fault).
int32_t Less(int32_t size, int32_t cut)
{
    return static_cast<int32_t>(static_cast<uint32_t>(size) - static_cast<uint32_t>(cut));
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
    const int32_t bytesPerRow = settings_.LCD.XPixels / fw;

    WriteData(static_cast<uint8_t>(GraphicHome & 0xFF));
    WriteData(static_cast<uint8_t>((GraphicHome >> 8) & 0xFF));
    WriteCommand(kSetAddressPointer);
    // The rows follow one another byte after byte from GraphicHome; whatever
    // would lie past the graphic area is not sent.
    int32_t room = GraphicBytes;
    for (int32_t i = 0; i < settings_.LCD.YPixels && room > 0; ++i) {
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

bool TT6963CDriver::DrawScreenBitmap(const std::string& fileName, const PictureLoader& load, uint32_t seed)
{
    const std::unique_ptr<PixelImage> image = load(fileName);
    if (!image) return false;
    DrawBitmap(*image, seed);
    return true;
}

void TT6963CDriver::DrawIcon(const PixelImage& icon, int32_t x, int32_t y)
{
    // Only the pixels on the graphic area are touched: past its edges a
    // pixel's address runs into the next line, the text area or round the
    // controller's memory, onto pixels of the display.
    const int64_t left = std::max<int64_t>(0, -int64_t{x});
    const int64_t top = std::max<int64_t>(0, -int64_t{y});
    const int64_t right = std::min<int64_t>(icon.Width(), int64_t{LineWidth()} - x);
    const int64_t bottom = std::min<int64_t>(icon.Height(), int64_t{Lines()} - y);
    for (int64_t i = top; i < bottom; ++i)
        for (int64_t j = left; j < right; ++j) ResetPixel(int32_t(x + j), int32_t(y + i));
    for (int64_t i = top; i < bottom; ++i)
        for (int64_t j = left; j < right; ++j)
            if (icon.IsOn(int32_t(j), int32_t(i))) SetPixel(int32_t(x + j), int32_t(y + i));
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
