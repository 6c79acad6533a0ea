#pragma once

#include "platform/win32/Win32Api.h"
#include "base/Rect.h"
#include "base/RgbImage.h"

#include <cstdint>

namespace dotvane {

// The picture area of the main window: the virtual display's presented
// picture at twice its size in the top-left corner, the window's face
// around it. It paints straight from the picture's memory, a top-down
// 32-bit DIB, and keeps no copy of it.
class PictureView {
public:
    // The part of the client the area covers; the picture is cut at its
    // edges.
    void SetArea(const Rect& area) { area_ = area; }
    const Rect& Area() const { return area_; }

    // A picture was presented with the rectangle in which it changed (in
    // its own pixels). Gives the part of the client to repaint: the doubled
    // rectangle, or the whole area when the picture's size changed; never
    // more than the area.
    Rect Presented(const RgbImage& picture, const Rect& changed);

    // Paints the part `asked` (client coordinates) of the area: the pixels
    // of `picture` (none before the first presentation) doubled without
    // smoothing, and the face where the picture is not.
    void Paint(HDC dc, const RgbImage* picture, const Rect& asked, COLORREF face) const;

private:
    Rect area_;
    int32_t shownWidth_ = 0;
    int32_t shownHeight_ = 0;
};

}  // namespace dotvane
