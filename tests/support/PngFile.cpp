#include "tests/support/PngFile.h"

#include <zlib.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

namespace dotvane::test {
namespace {

constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

uint32_t BigEndian(const unsigned char* bytes)
{
    return uint32_t{bytes[0]} << 24 | uint32_t{bytes[1]} << 16 | uint32_t{bytes[2]} << 8 | bytes[3];
}

void PutBigEndian(std::vector<unsigned char>& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<unsigned char>(value >> shift));
}

int Paeth(int a, int b, int c)
{
    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

void PutChunk(std::vector<unsigned char>& out, const char* type, const std::vector<unsigned char>& data)
{
    PutBigEndian(out, static_cast<uint32_t>(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBigEndian(out, static_cast<uint32_t>(crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

}  // namespace

std::optional<RgbImage> ReadPng(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    const std::vector<unsigned char> png((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (png.size() < 8 || !std::equal(kSignature, kSignature + 8, png.begin())) return std::nullopt;
    uint32_t width = 0, height = 0;
    int channels = 0;
    std::vector<unsigned char> compressed;
    for (size_t at = 8; at + 12 <= png.size();) {
        const uint32_t length = BigEndian(&png[at]);
        if (length > png.size() - at - 12) return std::nullopt;
        const std::string type(png.begin() + long(at) + 4, png.begin() + long(at) + 8);
        const unsigned char* data = &png[at + 8];
        if (type == "IHDR") {
            width = BigEndian(data);
            height = BigEndian(data + 4);
            if (data[8] != 8 || (data[9] != 2 && data[9] != 6) || data[12] != 0) return std::nullopt;
            channels = data[9] == 2 ? 3 : 4;
        } else if (type == "IDAT") {
            compressed.insert(compressed.end(), data, data + length);
        }
        at += 12 + length;
    }
    if (channels == 0 || width == 0 || height == 0 || width > 8192 || height > 8192) return std::nullopt;
    const size_t rowBytes = size_t(width) * size_t(channels);
    std::vector<unsigned char> raw((rowBytes + 1) * height);
    uLongf rawSize = static_cast<uLongf>(raw.size());
    if (uncompress(raw.data(), &rawSize, compressed.data(), static_cast<uLong>(compressed.size())) != Z_OK ||
        rawSize != raw.size())
        return std::nullopt;

    RgbImage picture{int32_t(width), int32_t(height)};
    std::vector<unsigned char> previous(rowBytes, 0), row(rowBytes);
    for (uint32_t y = 0; y < height; ++y) {
        const unsigned char* line = &raw[y * (rowBytes + 1)];
        for (size_t i = 0; i < rowBytes; ++i) {
            const int left = i >= size_t(channels) ? row[i - size_t(channels)] : 0;
            const int up = previous[i], upLeft = i >= size_t(channels) ? previous[i - size_t(channels)] : 0;
            int predicted = 0;
            switch (line[0]) {
            case 0: predicted = 0; break;
            case 1: predicted = left; break;
            case 2: predicted = up; break;
            case 3: predicted = (left + up) / 2; break;
            case 4: predicted = Paeth(left, up, upLeft); break;
            default: return std::nullopt;
            }
            row[i] = static_cast<unsigned char>(line[1 + i] + predicted);
        }
        for (uint32_t x = 0; x < width; ++x) {
            const unsigned char* p = &row[x * size_t(channels)];
            picture.SetPixel(int32_t(x), int32_t(y), RgbPixel{p[0]} << 16 | RgbPixel{p[1]} << 8 | p[2]);
        }
        previous = row;
    }
    return picture;
}

bool WritePng(const std::string& file, const RgbImage& picture)
{
    std::vector<unsigned char> raw;
    for (int32_t y = 0; y < picture.Height(); ++y) {
        raw.push_back(0);
        for (int32_t x = 0; x < picture.Width(); ++x) {
            const RgbPixel p = picture.Pixel(x, y);
            raw.insert(raw.end(), {static_cast<unsigned char>(p >> 16), static_cast<unsigned char>(p >> 8),
                                   static_cast<unsigned char>(p)});
        }
    }
    std::vector<unsigned char> compressed(compressBound(static_cast<uLong>(raw.size())));
    uLongf compressedSize = static_cast<uLongf>(compressed.size());
    if (compress2(compressed.data(), &compressedSize, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK)
        return false;
    compressed.resize(compressedSize);

    std::vector<unsigned char> png(kSignature, kSignature + 8), header;
    PutBigEndian(header, static_cast<uint32_t>(picture.Width()));
    PutBigEndian(header, static_cast<uint32_t>(picture.Height()));
    header.insert(header.end(), {8, 2, 0, 0, 0});
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", compressed);
    PutChunk(png, "IEND", {});
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
    return bool(out);
}

}  // namespace dotvane::test
