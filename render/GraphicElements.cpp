#include "render/GraphicElements.h"

#include "config/ScreenFile.h"
#include "app/ScreenState.h"
#include "config/Settings.h"
#include "lcd/KS0108Driver.h"
#include "lcd/T6963CDriver.h"
#include "render/ElementDescriptors.h"
#include "render/GraphHistory.h"
#include "vars/ExpandLine.h"
#include "vars/Format.h"

#include <algorithm>

namespace dotvane {
namespace {

constexpr int32_t kT6963C = 0;
constexpr int32_t kKS0108 = 1;

void DrawBarElement(const GraphicDescriptor& bar)
{
    const auto& [x, y, height, width] = bar.numbers;
    const int32_t length = ReadWholeNumber(ExpandVariable(bar.last));
    if (MainSettings.LCD.Type == kT6963C)
        T6963CDriver.DrawBar(x, y, height, length, width);
    else if (MainSettings.LCD.Type == kKS0108)
        KS0108Driver.DrawBar(x, y, height, length, width);
}

void DrawTextElement(const GraphicDescriptor& element)
{
    const int32_t x = element.numbers[0], y = element.numbers[1], fontIndex = element.numbers[2];
    const int32_t type = MainSettings.LCD.Type;
    // A font index the table does not have draws nothing.
    if ((type != kT6963C && type != kKS0108) || fontIndex < 0 || fontIndex >= FontCount) return;
    const std::string& content = element.last;
    std::string text;
    if (content.starts_with('"'))
        text = content.size() >= 2 ? content.substr(1, content.size() - 2) : std::string();
    else if (content.starts_with('$'))
        text = ExpandVariable(content.size() >= 2 ? std::string_view(content).substr(1, content.size() - 2) : "");
    else
        return;
    const FontEntry& font = FontTable[fontIndex];
    if (type == kT6963C)
        T6963CDriver.DrawFontText(text, x, y, font.Name, font.Size, font.CutTop, font.CutLeft, font.Invert);
    else
        KS0108Driver.DrawFontText(text, x, y, font.Name, font.Size, font.CutTop, font.CutLeft, font.Invert);
}

}  // namespace

void DrawGraphics()
{
    const ScreenEntry& screen = ScreenTable[std::clamp(CurrentScreen, 0, ScreenCount - 1)];
    for (const std::string& graphic : screen.Graphic)
        if (!graphic.empty()) DrawGraphicElement(graphic);
}

void DrawGraphicElement(const std::string& descriptor)
{
    const GraphicDescriptor element = ParseGraphicDescriptor(descriptor);
    switch (element.kind) {
    case GraphicDescriptor::Kind::Bar:
        return DrawBarElement(element);
    case GraphicDescriptor::Kind::Graph: {
        const auto& [x1, y1, x2, y2] = element.numbers;
        return DrawGraph(x1, y1, x2, y2, ReadWholeNumber(ExpandVariable(element.last)));
    }
    case GraphicDescriptor::Kind::Text:
        return DrawTextElement(element);
    case GraphicDescriptor::Kind::None:
        return;
    }
}

}  // namespace dotvane
