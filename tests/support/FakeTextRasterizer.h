#pragma once

#include "lcd/Font5x7.h"
#include "platform/TextRasterizer.h"

#include <algorithm>
#include <string>
#include <vector>

namespace dotvane::test {

// A font engine whose glyphs do not depend on the machine's fonts: every
// face draws the built-in 5×7 font, each dot a square of Scale(size)
// pixels, in cells 6 dots wide and 10 high (a blank dot row above and below
// the glyph's eight). It installs itself for its lifetime and keeps the
// fonts it was asked for.
class FakeTextRasterizer : public platform::TextRasterizer {
    platform::TextRasterizerService::Scoped installed_{*this};

public:
    static int32_t Scale(int32_t size) { return std::clamp(size / 8, 1, 128); }

    platform::TextExtent Measure(const platform::TextFont& font, std::string_view text) override
    {
        fonts.push_back(font);
        if (text.empty()) return {};
        const int32_t scale = Scale(font.Size);
        return {int32_t(6 * scale * int32_t(text.size())), 10 * scale};
    }

    void Render(const platform::TextFont& font, std::string_view text, int32_t left, int32_t top,
                RgbPixel background, RgbPixel ink, RgbImage& tile) override
    {
        ++renders;
        const int32_t scale = Scale(font.Size);
        for (int32_t y = 0; y < tile.Height(); ++y)
            for (int32_t x = 0; x < tile.Width(); ++x) {
                const int32_t dotX = (left + x) / scale, dotY = (top + y) / scale - 1;
                const size_t cell = size_t(dotX / 6);
                const int32_t column = dotX % 6;
                bool on = false;
                if (cell < text.size() && column < 5 && dotY >= 0 && dotY < 8)
                    on = (Glyph(static_cast<uint8_t>(text[cell]))[size_t(column)] >> dotY) & 1;
                tile.SetPixel(x, y, on ? ink : background);
            }
    }

    std::vector<platform::TextFont> fonts;
    int renders = 0;
};

}  // namespace dotvane::test
