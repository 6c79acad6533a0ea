#pragma once

#include "config/Settings.h"
#include "lcd/Display.h"
#include "lcd/ParallelPort.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace dotvane {

// Drives a 128 × 64 graphic LCD made of two KS0108 column controllers on the
// parallel port: the data lines carry D0–D7, control bit 0 is E (inverted
// on its pin), bit 3 is D/I (1 = instruction) and bits 1 and 2 select the
// left (both 0) or the right half (both 1). Every register write is a
// 16-bit port write; the module is never read, so timing rests on Delay.
class TKS0108Driver : public Display {
public:
    // Chip values of the two halves in the control register.
    static constexpr uint8_t kLeft = 0;
    static constexpr uint8_t kRight = 6;
    // The port's base address, whatever Port/Base says: the data and
    // control registers at 888 and 890.
    static constexpr uint16_t kBase = 888;
    // The longest strobe delay in microseconds that a module could need; a
    // longer one would only stall the program (a second per byte at 10⁶).
    static constexpr int32_t kMaxDelay = 1000;

    // Talks through `port`; KS0108/Delay of `settings` is copied when the
    // display is opened.
    TKS0108Driver(ParallelPort& port, const TMainSettings& settings);

    // Microseconds around each enable pulse, copied from KS0108/Delay at open
    // and held to 0 … kMaxDelay there.
    int32_t Delay = 0;
    // The display column 0 … 127 the next data byte goes to; 128 after the
    // last column was written, and then data is dropped.
    uint8_t Column = 0;
    // 8 pages × 128 columns of a screen bitmap on its way to the module.
    std::array<uint8_t, 1024> PageImage{};
    // The raw bitmap file the page image is made from.
    std::array<uint8_t, 1086> FileBuffer{};

    void Wait();
    // Busy-waits at least n microseconds on the high-resolution counter.
    void DelayMicroseconds(int32_t n);
    void WriteInstruction(uint8_t code, uint8_t chip);
    // Display data from Column on, switching halves at column 64 and
    // dropping whatever would fall past column 127.
    void WriteData(const uint8_t* bytes, uint32_t count);
    void SetColumn(uint8_t x);
    // Selects page p mod 8 on both halves.
    void SetPage(uint8_t p);
    void SetStartLine(uint8_t line);
    // Sends a blank byte to every column of every page.
    void Clear();
    void InitController();

    // An element image in bands of eight rows, starting at image row 1, band
    // m on page (y + 1) div 8 + m, every byte addressed on its own; a pixel
    // is on when it is pure black.
    void WriteImageBands(const PixelImage& image, int32_t x, int32_t y, int32_t bands, int32_t columns);
    // Reads a 1086-byte one-bit 128 × 64 bitmap file into FileBuffer, turns
    // it into PageImage and sends it; false when the file cannot be opened
    // or is no regular file.
    bool DrawBitmapFile(const std::filesystem::path& file);

    // Display. Open copies the delay, opens the port for the registers at
    // 888 (the 16-bit writes reach 889 and 891 too), initialises both halves
    // and clears them. Every clear clears everything; the pixel operations
    // do nothing.
    std::optional<PortOpenFailure> Open() override;
    void Blank() override;
    void Clear(bool keepBitmap) override;
    void SetTextPosition(int32_t column, int32_t row) override;
    // Draws the bytes up to the first NUL from the built-in font, each in a
    // cell of 6 columns, a Latin-1 character as its base letter; a space or
    // a no-break space only advances.
    void WriteText(std::string_view text) override;
    bool BlanksErase() const override { return false; }
    // Sends a blank byte to each of the cells' six columns.
    void ClearCells(int32_t column, int32_t row, int32_t count) override;
    void SetPixel(int32_t, int32_t) override {}
    void ResetPixel(int32_t, int32_t) override {}
    PortHealth Health() override { return port_.Health(); }
    // Reads the bitmap's own fixed one-bit file format, whatever `load` reads.
    bool DrawScreenBitmap(const std::string& fileName, const PictureLoader& load, uint32_t seed) override;
    // The icon's whole bands only.
    void DrawIcon(const PixelImage& icon, int32_t x, int32_t y) override;
    bool TakesElements() const override { return true; }
    // Font texts are drawn in black.
    TColor FontTextInk() const override { return clBlack; }
    void DrawBar(const PixelImage& bar, int32_t x, int32_t y, int32_t height, int32_t width) override;
    void DrawFontText(const PixelImage& text, int32_t x, int32_t y, int32_t cutTop, int32_t cutLeft) override;

private:
    void SetControl(uint8_t value);
    void SetData(uint8_t value);

    ParallelPort& port_;
    const TMainSettings& settings_;
};

}  // namespace dotvane
