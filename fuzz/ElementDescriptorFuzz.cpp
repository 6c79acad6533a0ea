// Any graphic or icon descriptor parses without a crash, and the numbers it
// yields draw without a crash or a hang on a small virtual display.
#include "config/Settings.h"
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
    return 0;
}
