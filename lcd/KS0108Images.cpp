// Pictures on the KS0108: element images in bands of eight rows, and the
// screen bitmap from its fixed one-bit file.
#include "lcd/KS0108Driver.h"
#include "lcd/PixelImage.h"
#include "platform/RegularFiles.h"

#include <algorithm>

namespace dotvane {
namespace {

// Offset of the pixel array in the 1086-byte bitmap file, and its row length.
constexpr size_t kPixelArray = 62;
constexpr size_t kFileRowBytes = 16;

// How many bands of an element at most reach the module.
constexpr int32_t kVisibleBands = 9;

// The hardware pixel rule at a row that may lie past the 32-bit range.
bool IsOn(const PixelImage& image, int32_t x, int64_t y)
{
    return y < image.Height() && image.IsOn(x, static_cast<int32_t>(y));
}

}  // namespace

void TKS0108Driver::WriteImageBands(const PixelImage& image, int32_t x, int32_t y, int32_t bands, int32_t columns)
{
    // Bands start at image row 1: row 0 never reaches the module. Positions
    // are 32-bit and wrap round at the ends of the range; the module keeps
    // only the low three bits of a page and the low eight of a column, and
    // takes no data past column 127. So band m + 8 covers all that band m
    // wrote, and column c + 256 of a band what column c wrote: only the
    // last bands (nine, enough for an element as high as the display with
    // its extra band) and of each the last 256 columns can still be seen,
    // and of these only the columns that fall on the display are sent.
    const int32_t firstPage = static_cast<int32_t>(static_cast<uint32_t>(y) + 1u) / 8;
    const auto firstBand = static_cast<int32_t>(std::max<int64_t>(0, int64_t{bands} - kVisibleBands));
    const auto firstColumn = static_cast<int32_t>(std::max<int64_t>(0, int64_t{columns} - 256));
    for (int32_t m = firstBand; m < bands; ++m) {
        for (int32_t c = firstColumn; c < columns; ++c) {
            const auto column = static_cast<uint8_t>(static_cast<uint32_t>(x) + static_cast<uint32_t>(c));
            if (column > 127) continue;
            uint8_t byte = 0;
            for (int32_t b = 0; b < 8; ++b)
                if (IsOn(image, c, int64_t{8} * m + 1 + b)) byte |= static_cast<uint8_t>(1u << b);
            SetPage(static_cast<uint8_t>(static_cast<uint32_t>(firstPage) + static_cast<uint32_t>(m)));
            SetColumn(column);
            WriteData(&byte, 1);
        }
    }
}

bool TKS0108Driver::DrawBitmapFile(const std::filesystem::path& file)
{
    // Only the fixed size is read, however long the file; a folder, FIFO
    // or device is no bitmap file.
    const platform::FileContents contents = platform::ReadRegularFile(file, FileBuffer.size());
    if (contents.status != platform::FileStatus::Ok && contents.status != platform::FileStatus::TooLarge) return false;
    // A shorter file leaves the rest of the buffer from the file before.
    std::copy(contents.bytes.begin(), contents.bytes.end(), reinterpret_cast<char*>(FileBuffer.data()));

    for (int page = 0; page < 8; ++page) {
        for (int x = 0; x < 128; ++x) {
            uint8_t byte = 0;
            for (int k = 0; k < 8; ++k) {
                const int row = 8 * page + k;
                const uint8_t stored = FileBuffer[kPixelArray + kFileRowBytes * (63 - row) + x / 8];
                if (((stored >> (7 - x % 8)) & 1) == 0) byte |= static_cast<uint8_t>(1u << k);
            }
            PageImage[page * 128 + x] = byte;
        }
    }
    for (int page = 0; page < 8; ++page) {
        SetPage(static_cast<uint8_t>(page));
        SetColumn(0);
        for (int x = 0; x < 128; ++x) WriteData(&PageImage[page * 128 + x], 1);
    }
    return true;
}

}  // namespace dotvane
