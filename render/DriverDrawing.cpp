// The controllers' bar and font-text writers. They paint with Qt, so they
// are built with the window library rather than with the drivers' bytes.
// Their pictures are worked out only where the displays read them, and the
// displays read only what lies on them.
#include "app/ScreenState.h"
#include "app/Settings.h"
#include "lcd/KS0108Driver.h"
#include "lcd/T6963CDriver.h"
#include "render/ElementImages.h"
#include "render/QtColors.h"

namespace dotvane {
namespace {

// Draws a font text into the virtual display when the window is shown:
// uncut, with the background (or, inverted, white) left transparent.
void ShowFontText(const FontTextPicture& picture, int32_t x, int32_t y, bool invert)
{
    if (!WindowShown || picture.Width() == 0) return;
    const TColor transparent = invert ? clWhite : picture.Pixel(0, picture.Height() - 1);
    DrawIntoVirtualDisplay(picture, x, y, transparent);
}

// A size less a cut, in 32-bit arithmetic that wraps round at the ends of
// the range (so a cut far below zero gives a negative count, not a fault).
int32_t Less(int32_t size, int32_t cut)
{
    return static_cast<int32_t>(static_cast<uint32_t>(size) - static_cast<uint32_t>(cut));
}

}  // namespace

void TT6963CDriver::DrawBar(int32_t x, int32_t y, int32_t height, int32_t length, int32_t width)
{
    const BarPicture bar(width, height, length);
    DrawIntoVirtualDisplay(bar, x, y, std::nullopt);
    if (FontWidth > 0) WriteImageRows(bar, x, y, 0, 0, height, width / FontWidth + 1);
}

void TKS0108Driver::DrawBar(int32_t x, int32_t y, int32_t height, int32_t length, int32_t width)
{
    const BarPicture bar(width, height, length);
    DrawIntoVirtualDisplay(bar, x, y, std::nullopt);
    WriteImageBands(bar, x, y, height / 8 + 1, width);
}

void TT6963CDriver::DrawFontText(const std::string& text, int32_t x, int32_t y, const std::string& fontName,
                                 int32_t size, int32_t cutTop, int32_t cutLeft, bool invert)
{
    const TColor ink = StringToColor(MainSettings.VLCD.GraphicsColor);
    const FontTextPicture picture(text, fontName, size, invert ? ink : clWhite, invert ? clWhite : ink);
    ShowFontText(picture, x, y, invert);
    if (FontWidth > 0)
        WriteImageRows(picture, x, y, cutLeft, cutTop, Less(picture.Height(), cutTop),
                       Less(picture.Width(), cutLeft) / FontWidth + 1);
}

void TKS0108Driver::DrawFontText(const std::string& text, int32_t x, int32_t y, const std::string& fontName,
                                 int32_t size, int32_t, int32_t, bool invert)
{
    const FontTextPicture picture(text, fontName, size, invert ? clBlack : clWhite, invert ? clWhite : clBlack);
    ShowFontText(picture, x, y, invert);
    WriteImageBands(picture, x, y, picture.Height() / 8 + 1, picture.Width());
}

}  // namespace dotvane
