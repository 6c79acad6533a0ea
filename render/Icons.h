#pragma once

#include <cstdint>
#include <string>

namespace dotvane {

// Draws the current screen's icons in index order, on the virtual display
// (while the window is shown) and on the selected controller.
void DrawIcons();
void DrawIconElement(const std::string& descriptor);
// The player's state: images\play.bmp, images\pause.bmp or images\stop.bmp.
void DrawPlayerStateIcon(int32_t x, int32_t y);
// The player's channels: images\stereo9x7.bmp, images\mono9x7.bmp, or
// nothing at all without a player or for any other channel count.
void DrawChannelIcon(int32_t x, int32_t y);
// An image file at (x, y): on the virtual display with its bottom-left
// pixel's colour transparent; on the hardware its pure black pixels are on.
// A file that cannot be read shows "Could not load or display icon " with
// its name.
void DrawIconFile(int32_t x, int32_t y, const std::string& fileName);

}  // namespace dotvane
