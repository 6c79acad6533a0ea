#pragma once

#include "base/RgbImage.h"
#include "base/ServicePoint.h"

#include <cstdint>
#include <span>
#include <string>

namespace dotvane::platform {

// A decoded picture, or why there is none.
struct DecodedImage {
    RgbImage Picture;
    // Empty when Picture holds the picture.
    std::string Problem;
};

// Turns the bytes of an image file, in whatever format they show, into a
// picture.
class ImageDecoder {
public:
    virtual ~ImageDecoder() = default;
    // A picture wider or higher than `maxSide` is refused, before it is
    // decoded wherever the format tells its size first.
    virtual DecodedImage Decode(std::span<const uint8_t> bytes, int32_t maxSide) = 0;
};

// A decoder that reads no format at all. The system's own on Linux, which
// has no image decoder below a toolkit (the Qt shell installs Qt's);
// Windows decodes pictures with its Imaging Component.
class NoImageDecoder : public ImageDecoder {
public:
    DecodedImage Decode(std::span<const uint8_t>, int32_t) override { return {{}, "no image decoder"}; }
};

// The system's implementation, created on first use.
ImageDecoder& SystemImageDecoder();
// Where the program finds it: the system's own, or one a shell or a test
// installs.
using ImageDecoderService = ServicePoint<ImageDecoder, SystemImageDecoder>;

}  // namespace dotvane::platform
