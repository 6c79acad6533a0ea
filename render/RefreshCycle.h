#pragma once

#include <array>
#include <string>
#include <string_view>

namespace dotvane {

inline constexpr int kRowCount = 16;

// Expanded text of each row from the latest refresh, and the text last
// written to each row of the hardware display.
extern std::array<std::string, kRowCount> LineText;
extern std::array<std::string, kRowCount> ShownText;

// A row's text as it is written: at most columns − 1 characters on its own
// row; the rest (cut to columns − 2 characters when it has columns or more)
// continues at column 1 of the next row.
struct SplitText {
    std::string_view head;
    std::string_view tail;
    bool hasTail = false;
};
SplitText SplitLine(std::string_view text, int columns);

// One refresh of the current screen: expand every visible row, write the
// rows that changed to the display, and redraw the virtual display while the
// window is shown. A refresh asked for while one runs is skipped.
void RefreshScreen();

// Forgets what the hardware rows hold, after the display was cleared.
void ForgetShownText();

}  // namespace dotvane
