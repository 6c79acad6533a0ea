#pragma once

#include "base/Notices.h"
#include "config/Settings.h"
#include "lcd/Display.h"
#include "lcd/ParallelPort.h"

#include <array>
#include <cstdint>
#include <memory>

namespace dotvane {

// The kinds of display LCD/Type chooses between.
enum class DisplayKind { None, T6963C, KS0108 };
inline constexpr int kDisplayKinds = 3;

// The kind a value of LCD/Type names: 0 the T6963C, 1 the KS0108, any other
// no hardware display.
DisplayKind DisplayKindOf(int32_t type);

// Builds a display of one kind on `port`, reading `settings` when it uses
// them and reporting through `notices`.
std::unique_ptr<Display> MakeDisplay(DisplayKind kind, ParallelPort& port, const TMainSettings& settings,
                                     Notices& notices);

// The display the program draws on: every operation goes to the display of
// the kind LCD/Type names at that moment. Each kind is built the first time
// it is named and then kept for the run, so a reload that changes the type
// switches at once to a display that keeps whatever set-up it had, or never
// had, since start (only the display of the type at start is opened).
class SelectedDisplay : public Display {
public:
    SelectedDisplay(ParallelPort& port, const TMainSettings& settings, Notices& notices);

    // The display of a kind, built now if it was not yet.
    Display& Of(DisplayKind kind) const;

    std::optional<PortOpenFailure> Open() override { return Current().Open(); }
    void Blank() override { Current().Blank(); }
    void Clear(bool keepBitmap) override { Current().Clear(keepBitmap); }
    void SetTextPosition(int32_t column, int32_t row) override { Current().SetTextPosition(column, row); }
    void WriteText(std::string_view text) override { Current().WriteText(text); }
    bool BlanksErase() const override { return Current().BlanksErase(); }
    void ClearCells(int32_t column, int32_t row, int32_t count) override { Current().ClearCells(column, row, count); }
    void SetPixel(int32_t x, int32_t y) override { Current().SetPixel(x, y); }
    void ResetPixel(int32_t x, int32_t y) override { Current().ResetPixel(x, y); }
    PortHealth Health() override { return Current().Health(); }
    bool DrawScreenBitmap(const std::string& fileName, const PictureLoader& load, uint32_t seed) override
    {
        return Current().DrawScreenBitmap(fileName, load, seed);
    }
    void DrawIcon(const PixelImage& icon, int32_t x, int32_t y) override { Current().DrawIcon(icon, x, y); }
    bool TakesElements() const override { return Current().TakesElements(); }
    TColor FontTextInk() const override { return Current().FontTextInk(); }
    void DrawBar(const PixelImage& bar, int32_t x, int32_t y, int32_t height, int32_t width) override
    {
        Current().DrawBar(bar, x, y, height, width);
    }
    void DrawFontText(const PixelImage& text, int32_t x, int32_t y, int32_t cutTop, int32_t cutLeft) override
    {
        Current().DrawFontText(text, x, y, cutTop, cutLeft);
    }

private:
    Display& Current() const { return Of(DisplayKindOf(settings_.LCD.Type)); }

    ParallelPort& port_;
    const TMainSettings& settings_;
    Notices& notices_;
    // Built on first use, also from a question about the display.
    mutable std::array<std::unique_ptr<Display>, kDisplayKinds> built_;
};

}  // namespace dotvane
