#include "base/RgbImage.h"

#include <algorithm>

namespace dotvane {

RgbImage::RgbImage(int32_t width, int32_t height)
{
    if (width <= 0 || height <= 0) return;
    width_ = width;
    height_ = height;
    pixels_.assign(size_t(width) * size_t(height), 0);
}

void RgbImage::Fill(RgbPixel pixel) { std::fill(pixels_.begin(), pixels_.end(), pixel); }

}  // namespace dotvane
