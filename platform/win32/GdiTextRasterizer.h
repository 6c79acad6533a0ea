#pragma once

#include "platform/TextRasterizer.h"

#include "platform/win32/Win32Api.h"

#include <optional>

namespace dotvane::platform {

// Texts in the system's fonts through GDI: a font without smoothing, sized
// for 96 dots per inch whatever the screen's resolution, drawn with the
// ANSI calls into a top-down 32-bit DIB section of its own. The font last
// asked for is kept, since a screen asks for the same few fonts at every
// refresh, and so is the DIB section while the tiles fit in it.
class GdiTextRasterizer : public TextRasterizer {
public:
    GdiTextRasterizer();
    ~GdiTextRasterizer() override;
    GdiTextRasterizer(const GdiTextRasterizer&) = delete;
    GdiTextRasterizer& operator=(const GdiTextRasterizer&) = delete;

    TextExtent Measure(const TextFont& font, std::string_view text) override;
    void Render(const TextFont& font, std::string_view text, int32_t left, int32_t top, RgbPixel background,
                RgbPixel ink, RgbImage& tile) override;

private:
    struct LoadedFont {
        TextFont wanted;
        HFONT font = nullptr;
        // The line height: ascent and descent.
        int32_t height = 0;
    };
    struct Surface {
        HBITMAP bitmap = nullptr;
        const RgbPixel* bits = nullptr;
        int32_t width = 0;
        int32_t height = 0;
    };

    // Selects the font into the device context; false when the system made
    // none.
    bool Load(const TextFont& font);
    // Selects a DIB section of at least the tile's size; false when the
    // system made none.
    bool Reserve(int32_t width, int32_t height);

    HDC dc_ = nullptr;
    HGDIOBJ originalFont_ = nullptr;
    HGDIOBJ originalBitmap_ = nullptr;
    std::optional<LoadedFont> loaded_;
    Surface surface_;
};

}  // namespace dotvane::platform
