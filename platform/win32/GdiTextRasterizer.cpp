#include "platform/win32/GdiTextRasterizer.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace dotvane::platform {
namespace {

// Texts are laid out as at 96 dots per inch: a point is 96/72 pixels.
constexpr int kDotsPerInch = 96;

// A GDI colour holds red in its low byte; a picture's pixel in its high one.
COLORREF ColorRefOf(RgbPixel pixel) { return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF); }

// The ANSI calls take a character count as an int.
int CountOf(std::string_view text) { return static_cast<int>(std::min<size_t>(text.size(), INT_MAX)); }

}  // namespace

GdiTextRasterizer::GdiTextRasterizer() : dc_(::CreateCompatibleDC(nullptr))
{
    if (dc_ == nullptr) return;
    originalFont_ = ::GetCurrentObject(dc_, OBJ_FONT);
    originalBitmap_ = ::GetCurrentObject(dc_, OBJ_BITMAP);
    ::SetBkMode(dc_, OPAQUE);
    ::SetTextAlign(dc_, TA_LEFT | TA_TOP | TA_NOUPDATECP);
}

GdiTextRasterizer::~GdiTextRasterizer()
{
    if (dc_ == nullptr) return;
    ::SelectObject(dc_, originalFont_);
    ::SelectObject(dc_, originalBitmap_);
    if (loaded_ && loaded_->font != nullptr) ::DeleteObject(loaded_->font);
    if (surface_.bitmap != nullptr) ::DeleteObject(surface_.bitmap);
    ::DeleteDC(dc_);
}

bool GdiTextRasterizer::Load(const TextFont& wanted)
{
    if (loaded_ && loaded_->wanted == wanted) return loaded_->font != nullptr;
    if (dc_ == nullptr) return false;
    char face[LF_FACESIZE] = {};
    std::memcpy(face, wanted.Face.data(), std::min(wanted.Face.size(), sizeof face - 1));
    // A negative height asks for the glyphs' size (the em) rather than the
    // cell's, as a size in points does.
    const int height = -::MulDiv(std::clamp(wanted.Size, 1, 1000), kDotsPerInch, 72);
    const HFONT font = ::CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                                     DEFAULT_PITCH | FF_DONTCARE, face);
    ::SelectObject(dc_, font != nullptr ? static_cast<HGDIOBJ>(font) : originalFont_);
    if (loaded_ && loaded_->font != nullptr) ::DeleteObject(loaded_->font);
    LoadedFont& loaded = loaded_.emplace(LoadedFont{wanted, font, 0});
    TEXTMETRICA metrics{};
    if (font != nullptr && ::GetTextMetricsA(dc_, &metrics)) loaded.height = metrics.tmHeight;
    return font != nullptr;
}

bool GdiTextRasterizer::Reserve(int32_t width, int32_t height)
{
    if (surface_.bitmap != nullptr && surface_.width >= width && surface_.height >= height) return true;
    Surface grown{nullptr, nullptr, std::max(width, surface_.width), std::max(height, surface_.height)};
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = grown.width;
    info.bmiHeader.biHeight = -grown.height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    grown.bitmap = ::CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (grown.bitmap == nullptr || bits == nullptr) return false;
    grown.bits = static_cast<const RgbPixel*>(bits);
    ::SelectObject(dc_, grown.bitmap);
    if (surface_.bitmap != nullptr) ::DeleteObject(surface_.bitmap);
    surface_ = grown;
    return true;
}

TextExtent GdiTextRasterizer::Measure(const TextFont& font, std::string_view text)
{
    if (!Load(font) || text.empty()) return {};
    SIZE size{};
    if (!::GetTextExtentPoint32A(dc_, text.data(), CountOf(text), &size)) return {};
    if (size.cx <= 0 || loaded_->height <= 0) return {};
    return {size.cx, loaded_->height};
}

void GdiTextRasterizer::Render(const TextFont& font, std::string_view text, int32_t left, int32_t top,
                               RgbPixel background, RgbPixel ink, RgbImage& tile)
{
    if (tile.IsNull()) return;
    if (!Load(font) || !Reserve(tile.Width(), tile.Height())) {
        tile.Fill(background);
        return;
    }
    ::SetBkColor(dc_, ColorRefOf(background));
    ::SetTextColor(dc_, ColorRefOf(ink));
    // The opaque rectangle paints the background of the whole tile, and the
    // text is clipped to it.
    const RECT area{0, 0, tile.Width(), tile.Height()};
    ::ExtTextOutA(dc_, -left, -top, ETO_OPAQUE | ETO_CLIPPED, &area, text.data(), CountOf(text), nullptr);
    ::GdiFlush();
    // A DIB pixel is 0x00RRGGBB already; the picture keeps the top byte 0,
    // whatever GDI leaves there.
    for (int32_t y = 0; y < tile.Height(); ++y) {
        const RgbPixel* from = surface_.bits + size_t(y) * size_t(surface_.width);
        RgbPixel* to = tile.Row(y);
        for (int32_t x = 0; x < tile.Width(); ++x) to[x] = from[x] & 0x00FFFFFF;
    }
}

}  // namespace dotvane::platform
