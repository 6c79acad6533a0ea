#include "render/ElementImages.h"

#include "render/QtColors.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace dotvane {

QImage MakeBarImage(int32_t width, int32_t height, int32_t length, TColor backColor, TColor fillColor)
{
    QImage image(std::max(0, width), std::max(0, height), QImage::Format_RGB32);
    if (image.isNull()) return image;
    const QRgb back = ToQRgb(backColor);
    const QRgb fill = ToQRgb(fillColor);
    image.fill(back);
    const int filled = std::clamp(length, 0, image.width());
    for (int x = 0; x < filled; ++x) {
        const bool gap = x % 5 == 4;
        for (int y = 0; y < image.height(); ++y) image.setPixel(x, y, gap ? back : fill);
    }
    return image;
}

QImage MakeFontTextImage(const std::string& text, const std::string& fontName, int32_t size, TColor background,
                         TColor glyphs)
{
    QFont font;
    if (!fontName.empty()) font.setFamily(QString::fromLocal8Bit(fontName.c_str()));
    font.setPointSize(std::clamp(size, 1, 1000));
    font.setStyleStrategy(QFont::NoAntialias);

    const QString string = QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
    QImage probe(1, 1, QImage::Format_RGB32);
    const QFontMetrics metrics(font, &probe);
    QImage image(metrics.horizontalAdvance(string), metrics.height(), QImage::Format_RGB32);
    if (image.isNull()) return image;
    image.fill(ToQRgb(background));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setFont(font);
    painter.setPen(QColor::fromRgb(ToQRgb(glyphs)));
    painter.drawText(0, metrics.ascent(), string);
    return image;
}

void DrawIntoImage(QImage& target, const QImage& image, int32_t x, int32_t y, std::optional<TColor> transparent)
{
    if (target.isNull() || image.isNull()) return;
    const QRgb skip = transparent ? ToQRgb(*transparent) : 0;
    const int64_t x0 = std::max<int64_t>(0, -int64_t{x}), y0 = std::max<int64_t>(0, -int64_t{y});
    const int64_t x1 = std::min<int64_t>(image.width(), int64_t{target.width()} - x);
    const int64_t y1 = std::min<int64_t>(image.height(), int64_t{target.height()} - y);
    for (int64_t j = y0; j < y1; ++j)
        for (int64_t i = x0; i < x1; ++i) {
            const QRgb pixel = image.pixel(int(i), int(j)) | 0xFF000000u;
            if (!transparent || pixel != skip) target.setPixel(int(x + i), int(y + j), pixel);
        }
}

}  // namespace dotvane
