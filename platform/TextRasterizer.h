#pragma once

#include "base/RgbImage.h"
#include "base/ServicePoint.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace dotvane::platform {

// A font as the screen file names it: a face (empty for the system's
// default face) and a size in points.
struct TextFont {
    std::string Face;
    int32_t Size = 10;
    bool operator==(const TextFont&) const = default;
};

// The size of a text's picture: its advance width and the font's line
// height. Both 0 when the text has no pixels.
struct TextExtent {
    int32_t Width = 0;
    int32_t Height = 0;
    bool operator==(const TextExtent&) const = default;
};

// Renders program text (one byte a character) in a system font, in two
// colours and without smoothing, as at 96 dots per inch whatever the
// screen's resolution, so that a text has the same pixels on every screen.
class TextRasterizer {
public:
    virtual ~TextRasterizer() = default;
    virtual TextExtent Measure(const TextFont& font, std::string_view text) = 0;
    // Fills `tile` with the part of the text's picture whose top-left corner
    // lies at (left, top) of that picture: `background` everywhere, the
    // glyphs in `ink`. The text's own picture starts at the top of the
    // line, its glyphs standing on the font's baseline.
    virtual void Render(const TextFont& font, std::string_view text, int32_t left, int32_t top, RgbPixel background,
                        RgbPixel ink, RgbImage& tile) = 0;
};

// A rasteriser without fonts: every text measures 0 × 0 and is not drawn.
// The system's own on Linux, which has no font engine below a toolkit (the
// Qt shell installs Qt's); Windows draws texts with GDI.
class NoTextRasterizer : public TextRasterizer {
public:
    TextExtent Measure(const TextFont&, std::string_view) override { return {}; }
    void Render(const TextFont&, std::string_view, int32_t, int32_t, RgbPixel background, RgbPixel,
                RgbImage& tile) override
    {
        tile.Fill(background);
    }
};

// The system's implementation, created on first use.
TextRasterizer& SystemTextRasterizer();
// Where the program finds it: the system's own, or one a shell or a test
// installs.
using TextRasterizerService = ServicePoint<TextRasterizer, SystemTextRasterizer>;

}  // namespace dotvane::platform
