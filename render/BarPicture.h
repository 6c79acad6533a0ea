#pragma once

#include "base/Colors.h"
#include "lcd/PixelImage.h"

#include <cstdint>

namespace dotvane {

// The picture of a bar: `back` everywhere, `fill` in the columns below
// `length` as 4-pixel segments with 1-pixel gaps. Each pixel is worked out
// when it is read, so a bar of any size costs no memory.
class BarPicture : public PixelImage {
public:
    BarPicture(int32_t width, int32_t height, int32_t length, TColor back, TColor fill);
    int32_t Width() const override { return width_; }
    int32_t Height() const override { return height_; }
    TColor Pixel(int32_t x, int32_t y) const override;

private:
    int32_t width_, height_, length_;
    TColor back_, fill_;
};

}  // namespace dotvane
