#pragma once

#include <array>
#include <cstdint>

namespace dotvane {

// The one series that every graph element adds to and draws from: pixel rows
// of the points, newest first, each already scaled to the box of the graph
// that produced it. Never cleared.
extern std::array<int32_t, 64> GraphHistory;
extern int32_t GraphPointCount;

// Draws a graph into the virtual display: the right and bottom edges of the
// box in the buffer's pen colour, then, in black, the series with `value`
// (full scale 60) as its newest point on the right edge and older points
// 5 pixels apart to the left; then ages the series by one point.
void DrawGraph(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t value);

}  // namespace dotvane
