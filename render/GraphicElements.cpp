#include "render/Renderer.h"

#include "render/ElementDescriptors.h"
#include "render/ElementImages.h"
#include "vars/Format.h"

namespace dotvane {

void Renderer::DrawBarElement(const GraphicDescriptor& bar)
{
    const auto& [x, y, height, width] = bar.numbers;
    const int32_t length = ReadWholeNumber(ExpandVariable(bar.last, variables_));
    if (!display_.TakesElements()) return;
    const TMainSettings& settings = state_.MainSettings;
    const BarPicture picture(width, height, length, StringToColor(settings.VLCD.BackColor),
                             StringToColor(settings.VLCD.TextColor));
    DrawIntoVirtualDisplay(picture, x, y, std::nullopt);
    display_.DrawBar(picture, x, y, height, width);
}

void Renderer::DrawTextElement(const GraphicDescriptor& element)
{
    const int32_t x = element.numbers[0], y = element.numbers[1], fontIndex = element.numbers[2];
    // A font index the table does not have draws nothing.
    if (!display_.TakesElements() || fontIndex < 0 || fontIndex >= FontCount) return;
    const std::string& content = element.last;
    std::string text;
    if (content.starts_with('"'))
        text = content.size() >= 2 ? content.substr(1, content.size() - 2) : std::string();
    else if (content.starts_with('$'))
        text = ExpandVariable(content.size() >= 2 ? std::string_view(content).substr(1, content.size() - 2) : "",
                              variables_);
    else
        return;
    const FontEntry& font = state_.FontTable[static_cast<size_t>(fontIndex)];
    const TColor ink = display_.FontTextInk();
    // Its pixels are worked out only where the displays read them, and the
    // displays read only what lies on them.
    const FontTextPicture picture(text, font.Name, font.Size, font.Invert ? ink : clWhite, font.Invert ? clWhite : ink);
    // On the virtual display uncut, with the background (or, inverted,
    // white) left transparent.
    if (state_.WindowShown && picture.Width() != 0) {
        const TColor transparent = font.Invert ? clWhite : picture.Pixel(0, picture.Height() - 1);
        DrawIntoVirtualDisplay(picture, x, y, transparent);
    }
    display_.DrawFontText(picture, x, y, font.CutTop, font.CutLeft);
}

void Renderer::DrawGraphics()
{
    for (const std::string& graphic : CurrentEntry().Graphic)
        if (!graphic.empty()) DrawGraphicElement(graphic);
}

void Renderer::DrawGraphicElement(const std::string& descriptor)
{
    const GraphicDescriptor element = ParseGraphicDescriptor(descriptor);
    switch (element.kind) {
    case GraphicDescriptor::Kind::Bar:
        return DrawBarElement(element);
    case GraphicDescriptor::Kind::Graph: {
        const auto& [x1, y1, x2, y2] = element.numbers;
        return DrawGraph(x1, y1, x2, y2, ReadWholeNumber(ExpandVariable(element.last, variables_)));
    }
    case GraphicDescriptor::Kind::Text:
        return DrawTextElement(element);
    case GraphicDescriptor::Kind::None:
        return;
    }
}

}  // namespace dotvane
