#include "app/win32/WindowLayout.h"

#include <algorithm>

namespace dotvane {
namespace {

// The status line at the resolution the window was designed for.
constexpr int32_t kStatusLineHeight = 19;
constexpr int32_t kDesignDpi = 96;
// Room above and below the status text.
constexpr int32_t kStatusTextMargin = 4;

}  // namespace

int32_t StatusLineHeight(int32_t dpi, int32_t textHeight)
{
    const int32_t scaled = (kStatusLineHeight * std::max(dpi, kDesignDpi) + kDesignDpi / 2) / kDesignDpi;
    return std::max(scaled, textHeight + kStatusTextMargin);
}

WindowLayout LayOutWindow(int32_t width, int32_t height, int32_t statusHeight, int32_t minimumWidth)
{
    constexpr int32_t scale = WindowLayout::kScale;
    WindowLayout layout;
    layout.ClientWidth = std::max(scale * width + 1, minimumWidth);
    const int32_t pictureHeight = scale * height + 2;
    layout.ClientHeight = pictureHeight + statusHeight;
    layout.PictureArea = {0, 0, layout.ClientWidth, pictureHeight};
    layout.StatusLine = {0, pictureHeight, layout.ClientWidth, statusHeight};
    return layout;
}

}  // namespace dotvane
