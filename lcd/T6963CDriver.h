#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dotvane {

class PixelImage;

// Drives a T6963C graphic LCD module on the parallel port: data lines on
// the data register, /WR, /CE, C/D and (wiring A) /RD on control register
// outputs. Everything is built on the two byte primitives WriteData and
// WriteCommand; command bytes are the controller's own command set. Port/
// Base, T6963C/Wiring and T6963C/CheckBusyFlag are read at every byte.
class TT6963CDriver {
public:
    // Memory layout, set from T6963C/Size by SetGeometry. The text area
    // starts at address 0.
    int32_t TextCells = 0;
    int32_t GraphicBytes = 0;
    int32_t GraphicHome = 0;
    int32_t Columns = 0;
    int32_t FontWidth = 0;

    // The graphic area as the display: Lines lines of LineWidth pixels
    // (Columns bytes each). Pictures and elements are drawn only inside it;
    // past its edges an address would run on into the next line, into the
    // text area, or round the controller's memory onto the display.
    int32_t LineWidth() const { return Columns * FontWidth; }
    int32_t Lines() const { return Columns > 0 ? GraphicBytes / Columns : 0; }

    // One byte with C/D low (a parameter or display data) or high (a
    // command), after a busy check when CheckBusyFlag is set.
    void WriteData(uint8_t value);
    void WriteCommand(uint8_t command);
    // Polls the status until the controller can take a command and data.
    // A module that does not answer within a few milliseconds is reported
    // once on the status line; until it answers again every byte gets a
    // single poll, so the program keeps going at full pace.
    void WaitReady();

    // Fills the layout from T6963C/Size; a size outside 1 … 7 counts as 1.
    void SetGeometry();
    void InitController();
    void ClearText();
    void ClearGraphics();
    void SetTextPosition(int32_t column, int32_t row);
    // Writes the bytes up to the first NUL through the character generator.
    void WriteText(std::string_view text);
    void SetPixel(int32_t x, int32_t y);
    void ResetPixel(int32_t x, int32_t y);

    // Pictures on the graphic layer. Rows of an element image from byte
    // column x div FontWidth, each with its own address and auto-write run;
    // a pixel is on when it is pure black. Only rows on the graphic area's
    // lines are sent, and of each only the bytes on its line; a row that
    // runs past the line's end still closes with one blank byte, as one
    // that ends there does.
    void WriteImageRows(const PixelImage& image, int32_t x, int32_t y, int32_t cutLeft, int32_t cutTop, int32_t rows,
                        int32_t bytesPerRow);
    // The screen bitmap from GraphicHome, dithered by brightness against
    // random thresholds drawn from `seed`; no more bytes than the graphic
    // area holds.
    void DrawBitmap(const PixelImage& image, uint32_t seed);
    // A bar and a font text, also painted into the virtual display (built
    // with the window library, which paints them).
    void DrawBar(int32_t x, int32_t y, int32_t height, int32_t length, int32_t width);
    void DrawFontText(const std::string& text, int32_t x, int32_t y, const std::string& fontName, int32_t size,
                      int32_t cutTop, int32_t cutLeft, bool invert);

private:
    // A 16-bit parameter, low byte first, followed by its command.
    void SendWord(uint32_t value, uint8_t command);
    uint32_t PixelAddress(int32_t x, int32_t y) const;
    void Transfer(uint8_t value, bool command);
    bool PollOnce();

    bool notAnswering_ = false;
};

extern TT6963CDriver T6963CDriver;

}  // namespace dotvane
