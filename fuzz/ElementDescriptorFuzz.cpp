// Any graphic or icon descriptor parses without a crash, and the numbers it
// yields draw without a crash or a hang on a small virtual display; a bar's
// numbers also on both controllers, whose work is bounded by the display
// whatever the numbers (the port is not open, so no byte leaves).
#include "config/ScreenFile.h"
#include "config/Settings.h"
#include "lcd/KS0108Driver.h"
#include "lcd/NoDisplay.h"
#include "lcd/T6963CDriver.h"
#include "lcd/TDLPortIO.h"
#include "render/ElementDescriptors.h"
#include "render/BarPicture.h"
#include "render/DrawIntoImage.h"
#include "render/Renderer.h"
#include "vars/LiveValues.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

// What the drawing needs of a program, kept from input to input as the
// program keeps its graph series and its controllers' set-up.
struct Program : dotvane::Notices {
    void ShowMessage(const std::string&) override {}
    void ShowError(const std::string&) override {}
    void SetStatusText(const std::string&) override {}
    std::string StatusText() const override { return {}; }

    dotvane::TMainSettings settings;
    dotvane::ScreenEntries screens{};
    dotvane::FontEntries fonts{};
    int currentScreen = 0;
    bool windowShown = true;
    dotvane::RowTexts lineText, shownText;
    dotvane::LiveValues values;
    dotvane::VariableContext variables{settings, values};
    dotvane::NoDisplay display;
    dotvane::Renderer renderer{{settings, screens, fonts, currentScreen, windowShown, lineText, shownText},
                               display, variables, *this};
    dotvane::TDLPortIO port;
    dotvane::TT6963CDriver t6963c{port, settings, *this};
    dotvane::TKS0108Driver ks0108{port, settings};
};

Program& TheProgram()
{
    static Program program;
    return program;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const dotvane::GraphicDescriptor graphic = dotvane::ParseGraphicDescriptor(text);
    (void)dotvane::ParseIconDescriptor(text);
    Program& program = TheProgram();
    if (graphic.kind == dotvane::GraphicDescriptor::Kind::Graph) {
        program.renderer.VlcdBitmap.image = dotvane::RgbImage(32, 16);
        const auto& n = graphic.numbers;
        program.renderer.DrawGraph(n[0], n[1], n[2], n[3], static_cast<int32_t>(size) * 7 - 100);
    }
    if (graphic.kind == dotvane::GraphicDescriptor::Kind::Bar) {
        dotvane::RgbImage picture(32, 16);
        const auto& [x, y, height, width] = graphic.numbers;
        const auto length = static_cast<int32_t>(static_cast<uint32_t>(size) * 1000003u - 2000000u);
        program.settings.T6963C.Size = static_cast<int32_t>(size % 7) + 1;
        program.t6963c.SetGeometry();
        const dotvane::BarPicture bar(width, height, length, dotvane::clYellow, dotvane::clBlack);
        dotvane::DrawIntoImage(picture, bar, x, y, std::nullopt);
        program.t6963c.DrawBar(bar, x, y, height, width);
        program.ks0108.DrawBar(bar, x, y, height, width);
    }
    return 0;
}
