#include "render/VirtualDisplay.h"

#include "lcd/Font5x7.h"
#include "render/ElementImages.h"
#include "render/ImageFile.h"
#include "render/QtColors.h"
#include "render/Renderer.h"

#include <algorithm>

namespace dotvane {
namespace {

void SetPixelClipped(QImage& image, int x, int y, QRgb color)
{
    if (x >= 0 && y >= 0 && x < image.width() && y < image.height()) image.setPixel(x, y, color);
}

}  // namespace

int32_t VirtualDisplayWidth(const TMainSettings& settings)
{
    return std::clamp(settings.LCD.XPixels, 1, kMaxDisplayPixels);
}

int32_t VirtualDisplayHeight(const TMainSettings& settings)
{
    return std::clamp(settings.LCD.YPixels, 1, kMaxDisplayPixels);
}

void Renderer::PrepareVirtualDisplay()
{
    const TMainSettings& MainSettings = state_.MainSettings;
    const int width = VirtualDisplayWidth(MainSettings);
    const int height = VirtualDisplayHeight(MainSettings);
    QImage& image = VlcdBitmap.image;
    if (image.width() != width || image.height() != height) image = QImage(width, height, QImage::Format_RGB32);
    if (image.isNull()) return;
    image.fill(IdentToQRgb(MainSettings.VLCD.BackColor));

    VlcdBitmap.penColor = StringToColor(MainSettings.VLCD.BmpColor);
    const std::string& file = CurrentEntry().Bitmap;
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

void Renderer::DrawVirtualText()
{
    const TMainSettings& MainSettings = state_.MainSettings;
    QImage& image = VlcdBitmap.image;
    if (image.isNull()) return;
    const QRgb color = IdentToQRgb(MainSettings.VLCD.TextColor);
    const int rows = std::clamp(MainSettings.LCD.TextRows, 0, kRowCount);
    for (int k = 0; k < rows; ++k) {
        const SplitText split = SplitLine(state_.LineText[k], MainSettings.LCD.TextColumns);
        DrawFontText5x7(image, 0, 8 * k, split.head, color);
        if (split.hasTail) DrawFontText5x7(image, 7, 8 * k + 8, split.tail, color);
    }
}

void Renderer::PresentVirtualDisplay()
{
    presented_ = VlcdBitmap.image.copy();
    if (presentHandler_) presentHandler_(presented_);
}

void Renderer::FreeVirtualDisplay() { VlcdBitmap.image = QImage(); }

void Renderer::SetPresentHandler(std::function<void(const QImage&)> handler) { presentHandler_ = std::move(handler); }

void Renderer::DrawIntoVirtualDisplay(const PixelImage& image, int32_t x, int32_t y,
                                      std::optional<TColor> transparent)
{
    DrawIntoImage(VlcdBitmap.image, image, x, y, transparent);
}

}  // namespace dotvane
