#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace dotvane {

// The built-in 5×7 font: 96 glyphs for the codes 32 … 127, five column bytes
// each, leftmost column first, bit 0 the top row; bit 7 is always clear.
extern const std::array<uint8_t, 480> Font5x7;

// The five columns of a character. The Latin-1 characters 160 … 255 show
// the glyph of their base letter (BaseLetter: ö as o, ° as o). Codes
// without a glyph (0 … 31, 128 … 159) show a hollow box, so they still fill
// their cell.
std::span<const uint8_t, 5> Glyph(uint8_t code);

}  // namespace dotvane
