#include "render/RefreshCycle.h"

#include "config/ScreenFile.h"
#include "app/ScreenState.h"
#include "config/Settings.h"
#include "lcd/DisplayDriver.h"
#include "render/GraphicElements.h"
#include "render/Icons.h"
#include "render/VirtualDisplay.h"
#include "vars/ExpandLine.h"

#include <algorithm>

namespace dotvane {

std::array<std::string, kRowCount> LineText;
std::array<std::string, kRowCount> ShownText;

SplitText SplitLine(std::string_view text, int columns)
{
    const size_t c = static_cast<size_t>(std::max(columns, 2));
    if (text.size() <= c - 1) return {text, {}, false};
    std::string_view tail = text.substr(c - 1);
    if (tail.size() >= c) tail = tail.substr(0, c - 2);
    return {text.substr(0, c - 1), tail, true};
}

void ForgetShownText()
{
    for (std::string& row : ShownText) row.clear();
}

void RefreshScreen()
{
    static bool refreshing = false;
    if (refreshing) return;
    refreshing = true;
    struct Done {
        ~Done() { refreshing = false; }
    } done;

    if (WindowShown) PrepareVirtualDisplay();

    const int rows = std::clamp(MainSettings.LCD.TextRows, 0, kRowCount);
    const ScreenEntry& screen = ScreenTable[std::clamp(CurrentScreen, 0, ScreenCount - 1)];
    for (int k = 0; k < rows; ++k) LineText[k] = ExpandLine(screen.Line[k]);

    for (int k = 0; k < rows; ++k) {
        if (LineText[k] == ShownText[k]) continue;
        const SplitText split = SplitLine(LineText[k], MainSettings.LCD.TextColumns);
        DisplayDriver::SetTextPosition(0, k);
        DisplayDriver::WriteText(split.head);
        if (split.hasTail) {
            DisplayDriver::SetTextPosition(1, k + 1);
            DisplayDriver::WriteText(split.tail);
        }
    }
    for (int k = 0; k < rows; ++k) ShownText[k] = LineText[k];

    DrawIcons();
    DrawGraphics();

    if (WindowShown) {
        DrawVirtualText();
        PresentVirtualDisplay();
    }
}

}  // namespace dotvane
