#include "lcd/emulator/Glass.h"

#include "lcd/Font5x7.h"

#include <algorithm>
#include <array>
#include <numeric>

namespace dotvane::emulator {
namespace {

// Colours of the glass: background and dark pixel.
constexpr std::array<uint8_t, 6> kPalette{0xB4, 0xC8, 0x3C, 0x1E, 0x28, 0x14};

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0)
{
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

uint32_t Adler32(const std::vector<uint8_t>& data)
{
    uint32_t a = 1;
    uint32_t b = 0;
    for (uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

void PutBigEndian(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data)
{
    PutBigEndian(out, static_cast<uint32_t>(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBigEndian(out, Crc32(out.data() + start, out.size() - start));
}

// A zlib stream of stored (uncompressed) deflate blocks: the pictures are
// small, and this needs no compression library.
std::vector<uint8_t> StoredZlib(const std::vector<uint8_t>& raw)
{
    std::vector<uint8_t> out{0x78, 0x01};
    size_t offset = 0;
    do {
        const size_t length = std::min<size_t>(raw.size() - offset, 65535);
        const bool last = offset + length == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<uint8_t>(length));
        out.push_back(static_cast<uint8_t>(length >> 8));
        out.push_back(static_cast<uint8_t>(~length));
        out.push_back(static_cast<uint8_t>(~length >> 8));
        out.insert(out.end(), raw.begin() + static_cast<long>(offset), raw.begin() + static_cast<long>(offset + length));
        offset += length;
    } while (offset < raw.size());
    PutBigEndian(out, Adler32(raw));
    return out;
}

}  // namespace

int Glass::LitCount() const { return std::accumulate(Pixels.begin(), Pixels.end(), 0); }

std::vector<uint8_t> EncodePng(const Glass& glass, int scale)
{
    scale = std::max(scale, 1);
    const uint32_t width = static_cast<uint32_t>(glass.Width * scale);
    const uint32_t height = static_cast<uint32_t>(glass.Height * scale);

    // One bit per pixel, indexing a two-colour palette; each row starts
    // with filter type 0.
    const size_t rowBytes = (width + 7) / 8;
    std::vector<uint8_t> raw;
    raw.reserve((rowBytes + 1) * height);
    for (uint32_t y = 0; y < height; ++y) {
        raw.push_back(0);
        std::vector<uint8_t> row(rowBytes, 0);
        for (uint32_t x = 0; x < width; ++x) {
            if (glass.At(static_cast<int>(x) / scale, static_cast<int>(y) / scale))
                row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        }
        raw.insert(raw.end(), row.begin(), row.end());
    }

    std::vector<uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutBigEndian(header, width);
    PutBigEndian(header, height);
    header.insert(header.end(), {1, 3, 0, 0, 0});  // depth 1, palette, deflate, filter 0, no interlace
    PutChunk(png, "IHDR", header);
    PutChunk(png, "PLTE", {kPalette.begin(), kPalette.end()});
    PutChunk(png, "IDAT", StoredZlib(raw));
    PutChunk(png, "IEND", {});
    return png;
}

std::string EncodePbm(const Glass& glass)
{
    std::string out = "P1\n" + std::to_string(glass.Width) + " " + std::to_string(glass.Height) + "\n";
    for (int y = 0; y < glass.Height; ++y) {
        for (int x = 0; x < glass.Width; ++x) out += glass.At(x, y) ? '1' : '0';
        out += '\n';
    }
    return out;
}

std::string ReadText(const Glass& glass, int x, int y, int cellWidth, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i) {
        std::array<uint8_t, 5> columns{};
        for (int c = 0; c < 5; ++c) {
            for (int r = 0; r < 7; ++r) {
                if (glass.At(x + i * cellWidth + c, y + r)) columns[static_cast<size_t>(c)] |= static_cast<uint8_t>(1 << r);
            }
        }
        char found = '?';
        for (int code = 32; code < 128 && found == '?'; ++code) {
            const auto glyph = Glyph(static_cast<uint8_t>(code));
            if (std::equal(glyph.begin(), glyph.end(), columns.begin())) found = static_cast<char>(code);
        }
        text += found;
    }
    return text;
}

}  // namespace dotvane::emulator
