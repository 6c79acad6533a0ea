#pragma once

#include "base/Colors.h"
#include "lcd/PixelImage.h"

#include <QFont>
#include <QImage>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>

namespace dotvane {

// The picture of a bar: `back` everywhere, `fill` in the columns below
// `length` as 4-pixel segments with 1-pixel gaps. Each pixel is worked out
// when it is read, so a bar of any size costs no memory.
class BarPicture : public PixelImage {
public:
    BarPicture(int32_t width, int32_t height, int32_t length, TColor back, TColor fill);
    int32_t Width() const override { return width_; }
    int32_t Height() const override { return height_; }
    TColor Pixel(int32_t x, int32_t y) const override;

private:
    int32_t width_, height_, length_;
    TColor back_, fill_;
};

// A text rendered without smoothing in a system font (the default face for
// an empty name), exactly as large as the text, every pixel either
// `background` or `glyphs`. It is rendered only where it is read, a tile at
// a time, so a text far larger than the display costs no more than the part
// of it that the displays show.
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
    const QImage& Tile(int32_t column, int32_t row) const;

    QFont font_;
    QString text_;
    int ascent_ = 0;
    int32_t width_ = 0, height_ = 0;
    TColor background_, glyphs_;
    mutable std::map<std::pair<int32_t, int32_t>, QImage> tiles_;
};

// Draws a picture into `target` at (x, y), reading only the part that lies
// on it, and leaving out the pixels of colour `transparent` (none when it is
// empty).
void DrawIntoImage(QImage& target, const PixelImage& image, int32_t x, int32_t y, std::optional<TColor> transparent);

}  // namespace dotvane
