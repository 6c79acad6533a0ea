#pragma once

#include "base/Colors.h"

#include <QImage>

#include <cstdint>
#include <optional>
#include <string>

namespace dotvane {

// The picture of a bar: `back` everywhere, `fill` in the columns below
// `length` as 4-pixel segments with 1-pixel gaps.
QImage MakeBarImage(int32_t width, int32_t height, int32_t length, TColor back, TColor fill);

// A text rendered without smoothing in a system font (the default face for
// an empty name), exactly as large as the text, every pixel either
// `background` or `glyphs`.
QImage MakeFontTextImage(const std::string& text, const std::string& fontName, int32_t size, TColor background,
                         TColor glyphs);

// Draws an image into `target` at (x, y), clipped, leaving out the pixels
// of colour `transparent` (none when it is empty).
void DrawIntoImage(QImage& target, const QImage& image, int32_t x, int32_t y, std::optional<TColor> transparent);

}  // namespace dotvane
