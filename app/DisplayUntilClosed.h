#pragma once

#include "lcd/Display.h"

namespace dotvane {

// A display that passes every operation on to another until it is closed,
// and none after. The shutdown blanks the LCD and closes it, so that work
// the shutdown cut into (a refresh waiting for a message box to close, when
// a stop request came in meanwhile) cannot light the LCD again afterwards.
class DisplayUntilClosed : public Display {
public:
    explicit DisplayUntilClosed(Display& display) : display_(display) {}

    void Close() { closed_ = true; }

    std::optional<PortOpenFailure> Open() override;
    void Blank() override;
    void Clear(bool keepBitmap) override;
    void SetTextPosition(int32_t column, int32_t row) override;
    void WriteText(std::string_view text) override;
    bool BlanksErase() const override { return display_.BlanksErase(); }
    // A closed display counts as answering: there is nothing left to tell.
    PortHealth Health() override { return closed_ ? PortHealth{} : display_.Health(); }
    void ClearCells(int32_t column, int32_t row, int32_t count) override;
    void SetPixel(int32_t x, int32_t y) override;
    void ResetPixel(int32_t x, int32_t y) override;
    // Once closed, a bitmap counts as drawn: there is nothing to tell.
    bool DrawScreenBitmap(const std::string& fileName, const PictureLoader& load, uint32_t seed) override;
    void DrawIcon(const PixelImage& icon, int32_t x, int32_t y) override;
    bool TakesElements() const override { return display_.TakesElements(); }
    TColor FontTextInk() const override { return display_.FontTextInk(); }
    void DrawBar(const PixelImage& bar, int32_t x, int32_t y, int32_t height, int32_t width) override;
    void DrawFontText(const PixelImage& text, int32_t x, int32_t y, int32_t cutTop, int32_t cutLeft) override;

private:
    Display& display_;
    bool closed_ = false;
};

}  // namespace dotvane
