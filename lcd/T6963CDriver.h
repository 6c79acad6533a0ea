#pragma once

#include "base/Notices.h"
#include "config/Settings.h"
#include "lcd/Display.h"
#include "lcd/ParallelPort.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace dotvane {

// Drives a T6963C graphic LCD module on the parallel port: data lines on
// the data register, /WR, /CE, C/D and (wiring A) /RD on control register
// outputs. Everything is built on the two byte primitives WriteData and
// WriteCommand; command bytes are the controller's own command set. Port/
// Base, T6963C/Wiring and T6963C/CheckBusyFlag are read at every byte.
class TT6963CDriver : public Display {
public:
    // Talks through `port`, reads its settings from `settings` when it uses
    // them, and reports a module that does not answer on the status line of
    // `notices`.
    TT6963CDriver(ParallelPort& port, const TMainSettings& settings, Notices& notices);

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

    // Display. Open sets the layout, opens the port for the data and
    // control registers of Port/Base and the extended control register
    // 0x402 above it (the busy check's), initialises the controller and
    // clears both layers. Clear keeps the graphic layer under a bitmap.
    std::optional<PortOpenFailure> Open() override;
    void Blank() override;
    void Clear(bool keepBitmap) override;
    void SetTextPosition(int32_t column, int32_t row) override;
    // Writes the bytes up to the first NUL through the character generator;
    // Latin-1 letters go as the ROM's accented letter or their base letter.
    void WriteText(std::string_view text) override;
    // A blank is written as the blank character code.
    bool BlanksErase() const override { return true; }
    // Writes the blank character code into each cell.
    void ClearCells(int32_t column, int32_t row, int32_t count) override;
    void SetPixel(int32_t x, int32_t y) override;
    void ResetPixel(int32_t x, int32_t y) override;
    PortHealth Health() override { return port_.Health(); }
    // Takes any picture `load` reads, dithered.
    bool DrawScreenBitmap(const std::string& fileName, const PictureLoader& load, uint32_t seed) override;
    // Resets the icon's rectangle pixel by pixel, then sets its black
    // pixels; only the pixels on the graphic area are touched.
    void DrawIcon(const PixelImage& icon, int32_t x, int32_t y) override;
    bool TakesElements() const override { return true; }
    // Font texts are drawn in VLCD/GraphicsColor.
    TColor FontTextInk() const override;
    void DrawBar(const PixelImage& bar, int32_t x, int32_t y, int32_t height, int32_t width) override;
    void DrawFontText(const PixelImage& text, int32_t x, int32_t y, int32_t cutTop, int32_t cutLeft) override;

private:
    uint16_t Base() const { return static_cast<uint16_t>(settings_.Port.Base); }
    // A 16-bit parameter, low byte first, followed by its command.
    void SendWord(uint32_t value, uint8_t command);
    uint32_t PixelAddress(int32_t x, int32_t y) const;
    void Transfer(uint8_t value, bool command);
    bool PollOnce();

    ParallelPort& port_;
    const TMainSettings& settings_;
    Notices& notices_;
    bool notAnswering_ = false;
};

}  // namespace dotvane
