// Any graphic or icon descriptor parses without a crash, and the numbers it
// yields draw without a crash or a hang on a small virtual display; a bar's
// numbers also on both controllers, whose work is bounded by the display
// whatever the numbers (the port is not open, so no byte leaves).
#include "app/Settings.h"
#include "lcd/KS0108Driver.h"
#include "lcd/T6963CDriver.h"
#include "render/ElementDescriptors.h"
#include "render/GraphHistory.h"
#include "render/VirtualDisplay.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const dotvane::GraphicDescriptor graphic = dotvane::ParseGraphicDescriptor(text);
    (void)dotvane::ParseIconDescriptor(text);
    if (graphic.kind == dotvane::GraphicDescriptor::Kind::Graph) {
        dotvane::VlcdBitmap.image = QImage(32, 16, QImage::Format_RGB32);
        const auto& n = graphic.numbers;
        dotvane::DrawGraph(n[0], n[1], n[2], n[3], static_cast<int32_t>(size) * 7 - 100);
    }
    if (graphic.kind == dotvane::GraphicDescriptor::Kind::Bar) {
        dotvane::VlcdBitmap.image = QImage(32, 16, QImage::Format_RGB32);
        const auto& [x, y, height, width] = graphic.numbers;
        const auto length = static_cast<int32_t>(static_cast<uint32_t>(size) * 1000003u - 2000000u);
        dotvane::MainSettings.T6963C.Size = static_cast<int32_t>(size % 7) + 1;
        dotvane::T6963CDriver.SetGeometry();
        dotvane::T6963CDriver.DrawBar(x, y, height, length, width);
        dotvane::KS0108Driver.DrawBar(x, y, height, length, width);
    }
    return 0;
}
