#include "render/DrawIntoImage.h"

#include <algorithm>

namespace dotvane {

void DrawIntoImage(RgbImage& target, const PixelImage& image, int32_t x, int32_t y, std::optional<TColor> transparent)
{
    if (target.IsNull()) return;
    const RgbPixel skip = transparent ? PixelOf(*transparent) : 0;
    const int64_t x0 = std::max<int64_t>(0, -int64_t{x}), y0 = std::max<int64_t>(0, -int64_t{y});
    const int64_t x1 = std::min<int64_t>(image.Width(), int64_t{target.Width()} - x);
    const int64_t y1 = std::min<int64_t>(image.Height(), int64_t{target.Height()} - y);
    for (int64_t j = y0; j < y1; ++j) {
        RgbPixel* line = target.Row(int32_t(y + j));
        for (int64_t i = x0; i < x1; ++i) {
            const RgbPixel pixel = PixelOf(image.Pixel(int32_t(i), int32_t(j)));
            if (!transparent || pixel != skip) line[x + i] = pixel;
        }
    }
}

}  // namespace dotvane
