#include "base/RgbImage.h"

#include <algorithm>
#include <cstring>

namespace dotvane {

RgbImage::RgbImage(int32_t width, int32_t height)
{
    if (width <= 0 || height <= 0) return;
    width_ = width;
    height_ = height;
    pixels_.assign(size_t(width) * size_t(height), 0);
}

void RgbImage::Fill(RgbPixel pixel)
{
    // A few pixels one by one, then the filled part copied onto the rest in
    // doubling steps: a handful of block copies, which the C library does
    // many bytes at a time, instead of a store per pixel.
    const size_t count = pixels_.size();
    size_t filled = std::min<size_t>(count, 16);
    std::fill_n(pixels_.data(), filled, pixel);
    while (filled < count) {
        const size_t step = std::min(filled, count - filled);
        std::memcpy(pixels_.data() + filled, pixels_.data(), step * sizeof(RgbPixel));
        filled += step;
    }
}

}  // namespace dotvane
