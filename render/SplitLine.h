#pragma once

#include <string_view>

namespace dotvane {

// A row's text as it is written: at most columns − 1 characters on its own
// row; the rest (cut to columns − 2 characters when it has columns or more)
// continues at column 1 of the next row.
struct SplitText {
    std::string_view head;
    std::string_view tail;
    bool hasTail = false;
};
SplitText SplitLine(std::string_view text, int columns);

}  // namespace dotvane
