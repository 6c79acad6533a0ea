#pragma once

#include "base/RgbImage.h"
#include "lcd/PixelImage.h"

namespace dotvane {

// A picture in memory as the drivers read it.
class RgbPixelImage : public PixelImage {
public:
    explicit RgbPixelImage(const RgbImage& image) : image_(image) {}
    int32_t Width() const override { return image_.Width(); }
    int32_t Height() const override { return image_.Height(); }
    TColor Pixel(int32_t x, int32_t y) const override { return ToTColor(image_.Pixel(x, y)); }

private:
    const RgbImage& image_;
};

}  // namespace dotvane
