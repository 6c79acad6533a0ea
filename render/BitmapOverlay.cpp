#include "render/BitmapOverlay.h"

#include "base/Colors.h"
#include "platform/FileNames.h"
#include "render/ImageFile.h"

#include <algorithm>
#include <bit>
#include <system_error>

namespace dotvane {

std::optional<BitmapOverlay::FileStamp> BitmapOverlay::StampOf(const std::filesystem::path& file)
{
    // The size of anything but a regular file is an error, so folders,
    // FIFOs and devices have no stamp and are never taken as unchanged.
    std::error_code error;
    FileStamp stamp;
    stamp.size = std::filesystem::file_size(file, error);
    if (error) return std::nullopt;
    stamp.modified = std::filesystem::last_write_time(file, error);
    if (error) return std::nullopt;
    return stamp;
}

void BitmapOverlay::Update(const std::string& fileName, int width, int height)
{
    const std::optional<FileStamp> stamp = StampOf(platform::NativePath(fileName));
    if (settled_ && stamp == stamp_ && fileName == fileName_ && width == width_ && height == height_) return;

    const auto readAt = std::filesystem::file_time_type::clock::now();
    fileName_ = fileName;
    width_ = width;
    height_ = height;
    stamp_ = stamp;
    settled_ = stamp && readAt - stamp->modified > kSettleTime;

    const RgbImage picture = LoadImageFile(fileName).Picture;
    maskWidth_ = std::min(width, picture.Width());
    maskHeight_ = std::min(height, picture.Height());
    wordsPerRow_ = (size_t(maskWidth_) + 63) / 64;
    black_.assign(wordsPerRow_ * size_t(maskHeight_), 0);
    for (int y = 0; y < maskHeight_; ++y)
        for (int x = 0; x < maskWidth_; ++x)
            if (picture.Pixel(x, y) == 0)
                black_[size_t(y) * wordsPerRow_ + size_t(x) / 64] |= uint64_t{1} << (x % 64);
}

void BitmapOverlay::DrawInto(RgbImage& image, RgbPixel color) const
{
    if (image.Width() < maskWidth_ || image.Height() < maskHeight_) return;
    for (int y = 0; y < maskHeight_; ++y) {
        RgbPixel* line = image.Row(y);
        for (size_t word = 0; word < wordsPerRow_; ++word)
            for (uint64_t bits = black_[size_t(y) * wordsPerRow_ + word]; bits != 0; bits &= bits - 1)
                line[word * 64 + size_t(std::countr_zero(bits))] = color;
    }
}

}  // namespace dotvane
