#include "render/ChangedArea.h"

#include <cstring>

namespace dotvane {

Rect ChangedArea(const RgbImage& before, const RgbImage& after)
{
    if (before.Width() != after.Width() || before.Height() != after.Height()) return after.Bounds();
    const int32_t width = after.Width();
    const size_t rowBytes = size_t(width) * sizeof(RgbPixel);
    int32_t top = -1, bottom = -1, left = width, right = -1;
    for (int32_t y = 0; y < after.Height(); ++y) {
        const RgbPixel* old = before.Row(y);
        const RgbPixel* now = after.Row(y);
        if (std::memcmp(old, now, rowBytes) == 0) continue;
        if (top < 0) top = y;
        bottom = y;
        // Only the columns outside those already known to have changed need
        // a look.
        int32_t x = 0;
        while (x < left && old[x] == now[x]) ++x;
        if (x < left) left = x;
        int32_t r = width - 1;
        while (r > right && old[r] == now[r]) --r;
        if (r > right) right = r;
    }
    if (top < 0) return {};
    return {left, top, right - left + 1, bottom - top + 1};
}

}  // namespace dotvane
