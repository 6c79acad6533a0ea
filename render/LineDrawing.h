#pragma once

#include "base/RgbImage.h"

#include <cstdint>

namespace dotvane {

// Draws the line from (x0, y0) to (x1, y1) as a Windows pen one pixel wide
// draws it with LineTo: the pixels Bresenham's rule picks along the longer
// axis, ties settled the way Windows settles them in each direction, and the
// end point itself left out (so a line to its own start draws nothing, and a
// line drawn on from where another ended does not set the corner twice).
// Only the part on the picture is visited, so a line of any length costs no
// more than the picture is wide or high.
void DrawLine(RgbImage& image, int32_t x0, int32_t y0, int32_t x1, int32_t y1, RgbPixel pixel);

}  // namespace dotvane
