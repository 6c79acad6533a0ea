// What the renderer hands the KS0108: the screen bitmap from its own file
// format, and icons, bars and font texts as bands of eight rows.
#include "lcd/KS0108Driver.h"

#include "platform/FileNames.h"

namespace dotvane {

bool TKS0108Driver::DrawScreenBitmap(const std::string& fileName, const PictureLoader&, uint32_t)
{
    return DrawBitmapFile(platform::NativePath(fileName));
}

void TKS0108Driver::DrawIcon(const PixelImage& icon, int32_t x, int32_t y)
{
    WriteImageBands(icon, x, y, icon.Height() / 8, icon.Width());
}

void TKS0108Driver::DrawBar(const PixelImage& bar, int32_t x, int32_t y, int32_t height, int32_t width)
{
    WriteImageBands(bar, x, y, height / 8 + 1, width);
}

void TKS0108Driver::DrawFontText(const PixelImage& text, int32_t x, int32_t y, int32_t, int32_t)
{
    WriteImageBands(text, x, y, text.Height() / 8 + 1, text.Width());
}

}  // namespace dotvane
