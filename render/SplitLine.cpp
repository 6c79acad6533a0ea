#include "render/SplitLine.h"

#include <algorithm>

namespace dotvane {

SplitText SplitLine(std::string_view text, int columns)
{
    const size_t c = static_cast<size_t>(std::max(columns, 2));
    if (text.size() <= c - 1) return {text, {}, false};
    std::string_view tail = text.substr(c - 1);
    if (tail.size() >= c) tail = tail.substr(0, c - 2);
    return {text.substr(0, c - 1), tail, true};
}

}  // namespace dotvane
