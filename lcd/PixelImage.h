#pragma once

#include "base/Colors.h"

#include <cstdint>

namespace dotvane {

// A picture the drivers send to the hardware, read pixel by pixel. The
// renderer provides one over its images; the drivers need no more.
class PixelImage {
public:
    virtual ~PixelImage() = default;
    virtual int32_t Width() const = 0;
    virtual int32_t Height() const = 0;
    // The colour of a pixel inside the picture, red in the low byte.
    virtual TColor Pixel(int32_t x, int32_t y) const = 0;

    bool Contains(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < Width() && y < Height(); }
    // The hardware pixel rule: on exactly when pure black; outside the
    // picture off.
    bool IsOn(int32_t x, int32_t y) const { return Contains(x, y) && Pixel(x, y) == clBlack; }
};

}  // namespace dotvane
