#pragma once

#include "base/Colors.h"
#include "base/RgbImage.h"
#include "lcd/PixelImage.h"

#include <cstdint>
#include <optional>

namespace dotvane {

// Draws a picture into `target` at (x, y), reading only the part that lies
// on it, and leaving out the pixels of colour `transparent` (none when it is
// empty).
void DrawIntoImage(RgbImage& target, const PixelImage& image, int32_t x, int32_t y, std::optional<TColor> transparent);

}  // namespace dotvane
