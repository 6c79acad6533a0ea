#include "render/PictureChange.h"

#include <cstring>

namespace dotvane {

QRect ChangedArea(const QImage& before, const QImage& after)
{
    if (before.size() != after.size() || before.format() != after.format() || after.depth() != 32) return after.rect();
    const int width = after.width();
    const size_t rowBytes = size_t(width) * sizeof(QRgb);
    int top = -1, bottom = -1, left = width, right = -1;
    for (int y = 0; y < after.height(); ++y) {
        const auto* old = reinterpret_cast<const QRgb*>(before.constScanLine(y));
        const auto* now = reinterpret_cast<const QRgb*>(after.constScanLine(y));
        if (std::memcmp(old, now, rowBytes) == 0) continue;
        if (top < 0) top = y;
        bottom = y;
        // Only the columns outside those already known to have changed need
        // a look.
        int x = 0;
        while (x < left && old[x] == now[x]) ++x;
        if (x < left) left = x;
        int r = width - 1;
        while (r > right && old[r] == now[r]) --r;
        if (r > right) right = r;
    }
    if (top < 0) return {};
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

}  // namespace dotvane
