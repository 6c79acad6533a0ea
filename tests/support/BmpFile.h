#pragma once

#include "base/RgbImage.h"

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace dotvane::test {

// Writes a picture as an uncompressed 24-bit BMP file, bottom row first, as
// paint programs save them.
inline bool WriteBmp(const std::string& file, const RgbImage& picture)
{
    const uint32_t rowBytes = (uint32_t(picture.Width()) * 3 + 3) & ~3u;
    const uint32_t size = 54 + rowBytes * uint32_t(picture.Height());
    std::vector<uint8_t> bmp(size, 0);
    auto put = [&bmp](size_t at, uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) bmp[at + size_t(i)] = uint8_t(value >> (8 * i));
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put(2, size, 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, uint32_t(picture.Width()), 4);
    put(22, uint32_t(picture.Height()), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    for (int32_t y = 0; y < picture.Height(); ++y)
        for (int32_t x = 0; x < picture.Width(); ++x)
            put(54 + size_t(picture.Height() - 1 - y) * rowBytes + size_t(x) * 3, picture.Pixel(x, y), 3);
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bmp.data()), std::streamsize(bmp.size()));
    return bool(out);
}

}  // namespace dotvane::test
