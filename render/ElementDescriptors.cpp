#include "render/ElementDescriptors.h"

#include "vars/Format.h"

namespace dotvane {
namespace {

size_t AfterFirstParenthesis(std::string_view text)
{
    const size_t open = text.find('(');
    return open == std::string_view::npos ? 0 : open + 1;
}

// The text from `start` up to the next `separator` (to the end without one);
// `start` moves just past that separator, or to the end.
std::string_view NextField(std::string_view text, size_t& start, char separator)
{
    if (start >= text.size()) return {};
    const size_t end = text.find(separator, start);
    const std::string_view field = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    start = end == std::string_view::npos ? text.size() : end + 1;
    return field;
}

}  // namespace

GraphicDescriptor ParseGraphicDescriptor(std::string_view descriptor)
{
    GraphicDescriptor result;
    int numericFields = 4;
    if (descriptor.starts_with("bar"))
        result.kind = GraphicDescriptor::Kind::Bar;
    else if (descriptor.starts_with("graph"))
        result.kind = GraphicDescriptor::Kind::Graph;
    else if (descriptor.starts_with("text")) {
        result.kind = GraphicDescriptor::Kind::Text;
        numericFields = 3;
    } else
        return result;

    size_t position = AfterFirstParenthesis(descriptor);
    for (int i = 0; i < numericFields; ++i) result.numbers[i] = ReadWholeNumber(NextField(descriptor, position, ','));
    result.last = std::string(NextField(descriptor, position, ')'));
    return result;
}

IconDescriptor ParseIconDescriptor(std::string_view descriptor)
{
    IconDescriptor result;
    size_t position = AfterFirstParenthesis(descriptor);
    result.x = ReadWholeNumber(NextField(descriptor, position, ','));
    result.y = ReadWholeNumber(NextField(descriptor, position, ')'));
    if (descriptor.starts_with("textvar") || descriptor.starts_with("winampstatus"))
        result.kind = IconDescriptor::Kind::PlayerState;
    else if (descriptor.starts_with("winampchannels"))
        result.kind = IconDescriptor::Kind::Channel;
    else
        result.file = std::string(descriptor.substr(0, descriptor.find('(')));
    return result;
}

}  // namespace dotvane
