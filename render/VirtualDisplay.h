#pragma once

#include "base/Colors.h"
#include "config/Settings.h"

#include <QImage>

#include <cstdint>
#include <string_view>

namespace dotvane {

// The virtual display's buffer: a picture of the LCD. The pen colour is what
// lines drawn into it take unless they choose their own.
struct VirtualDisplayBuffer {
    QImage image;
    TColor penColor = clBlack;
};

// XPixels and YPixels as the virtual display and the window use them: held
// to 1 … 1024, so that no setting leaves a window too small to reach its
// menus or makes a picture larger than any screen. The settings keep what
// the file says.
inline constexpr int32_t kMaxDisplayPixels = 1024;
int32_t VirtualDisplayWidth(const TMainSettings& settings);
int32_t VirtualDisplayHeight(const TMainSettings& settings);

// Draws text with the built-in font into a 32-bit picture, 6 pixels per
// character, top at y; blanks and the background stay untouched.
void DrawFontText5x7(QImage& image, int x, int y, std::string_view text, QRgb color);

}  // namespace dotvane
