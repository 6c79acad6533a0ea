#include "render/QtColors.h"
#include "render/Renderer.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>

namespace dotvane {
namespace {

// The ageing step writes one entry past the point count, so the count must
// stay two below the history's length.
constexpr int32_t kMaxPointCount = static_cast<int32_t>(std::tuple_size_v<decltype(Renderer::GraphHistory)>) - 2;

// Rounds half up to a pixel row. Points above the box (negative rows) round
// the same way as the others, so value 90 in a 50-pixel box lands on row -25.
int32_t RoundToRow(double row)
{
    return static_cast<int32_t>(std::clamp(std::floor(row + 0.5), double(std::numeric_limits<int32_t>::min()),
                                           double(std::numeric_limits<int32_t>::max())));
}

}  // namespace

void Renderer::DrawGraph(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t value)
{
    const int64_t boxWidth = int64_t{x2} - x1;
    const int64_t boxHeight = int64_t{y2} - y1;
    const int64_t maxPoints = std::min<int64_t>(boxWidth / 5, kMaxPointCount);

    QImage& image = VlcdBitmap.image;
    std::unique_ptr<QPainter> painter;
    if (!image.isNull()) {
        painter = std::make_unique<QPainter>(&image);
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->setPen(QPen(QColor::fromRgb(ToQRgb(VlcdBitmap.penColor)), 0));
        painter->drawLine(QPointF(x2, y1), QPointF(x2, y2));
        painter->drawLine(QPointF(x2, y2), QPointF(x1, y2));
    }

    GraphHistory[0] = RoundToRow(y2 - double(value) * (1.0 / 60.0) * double(boxHeight));
    VlcdBitmap.penColor = clBlack;

    if (painter) {
        painter->setPen(QPen(Qt::black, 0));
        QPointF from(x2, GraphHistory[0]);
        for (int32_t i = 0; i <= GraphPointCount; ++i) {
            const QPointF to(double(x2) - 5.0 * i, GraphHistory[i]);
            if (to != from) painter->drawLine(from, to);
            from = to;
        }
    }

    for (int32_t i = GraphPointCount; i >= 0; --i) GraphHistory[i + 1] = GraphHistory[i];
    GraphPointCount = static_cast<int32_t>(std::min<int64_t>(int64_t{GraphPointCount} + 1, maxPoints));
}

}  // namespace dotvane
