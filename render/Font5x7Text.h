#pragma once

#include "base/RgbImage.h"

#include <string_view>

namespace dotvane {

// Draws text with the built-in font into a picture, 6 pixels per character,
// top at y; blanks and the background stay untouched, and what falls
// outside the picture is left out.
void DrawFontText5x7(RgbImage& image, int x, int y, std::string_view text, RgbPixel color);

}  // namespace dotvane
