#include "platform/qt/QtImageDecoder.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include <algorithm>

namespace dotvane::platform {

DecodedImage QtImageDecoder::Decode(std::span<const uint8_t> bytes, int32_t maxSide)
{
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    if (!buffer.open(QIODevice::ReadOnly)) return {{}, "the bytes cannot be read"};
    QImageReader reader(&buffer);
    const auto fits = [maxSide](const QSize& size) { return size.width() <= maxSide && size.height() <= maxSide; };
    // The header tells the size of most formats, so a picture too large is
    // never decoded; the reader's own allocation limit catches the formats
    // whose size shows only while decoding.
    const QSize announced = reader.size();
    if (announced.isValid() && !fits(announced)) return {{}, "the picture is too large"};
    const qint64 largest = 4 * qint64{maxSide} * maxSide / (1024 * 1024);
    reader.setAllocationLimit(static_cast<int>(std::max<qint64>(largest, 1)));
    const QImage image = reader.read();
    if (image.isNull()) return {{}, reader.errorString().toStdString()};
    if (!fits(image.size())) return {{}, "the picture is too large"};

    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    RgbImage picture(rgb.width(), rgb.height());
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        RgbPixel* to = picture.Row(y);
        // Qt keeps the top byte at 0xFF; the program's pictures keep it 0.
        for (int x = 0; x < rgb.width(); ++x) to[x] = from[x] & 0x00FFFFFF;
    }
    return {std::move(picture), {}};
}

}  // namespace dotvane::platform
