#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace dotvane {

// A graphic element as written in a screen file: bar(x, y, height, width,
// name), graph(x1, y1, x2, y2, name) or text(x, y, font, content). The
// keyword counts only at the start and is case-sensitive. The numeric fields
// follow the first "(", each up to the next ","; the last field runs from the
// comma after the last numeric field up to the first ")" after it, taken as
// written. Missing fields read as 0 or empty.
struct GraphicDescriptor {
    enum class Kind { None, Bar, Graph, Text };
    Kind kind = Kind::None;
    std::array<int32_t, 4> numbers{};
    std::string last;
};
GraphicDescriptor ParseGraphicDescriptor(std::string_view descriptor);

// An icon as written in a screen file: winampstatus(x, y), textvar(x, y),
// winampchannels(x, y), or file(x, y) naming an image by everything before
// the first "(".
struct IconDescriptor {
    enum class Kind { PlayerState, Channel, File };
    Kind kind = Kind::File;
    int32_t x = 0;
    int32_t y = 0;
    std::string file;
};
IconDescriptor ParseIconDescriptor(std::string_view descriptor);

}  // namespace dotvane
