#include "app/DisplayUntilClosed.h"

namespace dotvane {

std::optional<PortOpenFailure> DisplayUntilClosed::Open()
{
    if (closed_) return std::nullopt;
    return display_.Open();
}

void DisplayUntilClosed::Blank()
{
    if (!closed_) display_.Blank();
}

void DisplayUntilClosed::Clear(bool keepBitmap)
{
    if (!closed_) display_.Clear(keepBitmap);
}

void DisplayUntilClosed::SetTextPosition(int32_t column, int32_t row)
{
    if (!closed_) display_.SetTextPosition(column, row);
}

void DisplayUntilClosed::WriteText(std::string_view text)
{
    if (!closed_) display_.WriteText(text);
}

void DisplayUntilClosed::ClearCells(int32_t column, int32_t row, int32_t count)
{
    if (!closed_) display_.ClearCells(column, row, count);
}

void DisplayUntilClosed::SetPixel(int32_t x, int32_t y)
{
    if (!closed_) display_.SetPixel(x, y);
}

void DisplayUntilClosed::ResetPixel(int32_t x, int32_t y)
{
    if (!closed_) display_.ResetPixel(x, y);
}

bool DisplayUntilClosed::DrawScreenBitmap(const std::string& fileName, const PictureLoader& load, uint32_t seed)
{
    return closed_ || display_.DrawScreenBitmap(fileName, load, seed);
}

void DisplayUntilClosed::DrawIcon(const PixelImage& icon, int32_t x, int32_t y)
{
    if (!closed_) display_.DrawIcon(icon, x, y);
}

void DisplayUntilClosed::DrawBar(const PixelImage& bar, int32_t x, int32_t y, int32_t height, int32_t width)
{
    if (!closed_) display_.DrawBar(bar, x, y, height, width);
}

void DisplayUntilClosed::DrawFontText(const PixelImage& text, int32_t x, int32_t y, int32_t cutTop, int32_t cutLeft)
{
    if (!closed_) display_.DrawFontText(text, x, y, cutTop, cutLeft);
}

}  // namespace dotvane
