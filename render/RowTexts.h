#pragma once

#include <array>
#include <string>

namespace dotvane {

inline constexpr int kRowCount = 16;

// Text of each row of the display: the expanded text from the latest
// refresh, or the text last written to a row of the hardware.
using RowTexts = std::array<std::string, kRowCount>;

}  // namespace dotvane
