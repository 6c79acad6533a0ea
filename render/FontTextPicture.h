#pragma once

#include "base/Colors.h"
#include "base/RgbImage.h"
#include "lcd/PixelImage.h"
#include "platform/TextRasterizer.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <utility>

namespace dotvane {

// A text rendered without smoothing in a system font (the default face for
// an empty name) by the installed text rasteriser, exactly as large as the
// text, every pixel either `background` or `glyphs`. It is rendered only
// where it is read, a tile at a time, so a text far larger than the display
// costs no more than the part of it that the displays show.
class FontTextPicture : public PixelImage {
public:
    FontTextPicture(const std::string& text, const std::string& fontName, int32_t size, TColor background,
                    TColor glyphs);
    // Both 0 when the text has no pixels.
    int32_t Width() const override { return width_; }
    int32_t Height() const override { return height_; }
    TColor Pixel(int32_t x, int32_t y) const override;
    // How many tiles have been rendered so far: what the picture holds.
    size_t TilesRendered() const { return tiles_.size(); }

    static constexpr int32_t kTileWidth = 256;
    static constexpr int32_t kTileHeight = 64;

private:
    const RgbImage& Tile(int32_t column, int32_t row) const;

    platform::TextRasterizer& rasterizer_;
    std::string text_;
    platform::TextFont font_;
    int32_t width_ = 0, height_ = 0;
    RgbPixel background_, glyphs_;
    mutable std::map<std::pair<int32_t, int32_t>, RgbImage> tiles_;
};

}  // namespace dotvane
