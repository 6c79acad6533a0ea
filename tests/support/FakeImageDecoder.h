#pragma once

#include "platform/ImageDecoder.h"

#include <cstdint>
#include <span>

namespace dotvane::test {

// An image decoder that does not depend on a toolkit: it reads the
// uncompressed BMP files that tests write and that the examples hold (1, 8,
// 24 and 32 bits a pixel), and refuses every other format. It installs
// itself for its lifetime and counts what it decoded.
class FakeImageDecoder : public platform::ImageDecoder {
    platform::ImageDecoderService::Scoped installed_{*this};

public:
    platform::DecodedImage Decode(std::span<const uint8_t> bytes, int32_t maxSide) override
    {
        ++decodes;
        auto at = [&bytes](size_t offset, int count) {
            uint32_t value = 0;
            for (int i = count - 1; i >= 0; --i) value = value << 8 | bytes[offset + size_t(i)];
            return value;
        };
        if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M' || at(30, 4) != 0) return {{}, "not a BMP file"};
        const int32_t width = int32_t(at(18, 4)), rawHeight = int32_t(at(22, 4));
        const int32_t height = rawHeight < 0 ? -rawHeight : rawHeight;
        const uint32_t bits = at(28, 2), offset = at(10, 4), palette = 14 + at(14, 4);
        if (width <= 0 || height <= 0) return {{}, "not a BMP file"};
        if (width > maxSide || height > maxSide) return {{}, "the picture is too large"};
        const size_t rowBytes = (size_t(width) * bits + 31) / 32 * 4;
        if ((bits != 1 && bits != 8 && bits != 24 && bits != 32) || offset + rowBytes * size_t(height) > bytes.size())
            return {{}, "not a BMP file this decoder reads"};
        RgbImage picture(width, height);
        for (int32_t y = 0; y < height; ++y) {
            const size_t row = offset + rowBytes * size_t(rawHeight < 0 ? y : height - 1 - y);
            for (int32_t x = 0; x < width; ++x) {
                uint32_t pixel = 0;
                if (bits >= 24)
                    pixel = at(row + size_t(x) * (bits / 8), 3);
                else {
                    const uint32_t index = bits == 8 ? bytes[row + size_t(x)]
                                                     : (bytes[row + size_t(x) / 8] >> (7 - x % 8)) & 1;
                    if (palette + 4 * index + 3 >= offset) return {{}, "not a BMP file this decoder reads"};
                    pixel = at(palette + 4 * index, 3);
                }
                picture.SetPixel(x, y, pixel);
            }
        }
        return {std::move(picture), {}};
    }

    int decodes = 0;
};

}  // namespace dotvane::test
