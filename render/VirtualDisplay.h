#pragma once

#include "app/Colors.h"

#include <QImage>

#include <cstdint>
#include <functional>
#include <string_view>

namespace dotvane {

// The virtual display: a picture of the LCD, XPixels × YPixels, rebuilt on
// every refresh while the window is shown. The pen colour is what lines drawn
// into it take unless they choose their own.
struct VirtualDisplayBuffer {
    QImage image;
    TColor penColor = clBlack;
};
extern VirtualDisplayBuffer VlcdBitmap;

// XPixels and YPixels as the virtual display and the window use them: held
// to 1 … 1024, so that no setting leaves a window too small to reach its
// menus or makes a picture larger than any screen. The settings keep what
// the file says.
inline constexpr int32_t kMaxDisplayPixels = 1024;
int32_t VirtualDisplayWidth();
int32_t VirtualDisplayHeight();

// Resizes the buffer, fills it with BackColor and lays the current screen's
// bitmap under it: its exactly black pixels in BmpColor, unscaled. The file
// is read again each time.
void PrepareVirtualDisplay();
// Draws the text rows in TextColor with the built-in 5×7 font, 8 pixels
// apart, long rows split as on the hardware.
void DrawVirtualText();
// Hands a copy of the buffer to the window, which shows it at twice its size.
void PresentVirtualDisplay();
void FreeVirtualDisplay();

// The picture last presented, and the window's hook to repaint it.
const QImage& PresentedPicture();
void SetPresentHandler(std::function<void()> handler);

// Draws text with the built-in font, 6 pixels per character, top at y;
// blanks and the background stay untouched.
void DrawFontText5x7(QImage& image, int x, int y, std::string_view text, QRgb color);

}  // namespace dotvane
