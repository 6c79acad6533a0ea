#pragma once

#include "platform/ImageDecoder.h"

#include <cstddef>
#include <string>

namespace dotvane {

// The largest image file that is loaded, and the largest width and height
// of its picture: far beyond any display's, and small enough that decoding
// stays quick and small.
inline constexpr size_t kImageFileLimit = 8 * 1024 * 1024;
inline constexpr int kImageSideLimit = 4096;

// Loads an image file named as users write it (a relative name resolves
// against the current folder) with the installed image decoder. No picture,
// and the reason, when the file is missing, no regular file (a folder, FIFO
// or device), larger than kImageFileLimit, not a picture, or wider or
// higher than kImageSideLimit.
platform::DecodedImage LoadImageFile(const std::string& fileName);

}  // namespace dotvane
