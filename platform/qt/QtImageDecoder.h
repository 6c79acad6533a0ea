#pragma once

#include "platform/ImageDecoder.h"

namespace dotvane::platform {

// Pictures in every format Qt's image reader knows.
class QtImageDecoder : public ImageDecoder {
public:
    DecodedImage Decode(std::span<const uint8_t> bytes, int32_t maxSide) override;
};

}  // namespace dotvane::platform
