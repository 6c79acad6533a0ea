// Any graphic or icon descriptor parses without a crash, and the numbers it
// yields draw without a crash or a hang on a small virtual display.
#include "config/ScreenFile.h"
#include "config/Settings.h"
#include "lcd/NoDisplay.h"
#include "render/ElementDescriptors.h"
#include "render/Renderer.h"
#include "vars/LiveValues.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

// A renderer without a display, kept from input to input as the program
// keeps its graph series.
dotvane::Renderer& TheRenderer()
{
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
    };
    static Program program;
    return program.renderer;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const dotvane::GraphicDescriptor graphic = dotvane::ParseGraphicDescriptor(text);
    (void)dotvane::ParseIconDescriptor(text);
    if (graphic.kind == dotvane::GraphicDescriptor::Kind::Graph) {
        TheRenderer().VlcdBitmap.image = QImage(32, 16, QImage::Format_RGB32);
        const auto& n = graphic.numbers;
        TheRenderer().DrawGraph(n[0], n[1], n[2], n[3], static_cast<int32_t>(size) * 7 - 100);
    }
    return 0;
}
