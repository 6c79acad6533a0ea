#include "render/LineDrawing.h"

#include <algorithm>
#include <cstdlib>

namespace dotvane {
namespace {

// floor((a × b + c) / d) for a, b and c below 2^34 and 0 < d < 2^34, in
// 64-bit arithmetic: b is taken in two halves so that no product overflows.
uint64_t MulAddDiv(uint64_t a, uint64_t b, uint64_t c, uint64_t d)
{
    const uint64_t high = a * (b >> 16);
    const uint64_t low = a * (b & 0xFFFF) + c;
    return ((high / d) << 16) + (((high % d) << 16) + low) / d;
}

// Where the exact line passes half-way between two pixels, Windows steps
// on the shorter axis at the earlier of the two in these directions only:
// down and to the left along y (dx of 0 included), up along either axis to
// the left, and up and to the right along x (dy of 0 included).
bool TakesBias(int64_t dx, int64_t dy)
{
    if (dy > 0) return dx <= 0 && -dx <= dy;
    if (dx < 0) return true;
    return dx > -dy;
}

}  // namespace

void DrawLine(RgbImage& image, int32_t x0, int32_t y0, int32_t x1, int32_t y1, RgbPixel pixel)
{
    const int64_t dx = int64_t{x1} - x0, dy = int64_t{y1} - y0;
    if (image.IsNull() || (dx == 0 && dy == 0)) return;
    const bool xMajor = std::llabs(dx) > std::llabs(dy);
    const int64_t major0 = xMajor ? x0 : y0, minor0 = xMajor ? y0 : x0;
    const int64_t majorStep = (xMajor ? dx : dy) > 0 ? 1 : -1, minorStep = (xMajor ? dy : dx) > 0 ? 1 : -1;
    const uint64_t length = uint64_t(std::llabs(xMajor ? dx : dy));
    const uint64_t rise = uint64_t(std::llabs(xMajor ? dy : dx));
    const int64_t majorExtent = xMajor ? image.Width() : image.Height();
    const int64_t minorExtent = xMajor ? image.Height() : image.Width();
    const uint64_t bias = TakesBias(dx, dy) ? 1 : 0;

    // The steps 0 … length − 1 (the end point left out) whose major
    // coordinate lies on the picture.
    const int64_t last = int64_t(length) - 1;
    const int64_t first = std::max<int64_t>(0, majorStep > 0 ? -major0 : major0 - (majorExtent - 1));
    const int64_t end = std::min<int64_t>(last, majorStep > 0 ? majorExtent - 1 - major0 : major0);
    for (int64_t i = first; i <= end; ++i) {
        // The minor coordinate rounds the exact line's to the nearest pixel.
        const int64_t k = int64_t(MulAddDiv(2 * rise, uint64_t(i), length + bias - 1, 2 * length));
        const int64_t major = major0 + majorStep * i, minor = minor0 + minorStep * k;
        if (minor < 0 || minor >= minorExtent) continue;
        if (xMajor)
            image.SetPixel(int32_t(major), int32_t(minor), pixel);
        else
            image.SetPixel(int32_t(minor), int32_t(major), pixel);
    }
}

}  // namespace dotvane
