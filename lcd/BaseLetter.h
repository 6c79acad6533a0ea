#pragma once

#include <cstdint>

namespace dotvane {

// The ASCII character that stands for a Latin-1 character on a display
// without a glyph of its own for it: a letter's base letter (ö gives o, Ç
// gives C, ß gives s, æ gives a), and for a sign the ASCII sign it looks
// most like (° gives o, « gives <, ± gives +, the no-break space gives a
// space). Codes below 160 are given back as they are.
uint8_t BaseLetter(uint8_t code);

}  // namespace dotvane
