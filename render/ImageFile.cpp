#include "render/ImageFile.h"

#include "platform/FileNames.h"
#include "platform/RegularFiles.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

namespace dotvane {
namespace {

bool FitsTheLimit(const QSize& size)
{
    return size.width() <= kImageSideLimit && size.height() <= kImageSideLimit;
}

// The picture in the buffer in whatever format its content shows; a null
// image when it is no picture, too large or broken.
QImage Decode(QBuffer& buffer)
{
    QImageReader reader(&buffer);
    // The header tells the size of most formats; a picture too large is
    // never decoded, and the decoder's own allocation limit catches the
    // formats whose size shows only while decoding.
    const QSize size = reader.size();
    if (size.isValid() && !FitsTheLimit(size)) return {};
    reader.setAllocationLimit(static_cast<int>(4 * kImageSideLimit * kImageSideLimit / (1024 * 1024)));
    QImage image = reader.read();
    if (image.isNull() || !FitsTheLimit(image.size())) return {};
    return image;
}

}  // namespace

QImage LoadImageFile(const std::string& fileName)
{
    const platform::FileContents contents =
        platform::ReadRegularFile(platform::NativePath(fileName), kImageFileLimit);
    if (contents.status != platform::FileStatus::Ok) return {};

    QByteArray bytes = QByteArray::fromRawData(contents.bytes.data(), static_cast<qsizetype>(contents.bytes.size()));
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::ReadOnly)) return {};
    return Decode(buffer);
}

}  // namespace dotvane
