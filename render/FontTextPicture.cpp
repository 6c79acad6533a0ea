#include "render/FontTextPicture.h"

#include <algorithm>

namespace dotvane {

FontTextPicture::FontTextPicture(const std::string& text, const std::string& fontName, int32_t size,
                                 TColor background, TColor glyphs)
    : rasterizer_(platform::TextRasterizerService::Current()),
      text_(text),
      font_{fontName, size},
      background_(PixelOf(background)),
      glyphs_(PixelOf(glyphs))
{
    const platform::TextExtent extent = rasterizer_.Measure(font_, text_);
    width_ = extent.Width;
    height_ = extent.Height;
    if (width_ <= 0 || height_ <= 0) width_ = height_ = 0;
}

TColor FontTextPicture::Pixel(int32_t x, int32_t y) const
{
    const RgbImage& tile = Tile(x / kTileWidth, y / kTileHeight);
    return ToTColor(tile.Pixel(x % kTileWidth, y % kTileHeight));
}

const RgbImage& FontTextPicture::Tile(int32_t column, int32_t row) const
{
    const auto key = std::make_pair(column, row);
    if (const auto it = tiles_.find(key); it != tiles_.end()) return it->second;
    const int32_t left = column * kTileWidth, top = row * kTileHeight;
    RgbImage tile(std::min(kTileWidth, width_ - left), std::min(kTileHeight, height_ - top));
    rasterizer_.Render(font_, text_, left, top, background_, glyphs_, tile);
    return tiles_.emplace(key, std::move(tile)).first->second;
}

}  // namespace dotvane
