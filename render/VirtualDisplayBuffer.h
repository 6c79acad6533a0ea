#pragma once

#include "base/Colors.h"
#include "base/RgbImage.h"
#include "config/Settings.h"

#include <algorithm>
#include <cstdint>

namespace dotvane {

// The virtual display's buffer: a picture of the LCD. The pen colour is what
// lines drawn into it take unless they choose their own.
struct VirtualDisplayBuffer {
    RgbImage image;
    TColor penColor = clBlack;
};

// XPixels and YPixels as the virtual display and the window use them: held
// to 1 … 1024, so that no setting leaves a window too small to reach its
// menus or makes a picture larger than any screen. The settings keep what
// the file says.
inline constexpr int32_t kMaxDisplayPixels = 1024;
inline int32_t VirtualDisplayWidth(const TMainSettings& settings)
{
    return std::clamp(settings.LCD.XPixels, 1, kMaxDisplayPixels);
}
inline int32_t VirtualDisplayHeight(const TMainSettings& settings)
{
    return std::clamp(settings.LCD.YPixels, 1, kMaxDisplayPixels);
}

}  // namespace dotvane
