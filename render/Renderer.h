#pragma once

#include "base/Colors.h"
#include "base/Notices.h"
#include "base/Rect.h"
#include "base/ReentrancyGuard.h"
#include "base/RgbImage.h"
#include "config/ScreenFile.h"
#include "config/Settings.h"
#include "lcd/Display.h"
#include "render/BitmapOverlay.h"
#include "render/RenderState.h"
#include "render/RowTexts.h"
#include "render/VirtualDisplayBuffer.h"
#include "vars/ExpandLine.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace dotvane {

struct GraphicDescriptor;

// Turns the current screen into pixels on both displays: the hardware
// `display` and the virtual display in the window. Variables are expanded
// in `variables`; missing pictures are reported through `notices`. Font
// texts and image files go through the installed text rasteriser and image
// decoder.
class Renderer {
public:
    Renderer(RenderState state, Display& display, const VariableContext& variables, Notices& notices);
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // One refresh of the current screen: expand every visible row, write
    // the rows that changed to the display, draw the icons and graphic
    // elements, and redraw the virtual display while the window is shown.
    // A refresh asked for while one runs is skipped.
    void RefreshScreen();
    // Forgets what the hardware rows hold, after the display was cleared.
    void ForgetShownText();
    // What the text cells of each hardware row show, as the writes tell it
    // (rows 0 … 16: a long line's tail lands on the row below the last):
    // a character, or a blank for a cell that shows none.
    const std::array<std::string, kRowCount + 1>& ShownCells() const { return shownCells_; }

    // Sends a screen's bitmap to the display once per showing, in the form
    // the display takes. A file that cannot be read shows
    // "Could not load or display bitmap " with its name.
    void ShowScreenBitmap(const std::string& fileName);

    // Draws the current screen's icons in index order, on the virtual
    // display (while the window is shown) and on the display.
    void DrawIcons();
    void DrawIconElement(const std::string& descriptor);
    // The player's state: images\play.bmp, images\pause.bmp or
    // images\stop.bmp.
    void DrawPlayerStateIcon(int32_t x, int32_t y);
    // The player's channels: images\stereo9x7.bmp, images\mono9x7.bmp, or
    // nothing at all without a player or for any other channel count.
    void DrawChannelIcon(int32_t x, int32_t y);
    // An image file at (x, y): on the virtual display with its bottom-left
    // pixel's colour transparent; on the display its pure black pixels are
    // on. A file that cannot be read shows "Could not load or display icon "
    // with its name.
    void DrawIconFile(int32_t x, int32_t y, const std::string& fileName);

    // Draws the current screen's graphic elements in index order: bars and
    // font texts on the display and the virtual display (on neither when
    // the display takes no elements), graphs on the virtual display alone.
    void DrawGraphics();
    void DrawGraphicElement(const std::string& descriptor);
    // Draws a graph into the virtual display: the right and bottom edges of
    // the box in the buffer's pen colour, then, in black, the series with
    // `value` (full scale 60) as its newest point on the right edge and
    // older points 5 pixels apart to the left; then ages the series by one
    // point. Lines are drawn as a Windows pen draws them.
    void DrawGraph(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t value);

    // Resizes the virtual display's buffer, fills it with BackColor and lays
    // the current screen's bitmap under it: its exactly black pixels in
    // BmpColor, unscaled. The file is read again whenever it may have
    // changed on disk.
    void PrepareVirtualDisplay();
    // Draws the text rows in TextColor with the built-in 5×7 font, 8 pixels
    // apart, long rows split as on the hardware.
    void DrawVirtualText();
    // Keeps a copy of the buffer as the picture presented and hands it to
    // the window, which shows it at twice its size, with the rectangle in
    // which it differs from the picture presented before. A buffer that
    // holds the same picture again is not handed over: the window still
    // shows it.
    void PresentVirtualDisplay();
    void FreeVirtualDisplay();
    // The picture last presented, and the window's hook that shows it. The
    // window may paint from the picture itself until the next presentation.
    const RgbImage& PresentedPicture() const { return presented_; }
    using PresentHandler = std::function<void(const RgbImage& picture, const Rect& changed)>;
    void SetPresentHandler(PresentHandler handler);

    // The virtual display: a picture of the LCD, XPixels × YPixels, rebuilt
    // on every refresh while the window is shown.
    VirtualDisplayBuffer VlcdBitmap;
    // The one series that every graph element adds to and draws from: pixel
    // rows of the points, newest first, each already scaled to the box of
    // the graph that produced it. Never cleared.
    std::array<int32_t, 64> GraphHistory{};
    int32_t GraphPointCount = 0;

private:
    const ScreenEntry& CurrentEntry() const;
    // Writes text from (column, row) on and notes what its cells show.
    void WriteCells(int32_t column, int32_t row, std::string_view text);
    // Clears every cell that shows a character where the rows' texts now
    // hold a blank or nothing at all, so that each hardware row ends up
    // showing what the virtual display's row shows; cells that show none
    // are left alone.
    void ClearStaleCells(int rows, int columns);
    void DrawBarElement(const GraphicDescriptor& bar);
    void DrawTextElement(const GraphicDescriptor& element);
    // Draws a picture into the virtual display at (x, y), reading only the
    // part that lies on it, and leaving out the pixels of colour
    // `transparent` (none when it is empty).
    void DrawIntoVirtualDisplay(const PixelImage& image, int32_t x, int32_t y, std::optional<TColor> transparent);

    RenderState state_;
    Display& display_;
    const VariableContext& variables_;
    Notices& notices_;
    ReentrancyGuard refreshing_;
    std::array<std::string, kRowCount + 1> shownCells_;
    // The screen whose lines the status line last said were cut; -1 for none.
    int cutScreenTold_ = -1;
    BitmapOverlay screenBitmap_;
    RgbImage presented_;
    PresentHandler presentHandler_;
};

}  // namespace dotvane
