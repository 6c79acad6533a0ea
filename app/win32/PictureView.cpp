#include "app/win32/PictureView.h"

#include "app/win32/WindowLayout.h"

#include <algorithm>

namespace dotvane {
namespace {

constexpr int32_t kScale = WindowLayout::kScale;

Rect Intersection(const Rect& a, const Rect& b)
{
    const int32_t left = std::max(a.Left, b.Left);
    const int32_t top = std::max(a.Top, b.Top);
    const int32_t right = std::min(a.Right(), b.Right());
    const int32_t bottom = std::min(a.Bottom(), b.Bottom());
    if (right <= left || bottom <= top) return {};
    return {left, top, right - left, bottom - top};
}

void Fill(HDC dc, const Rect& part, HBRUSH brush)
{
    if (part.IsEmpty()) return;
    const RECT r{part.Left, part.Top, part.Right(), part.Bottom()};
    ::FillRect(dc, &r, brush);
}

}  // namespace

Rect PictureView::Presented(const RgbImage& picture, const Rect& changed)
{
    const bool resized = picture.Width() != shownWidth_ || picture.Height() != shownHeight_;
    shownWidth_ = picture.Width();
    shownHeight_ = picture.Height();
    if (resized) return area_;
    const Rect doubled{area_.Left + kScale * changed.Left, area_.Top + kScale * changed.Top, kScale * changed.Width,
                       kScale * changed.Height};
    return Intersection(doubled, area_);
}

void PictureView::Paint(HDC dc, const RgbImage* picture, const Rect& asked, COLORREF face) const
{
    const Rect part = Intersection(asked, area_);
    if (part.IsEmpty()) return;
    Rect shown;
    if (picture != nullptr && !picture->IsNull())
        shown = Intersection({area_.Left, area_.Top, kScale * picture->Width(), kScale * picture->Height()}, area_);
    const Rect drawn = Intersection(part, shown);

    // The face where the picture is not: right of it, and below it.
    const HBRUSH brush = ::CreateSolidBrush(face);
    if (drawn.IsEmpty()) {
        Fill(dc, part, brush);
    } else {
        Fill(dc, Intersection(part, {shown.Right(), area_.Top, area_.Right() - shown.Right(), area_.Height}), brush);
        Fill(dc, Intersection(part, {area_.Left, shown.Bottom(), shown.Width, area_.Bottom() - shown.Bottom()}), brush);
    }
    ::DeleteObject(brush);
    if (drawn.IsEmpty()) return;

    // The picture's pixels that cover the part asked for, whole, each
    // doubled; the doubled block may reach one pixel past the part, never
    // past the picture's place in the area.
    const int32_t left = (drawn.Left - area_.Left) / kScale;
    const int32_t top = (drawn.Top - area_.Top) / kScale;
    const int32_t right = (drawn.Right() - area_.Left + kScale - 1) / kScale;
    const int32_t bottom = (drawn.Bottom() - area_.Top + kScale - 1) / kScale;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture->Width();
    // A negative height: the rows run from the top, as in the picture.
    info.bmiHeader.biHeight = -picture->Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const int saved = ::SaveDC(dc);
    ::IntersectClipRect(dc, shown.Left, shown.Top, shown.Right(), shown.Bottom());
    ::SetStretchBltMode(dc, COLORONCOLOR);
    // StretchDIBits counts the source rectangle's rows from the bottom of
    // the picture, for top-down pictures too.
    ::StretchDIBits(dc, area_.Left + kScale * left, area_.Top + kScale * top, kScale * (right - left),
                    kScale * (bottom - top), left, picture->Height() - bottom, right - left, bottom - top,
                    picture->Bits(), &info, DIB_RGB_COLORS, SRCCOPY);
    ::RestoreDC(dc, saved);
}

}  // namespace dotvane
