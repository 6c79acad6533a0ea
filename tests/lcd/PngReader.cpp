#include "PngReader.h"

#include <fstream>
#include <iterator>

namespace dotvane::test {
namespace {

uint32_t BigEndian(const uint8_t* p) { return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3]; }

uint32_t Crc(const uint8_t* data, size_t size)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
    return ~crc;
}

}  // namespace

std::vector<uint8_t> ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::optional<emulator::Glass> ReadGlassPng(const std::vector<uint8_t>& png, int scale)
{
    const std::vector<uint8_t> signature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (png.size() < 8 || !std::equal(signature.begin(), signature.end(), png.begin())) return std::nullopt;
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> zlib;
    bool ended = false;
    for (size_t at = 8; at + 12 <= png.size() && !ended;) {
        const uint32_t length = BigEndian(&png[at]);
        if (at + 12 + length > png.size()) return std::nullopt;
        const std::string type(png.begin() + static_cast<long>(at) + 4, png.begin() + static_cast<long>(at) + 8);
        const uint8_t* data = &png[at + 8];
        if (Crc(&png[at + 4], length + 4) != BigEndian(data + length)) return std::nullopt;
        if (type == "IHDR") {
            width = BigEndian(data);
            height = BigEndian(data + 4);
            if (data[8] != 1 || data[9] != 3) return std::nullopt;
        } else if (type == "IDAT") {
            zlib.insert(zlib.end(), data, data + length);
        } else if (type == "IEND") {
            ended = true;
        }
        at += 12 + length;
    }
    if (!ended || zlib.size() < 6 || zlib[0] != 0x78) return std::nullopt;

    std::vector<uint8_t> raw;
    size_t at = 2;
    for (bool last = false; !last;) {
        if (at + 5 > zlib.size() || (zlib[at] & 0x06) != 0) return std::nullopt;  // stored blocks only
        last = zlib[at] & 1;
        const size_t length = zlib[at + 1] | zlib[at + 2] << 8;
        if ((length ^ 0xFFFF) != static_cast<size_t>(zlib[at + 3] | zlib[at + 4] << 8)) return std::nullopt;
        at += 5;
        if (at + length > zlib.size()) return std::nullopt;
        raw.insert(raw.end(), zlib.begin() + static_cast<long>(at), zlib.begin() + static_cast<long>(at + length));
        at += length;
    }
    uint32_t a = 1;
    uint32_t b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    if (at + 4 > zlib.size() || BigEndian(&zlib[at]) != (b << 16 | a)) return std::nullopt;

    const size_t rowBytes = (width + 7) / 8 + 1;
    if (raw.size() != rowBytes * height || width % scale || height % scale) return std::nullopt;
    emulator::Glass glass(static_cast<int>(width) / scale, static_cast<int>(height) / scale);
    for (int y = 0; y < glass.Height; ++y) {
        const uint8_t* row = &raw[static_cast<size_t>(y * scale) * rowBytes];
        if (row[0] != 0) return std::nullopt;
        for (int x = 0; x < glass.Width; ++x) {
            const int px = x * scale;
            glass.Set(x, y, (row[1 + px / 8] >> (7 - px % 8)) & 1);
        }
    }
    return glass;
}

}  // namespace dotvane::test
