#pragma once

#include "base/Rect.h"

#include <cstdint>

namespace dotvane {

// Where the parts of the main window's client area lie, in the screen's
// pixels: above, the picture area, which shows the virtual display at twice
// its size in its top-left corner with one spare column and two spare rows;
// below it, across the whole width, the status line.
struct WindowLayout {
    // Each pixel of the virtual display is a 2 × 2 block of the window.
    static constexpr int32_t kScale = 2;

    int32_t ClientWidth = 0;
    int32_t ClientHeight = 0;
    Rect PictureArea;
    Rect StatusLine;

    bool operator==(const WindowLayout&) const = default;
};

// The status line's height on a screen of `dpi` dots per inch whose status
// font is `textHeight` pixels high: 19 pixels at 96 dpi, as many more at a
// higher resolution as the text grows, and never too low for its text.
int32_t StatusLineHeight(int32_t dpi, int32_t textHeight);

// The layout for a virtual display of width × height pixels under a status
// line `statusHeight` pixels high. The client is at least `minimumWidth`
// wide (the width the menu bar needs to keep its menus on one line).
WindowLayout LayOutWindow(int32_t width, int32_t height, int32_t statusHeight, int32_t minimumWidth);

}  // namespace dotvane
