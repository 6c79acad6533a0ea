// The controllers' bar and font-text writers. They paint with Qt, so they
// are built with the window library rather than with the drivers' bytes.
#include "app/ScreenState.h"
#include "config/Settings.h"
#include "lcd/KS0108Driver.h"
#include "lcd/T6963CDriver.h"
#include "render/ElementImages.h"
#include "render/QtColors.h"
#include "render/QtPixelImage.h"

namespace dotvane {
namespace {

// Draws a font text into the virtual display when the window is shown:
// uncut, with the background (or, inverted, white) left transparent.
void ShowFontText(const QImage& image, int32_t x, int32_t y, bool invert)
{
    if (!WindowShown || image.isNull()) return;
    const TColor transparent = invert ? clWhite : ToTColor(image.pixel(0, image.height() - 1));
    DrawIntoVirtualDisplay(image, x, y, transparent);
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
    const QImage image = MakeBarImage(width, height, length);
    DrawIntoVirtualDisplay(image, x, y, std::nullopt);
    if (FontWidth > 0) WriteImageRows(QtPixelImage(image), x, y, 0, 0, height, width / FontWidth + 1);
}

void TKS0108Driver::DrawBar(int32_t x, int32_t y, int32_t height, int32_t length, int32_t width)
{
    const QImage image = MakeBarImage(width, height, length);
    DrawIntoVirtualDisplay(image, x, y, std::nullopt);
    WriteImageBands(QtPixelImage(image), x, y, height / 8 + 1, width);
}

void TT6963CDriver::DrawFontText(const std::string& text, int32_t x, int32_t y, const std::string& fontName,
                                 int32_t size, int32_t cutTop, int32_t cutLeft, bool invert)
{
    const TColor ink = StringToColor(MainSettings.VLCD.GraphicsColor);
    const QImage image = MakeFontTextImage(text, fontName, size, invert ? ink : clWhite, invert ? clWhite : ink);
    ShowFontText(image, x, y, invert);
    if (FontWidth > 0)
        WriteImageRows(QtPixelImage(image), x, y, cutLeft, cutTop, Less(image.height(), cutTop),
                       Less(image.width(), cutLeft) / FontWidth + 1);
}

void TKS0108Driver::DrawFontText(const std::string& text, int32_t x, int32_t y, const std::string& fontName,
                                 int32_t size, int32_t, int32_t, bool invert)
{
    const QImage image = MakeFontTextImage(text, fontName, size, invert ? clBlack : clWhite, invert ? clWhite : clBlack);
    ShowFontText(image, x, y, invert);
    WriteImageBands(QtPixelImage(image), x, y, image.height() / 8 + 1, image.width());
}

}  // namespace dotvane
