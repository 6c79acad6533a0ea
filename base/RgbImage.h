#pragma once

#include "base/Colors.h"
#include "base/Rect.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace dotvane {

// A pixel as pictures hold it: 0x00RRGGBB, red in the high byte. Not the
// byte order of a TColor, which has red in the low byte.
using RgbPixel = uint32_t;

constexpr RgbPixel ToRgbPixel(TColor rgb) { return (uint32_t{RedOf(rgb)} << 16) | (uint32_t{GreenOf(rgb)} << 8) | BlueOf(rgb); }
constexpr TColor ToTColor(RgbPixel pixel)
{
    return RGBColor(uint8_t(pixel >> 16), uint8_t(pixel >> 8), uint8_t(pixel));
}
// The pixel a colour value (system colours included) is drawn with.
inline RgbPixel PixelOf(TColor color) { return ToRgbPixel(ColorToRGB(color)); }

// A picture in memory: Width × Height pixels of 32 bits, row after row from
// the top, each row Stride() pixels long. That is the memory layout of both
// a 32-bit Qt image (RGB32) and a top-down 32-bit Windows DIB, so a window
// shows it without a copy. A picture of no pixels is null.
class RgbImage {
public:
    RgbImage() = default;
    // A picture of the given size, all black; a null one when either side is
    // 0 or less.
    RgbImage(int32_t width, int32_t height);

    bool IsNull() const { return pixels_.empty(); }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    // Pixels from the start of one row to the start of the next.
    size_t Stride() const { return size_t(width_); }
    size_t StrideBytes() const { return Stride() * sizeof(RgbPixel); }
    Rect Bounds() const { return {0, 0, width_, height_}; }

    RgbPixel* Row(int32_t y) { return pixels_.data() + size_t(y) * Stride(); }
    const RgbPixel* Row(int32_t y) const { return pixels_.data() + size_t(y) * Stride(); }
    const RgbPixel* Bits() const { return pixels_.data(); }

    bool Contains(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    // Reads and writes one pixel inside the picture.
    RgbPixel Pixel(int32_t x, int32_t y) const { return Row(y)[x]; }
    void SetPixel(int32_t x, int32_t y, RgbPixel pixel) { Row(y)[x] = pixel; }
    void Fill(RgbPixel pixel);

    bool operator==(const RgbImage&) const = default;

private:
    int32_t width_ = 0;
    int32_t height_ = 0;
    std::vector<RgbPixel> pixels_;
};

}  // namespace dotvane
