#include "render/VirtualDisplay.h"

#include "lcd/Font5x7.h"
#include "render/ElementImages.h"
#include "render/PictureChange.h"
#include "render/QtColors.h"
#include "render/Renderer.h"

#include <algorithm>
#include <array>

namespace dotvane {

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
    screenBitmap_.Update(file, width, height);
    screenBitmap_.DrawInto(image, ToQRgb(VlcdBitmap.penColor));
}

void DrawFontText5x7(QImage& image, int x, int y, std::string_view text, QRgb color)
{
    if (image.depth() != 32) return;
    // The image's rows that the glyphs' eight rows fall on; none outside it.
    std::array<QRgb*, 8> lines{};
    for (int row = 0; row < 8; ++row)
        if (y + row >= 0 && y + row < image.height()) lines[row] = reinterpret_cast<QRgb*>(image.scanLine(y + row));
    for (char c : text) {
        if (c != ' ') {
            const auto glyph = Glyph(static_cast<uint8_t>(c));
            for (int column = 0; column < 5; ++column) {
                if (x + column < 0 || x + column >= image.width()) continue;
                for (int row = 0; row < 8; ++row)
                    if (lines[row] && (glyph[column] & (1 << row))) lines[row][x + column] = color;
            }
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
    const QRect changed = ChangedArea(presented_, VlcdBitmap.image);
    if (changed.isEmpty() && presented_.size() == VlcdBitmap.image.size()) return;
    presented_ = VlcdBitmap.image.copy();
    if (presentHandler_) presentHandler_(presented_, changed);
}

void Renderer::FreeVirtualDisplay() { VlcdBitmap.image = QImage(); }

void Renderer::SetPresentHandler(PresentHandler handler) { presentHandler_ = std::move(handler); }

void Renderer::DrawIntoVirtualDisplay(const PixelImage& image, int32_t x, int32_t y,
                                      std::optional<TColor> transparent)
{
    DrawIntoImage(VlcdBitmap.image, image, x, y, transparent);
}

}  // namespace dotvane
