#pragma once

#include "platform/TextRasterizer.h"

#include <QFont>

#include <optional>

namespace dotvane::platform {

// Texts in Qt's fonts, painted without smoothing into pictures of 96 dots
// per inch. It needs the Qt application object. The font last asked for is
// kept, since a screen asks for the same few fonts at every refresh.
class QtTextRasterizer : public TextRasterizer {
public:
    TextExtent Measure(const TextFont& font, std::string_view text) override;
    void Render(const TextFont& font, std::string_view text, int32_t left, int32_t top, RgbPixel background,
                RgbPixel ink, RgbImage& tile) override;

private:
    struct LoadedFont {
        TextFont wanted;
        QFont font;
        int ascent = 0;
        int height = 0;
    };
    const LoadedFont& Load(const TextFont& font);

    std::optional<LoadedFont> loaded_;
};

}  // namespace dotvane::platform
