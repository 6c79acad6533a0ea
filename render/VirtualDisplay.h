#pragma once

#include "base/Colors.h"

#include <QImage>

#include <string_view>

namespace dotvane {

// The virtual display's buffer: a picture of the LCD. The pen colour is what
// lines drawn into it take unless they choose their own.
struct VirtualDisplayBuffer {
    QImage image;
    TColor penColor = clBlack;
};

// Draws text with the built-in font, 6 pixels per character, top at y;
// blanks and the background stay untouched.
void DrawFontText5x7(QImage& image, int x, int y, std::string_view text, QRgb color);

}  // namespace dotvane
