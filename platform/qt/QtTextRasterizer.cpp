#include "platform/qt/QtTextRasterizer.h"

#include "platform/qt/QtText.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <algorithm>

namespace dotvane::platform {
namespace {

// 96 dots per inch in the unit Qt's pictures keep it in.
constexpr int kDotsPerMeter = 3780;

// A Qt picture over the tile's own pixels, at 96 dots per inch.
QImage Over(RgbImage& tile)
{
    QImage view(reinterpret_cast<uchar*>(tile.Row(0)), tile.Width(), tile.Height(),
                static_cast<qsizetype>(tile.StrideBytes()), QImage::Format_RGB32);
    view.setDotsPerMeterX(kDotsPerMeter);
    view.setDotsPerMeterY(kDotsPerMeter);
    return view;
}

}  // namespace

const QtTextRasterizer::LoadedFont& QtTextRasterizer::Load(const TextFont& wanted)
{
    if (loaded_ && loaded_->wanted == wanted) return *loaded_;
    LoadedFont loaded{wanted, QFont(), 0, 0};
    if (!wanted.Face.empty()) loaded.font.setFamily(ToQString(wanted.Face));
    loaded.font.setPointSize(std::clamp(wanted.Size, 1, 1000));
    loaded.font.setStyleStrategy(QFont::NoAntialias);
    // Qt's default hinting follows the screen (none on a high-resolution
    // one); the display's glyphs are the same on every screen.
    loaded.font.setHintingPreference(QFont::PreferVerticalHinting);
    RgbImage probe(1, 1);
    const QImage device = Over(probe);
    const QFontMetrics metrics(loaded.font, &device);
    loaded.ascent = metrics.ascent();
    loaded.height = metrics.height();
    return loaded_.emplace(std::move(loaded));
}

TextExtent QtTextRasterizer::Measure(const TextFont& font, std::string_view text)
{
    const LoadedFont& loaded = Load(font);
    RgbImage probe(1, 1);
    const QImage device = Over(probe);
    const int width = QFontMetrics(loaded.font, &device).horizontalAdvance(ToQString(text));
    if (width <= 0 || loaded.height <= 0) return {};
    return {width, loaded.height};
}

void QtTextRasterizer::Render(const TextFont& font, std::string_view text, int32_t left, int32_t top,
                              RgbPixel background, RgbPixel ink, RgbImage& tile)
{
    if (tile.IsNull()) return;
    const LoadedFont& loaded = Load(font);
    QImage view = Over(tile);
    view.fill(QColor::fromRgb(background));
    QPainter painter(&view);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setFont(loaded.font);
    painter.setPen(QColor::fromRgb(ink));
    painter.drawText(QPointF(-left, loaded.ascent - top), ToQString(text));
    painter.end();
    // Qt keeps the top byte of its 32-bit pixels at 0xFF; the program's
    // pictures keep it 0.
    for (int32_t y = 0; y < tile.Height(); ++y)
        for (RgbPixel* pixel = tile.Row(y); pixel != tile.Row(y) + tile.Width(); ++pixel) *pixel &= 0x00FFFFFF;
}

}  // namespace dotvane::platform
