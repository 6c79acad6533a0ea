#pragma once

#include "lcd/Display.h"

namespace dotvane {

// No hardware display: the virtual display alone. Every operation does
// nothing, nothing is opened, and a screen bitmap always counts as shown.
class NoDisplay : public Display {
public:
    std::optional<PortOpenFailure> Open() override { return std::nullopt; }
    void Blank() override {}
    void Clear(bool) override {}
    void SetTextPosition(int32_t, int32_t) override {}
    void WriteText(std::string_view) override {}
    bool BlanksErase() const override { return true; }
    void ClearCells(int32_t, int32_t, int32_t) override {}
    void SetPixel(int32_t, int32_t) override {}
    void ResetPixel(int32_t, int32_t) override {}
    PortHealth Health() override { return {}; }
    bool DrawScreenBitmap(const std::string&, const PictureLoader&, uint32_t) override { return true; }
    void DrawIcon(const PixelImage&, int32_t, int32_t) override {}
    bool TakesElements() const override { return false; }
    TColor FontTextInk() const override { return clBlack; }
    void DrawBar(const PixelImage&, int32_t, int32_t, int32_t, int32_t) override {}
    void DrawFontText(const PixelImage&, int32_t, int32_t, int32_t, int32_t) override {}
};

}  // namespace dotvane
