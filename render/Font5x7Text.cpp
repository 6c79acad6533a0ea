#include "render/Font5x7Text.h"

#include "lcd/Font5x7.h"

#include <array>

namespace dotvane {

void DrawFontText5x7(RgbImage& image, int x, int y, std::string_view text, RgbPixel color)
{
    if (image.IsNull()) return;
    // The picture's rows that the glyphs' eight rows fall on; none outside it.
    std::array<RgbPixel*, 8> lines{};
    for (int row = 0; row < 8; ++row)
        if (y + row >= 0 && y + row < image.Height()) lines[row] = image.Row(y + row);
    for (char c : text) {
        if (c != ' ') {
            const auto glyph = Glyph(static_cast<uint8_t>(c));
            for (int column = 0; column < 5; ++column) {
                if (x + column < 0 || x + column >= image.Width()) continue;
                for (int row = 0; row < 8; ++row)
                    if (lines[row] && (glyph[column] & (1 << row))) lines[row][x + column] = color;
            }
        }
        x += 6;
        if (x >= image.Width()) return;
    }
}

}  // namespace dotvane
