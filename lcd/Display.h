#pragma once

#include "base/Colors.h"
#include "lcd/ParallelPort.h"
#include "lcd/PixelImage.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace dotvane {

// Reads a picture file, named as users write it; nothing when the file
// cannot be read as a picture.
using PictureLoader = std::function<std::unique_ptr<PixelImage>(const std::string& fileName)>;

// A display the program draws on: the operations of a display driver, and
// the pictures the renderer hands over. There is one implementation per
// controller, and one for no hardware display at all, which does nothing.
// Pixel images follow the hardware pixel rule: a pixel is on when it is
// pure black.
class Display {
public:
    virtual ~Display() = default;

    // Sets the controller up and clears it. Returns what to tell the user
    // when the port could not be opened; the display then goes on with
    // every write ignored.
    virtual std::optional<PortOpenFailure> Open() = 0;
    // Clears everything, at shutdown.
    virtual void Blank() = 0;
    // Clears the text before a screen is shown; `keepBitmap` tells that the
    // screen lays a bitmap under its text, which the clear then leaves.
    virtual void Clear(bool keepBitmap) = 0;
    virtual void SetTextPosition(int32_t column, int32_t row) = 0;
    // Writes the bytes up to the first NUL from the text position on.
    virtual void WriteText(std::string_view text) = 0;
    // Whether a blank written by WriteText clears its cell. Where it does
    // not (the KS0108), a blank only moves on, and the cell keeps what it
    // showed.
    virtual bool BlanksErase() const = 0;
    // Clears `count` text cells from (column, row) on, whatever they show.
    virtual void ClearCells(int32_t column, int32_t row, int32_t count) = 0;
    virtual void SetPixel(int32_t x, int32_t y) = 0;
    virtual void ResetPixel(int32_t x, int32_t y) = 0;
    // How the device of the display's port answers, asked once per refresh
    // (see ParallelPort::Health); a display without a port always answers.
    virtual PortHealth Health() = 0;

    // A screen's bitmap, from its file as the screen file names it; `load`
    // reads a picture file for the displays that take pictures in any
    // format, and `seed` starts a dither. False when the file could not be
    // used.
    virtual bool DrawScreenBitmap(const std::string& fileName, const PictureLoader& load, uint32_t seed) = 0;
    // An icon with its top-left corner at (x, y).
    virtual void DrawIcon(const PixelImage& icon, int32_t x, int32_t y) = 0;

    // Whether the display takes bars and font texts. A display that does
    // not gets none, and they are then not drawn on the virtual display
    // either.
    virtual bool TakesElements() const = 0;
    // The colour a font text's glyphs are drawn in for this display (only
    // pure black reaches the hardware).
    virtual TColor FontTextInk() const = 0;
    // A bar of `height` × `width` pixels at (x, y).
    virtual void DrawBar(const PixelImage& bar, int32_t x, int32_t y, int32_t height, int32_t width) = 0;
    // A font text at (x, y), with the font's cuts of rows from the top and
    // columns from the left.
    virtual void DrawFontText(const PixelImage& text, int32_t x, int32_t y, int32_t cutTop, int32_t cutLeft) = 0;
};

}  // namespace dotvane
