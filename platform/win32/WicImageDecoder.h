#pragma once

#include "platform/ImageDecoder.h"

namespace dotvane::platform {

// Pictures in every format the Windows Imaging Component reads (BMP, PNG,
// GIF, JPEG, TIFF, ICO and whatever codecs the system adds). The picture's
// size is checked before a pixel is decoded. WIC is a COM component: the
// calling thread must have initialised COM, as the Windows shell does at
// start; without it every picture is refused with the reason.
class WicImageDecoder : public ImageDecoder {
public:
    DecodedImage Decode(std::span<const uint8_t> bytes, int32_t maxSide) override;
};

}  // namespace dotvane::platform
