#include "render/VirtualDisplay.h"

#include "app/ScreenFile.h"
#include "app/ScreenState.h"
#include "app/Settings.h"
#include "lcd/Font5x7.h"
#include "render/ImageFile.h"
#include "render/QtColors.h"
#include "render/RefreshCycle.h"

#include <algorithm>

namespace dotvane {

VirtualDisplayBuffer VlcdBitmap;

namespace {

QImage presented;
std::function<void()> presentHandler;

void SetPixelClipped(QImage& image, int x, int y, QRgb color)
{
    if (x >= 0 && y >= 0 && x < image.width() && y < image.height()) image.setPixel(x, y, color);
}

}  // namespace

int32_t VirtualDisplayWidth() { return std::clamp(MainSettings.LCD.XPixels, 1, kMaxDisplayPixels); }

int32_t VirtualDisplayHeight() { return std::clamp(MainSettings.LCD.YPixels, 1, kMaxDisplayPixels); }

void PrepareVirtualDisplay()
{
    const int width = VirtualDisplayWidth();
    const int height = VirtualDisplayHeight();
    QImage& image = VlcdBitmap.image;
    if (image.width() != width || image.height() != height) image = QImage(width, height, QImage::Format_RGB32);
    if (image.isNull()) return;
    image.fill(IdentToQRgb(MainSettings.VLCD.BackColor));

    VlcdBitmap.penColor = StringToColor(MainSettings.VLCD.BmpColor);
    const std::string& file = ScreenTable[std::clamp(CurrentScreen, 0, ScreenCount - 1)].Bitmap;
    if (file.empty()) return;
    const QImage picture = LoadImageFile(file);
    if (picture.isNull()) return;
    const QRgb bmpColor = ToQRgb(VlcdBitmap.penColor);
    const int w = std::min(width, picture.width());
    const int h = std::min(height, picture.height());
    for (int x = 0; x < w; ++x)
        for (int y = 0; y < h; ++y)
            if (ToTColor(picture.pixel(x, y)) == clBlack) image.setPixel(x, y, bmpColor);
}

void DrawFontText5x7(QImage& image, int x, int y, std::string_view text, QRgb color)
{
    for (char c : text) {
        if (c != ' ') {
            const auto glyph = Glyph(static_cast<uint8_t>(c));
            for (int column = 0; column < 5; ++column)
                for (int row = 0; row < 8; ++row)
                    if (glyph[column] & (1 << row)) SetPixelClipped(image, x + column, y + row, color);
        }
        x += 6;
        if (x >= image.width()) return;
    }
}

void DrawVirtualText()
{
    QImage& image = VlcdBitmap.image;
    if (image.isNull()) return;
    const QRgb color = IdentToQRgb(MainSettings.VLCD.TextColor);
    const int rows = std::clamp(MainSettings.LCD.TextRows, 0, kRowCount);
    for (int k = 0; k < rows; ++k) {
        const SplitText split = SplitLine(LineText[k], MainSettings.LCD.TextColumns);
        DrawFontText5x7(image, 0, 8 * k, split.head, color);
        if (split.hasTail) DrawFontText5x7(image, 7, 8 * k + 8, split.tail, color);
    }
}

void PresentVirtualDisplay()
{
    presented = VlcdBitmap.image.copy();
    if (presentHandler) presentHandler();
}

void FreeVirtualDisplay() { VlcdBitmap.image = QImage(); }

const QImage& PresentedPicture() { return presented; }

void SetPresentHandler(std::function<void()> handler) { presentHandler = std::move(handler); }

}  // namespace dotvane
