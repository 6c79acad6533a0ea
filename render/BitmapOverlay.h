#pragma once

#include "base/RgbImage.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace dotvane {

// The exactly black pixels of a screen bitmap, cut at the virtual display's
// size, which every refresh lays under the picture. The file is read and
// decoded again only when it may have changed since the last reading: when
// its size or modification time differs, or when it had been modified so
// shortly before that reading that a later change could still carry the
// same time. So a file changed on disk shows at the next refresh, and one
// that stays as it is costs a look at its size and time per refresh.
class BitmapOverlay {
public:
    // A file modified less than this before it was read is read again at
    // the next refresh: file systems keep modification times coarsely,
    // some to two seconds.
    static constexpr std::chrono::seconds kSettleTime{3};

    // Brings the pixels up to date for the file (named as users write it)
    // on a display of width × height pixels.
    void Update(const std::string& fileName, int width, int height);
    // Sets the black pixels in `image`, a picture of the size last given to
    // Update, to `color`. Nothing when the file could not be read or is no
    // picture.
    void DrawInto(RgbImage& image, RgbPixel color) const;

private:
    struct FileStamp {
        std::uintmax_t size = 0;
        std::filesystem::file_time_type modified{};
        bool operator==(const FileStamp&) const = default;
    };
    // The size and time of a regular file; none for anything else.
    static std::optional<FileStamp> StampOf(const std::filesystem::path& file);

    std::string fileName_;
    int width_ = 0, height_ = 0;
    std::optional<FileStamp> stamp_;
    bool settled_ = false;
    // One bit per pixel of the part of the picture that lies on the display,
    // row by row, each row in whole words, so that drawing visits only the
    // black pixels.
    int maskWidth_ = 0, maskHeight_ = 0;
    size_t wordsPerRow_ = 0;
    std::vector<uint64_t> black_;
};

}  // namespace dotvane
