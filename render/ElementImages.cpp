#include "render/ElementImages.h"

#include "render/QtColors.h"
#include "render/QtText.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace dotvane {

BarPicture::BarPicture(int32_t width, int32_t height, int32_t length, TColor back, TColor fill)
    : width_(std::max(0, width)),
      height_(std::max(0, height)),
      length_(length),
      back_(ColorToRGB(back)),
      fill_(ColorToRGB(fill))
{
    if (width_ == 0 || height_ == 0) width_ = height_ = 0;
}

TColor BarPicture::Pixel(int32_t x, int32_t) const { return x < length_ && x % 5 != 4 ? fill_ : back_; }

FontTextPicture::FontTextPicture(const std::string& text, const std::string& fontName, int32_t size,
                                 TColor background, TColor glyphs)
    : text_(ToQString(text)),
      background_(background),
      glyphs_(glyphs)
{
    if (!fontName.empty()) font_.setFamily(ToQString(fontName));
    font_.setPointSize(std::clamp(size, 1, 1000));
    font_.setStyleStrategy(QFont::NoAntialias);
    QImage probe(1, 1, QImage::Format_RGB32);
    const QFontMetrics metrics(font_, &probe);
    ascent_ = metrics.ascent();
    width_ = metrics.horizontalAdvance(text_);
    height_ = metrics.height();
    if (width_ <= 0 || height_ <= 0) width_ = height_ = 0;
}

TColor FontTextPicture::Pixel(int32_t x, int32_t y) const
{
    const QImage& tile = Tile(x / kTileWidth, y / kTileHeight);
    return ToTColor(tile.pixel(x % kTileWidth, y % kTileHeight));
}

const QImage& FontTextPicture::Tile(int32_t column, int32_t row) const
{
    const auto key = std::make_pair(column, row);
    if (const auto it = tiles_.find(key); it != tiles_.end()) return it->second;
    const int left = column * kTileWidth, top = row * kTileHeight;
    QImage tile(std::min(kTileWidth, width_ - left), std::min(kTileHeight, height_ - top), QImage::Format_RGB32);
    tile.fill(ToQRgb(background_));
    QPainter painter(&tile);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setFont(font_);
    painter.setPen(QColor::fromRgb(ToQRgb(glyphs_)));
    painter.drawText(QPointF(-left, ascent_ - top), text_);
    painter.end();
    return tiles_.emplace(key, std::move(tile)).first->second;
}

void DrawIntoImage(QImage& target, const PixelImage& image, int32_t x, int32_t y, std::optional<TColor> transparent)
{
    if (target.isNull()) return;
    const QRgb skip = transparent ? ToQRgb(*transparent) : 0;
    const int64_t x0 = std::max<int64_t>(0, -int64_t{x}), y0 = std::max<int64_t>(0, -int64_t{y});
    const int64_t x1 = std::min<int64_t>(image.Width(), int64_t{target.width()} - x);
    const int64_t y1 = std::min<int64_t>(image.Height(), int64_t{target.height()} - y);
    for (int64_t j = y0; j < y1; ++j)
        for (int64_t i = x0; i < x1; ++i) {
            const QRgb pixel = ToQRgb(image.Pixel(int32_t(i), int32_t(j)));
            if (!transparent || pixel != skip) target.setPixel(int(x + i), int(y + j), pixel);
        }
}

}  // namespace dotvane
