#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace dotvane {

// A colour value in the Windows layout: red in the low byte, then green, then
// blue; pure black is 0. Values with the top byte 0xFF name a system colour
// (the low byte is its index) and are resolved by ColorToRGB when drawn.
using TColor = uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBtnFace = 0xFF00000F;

constexpr TColor RGBColor(uint8_t r, uint8_t g, uint8_t b) { return r | (g << 8) | (uint32_t(b) << 16); }
constexpr uint8_t RedOf(TColor c) { return c & 0xFF; }
constexpr uint8_t GreenOf(TColor c) { return (c >> 8) & 0xFF; }
constexpr uint8_t BlueOf(TColor c) { return (c >> 16) & 0xFF; }

// The colour identifier table: "cl" names of the standard colours and the
// system colours, matched without regard to case.
std::optional<TColor> IdentToColor(std::string_view ident);

// The colour of an identifier, black for a name that is not one.
TColor StringToColor(std::string_view ident);

// The red/green/blue value a colour is drawn with. System colours take the
// values of the classic Windows scheme, so pictures do not depend on the
// desktop theme.
TColor ColorToRGB(TColor color);

}  // namespace dotvane
