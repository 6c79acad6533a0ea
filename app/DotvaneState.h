#pragma once

#include "config/ScreenFile.h"
#include "config/Settings.h"
#include "render/RowTexts.h"

namespace dotvane {

// The program's state, owned by the main window's logic and lent to the
// parts below it by reference. LoadSettings is the only writer of the
// settings record and of the two tables, and replaces them as a whole.
struct DotvaneState {
    // One field per key of DOTVANE.INI.
    TMainSettings MainSettings;
    // The screens and fonts of the screen file.
    ScreenEntries ScreenTable;
    FontEntries FontTable;
    // Which screen is shown (0 … 20), which one the last timed rotation
    // left, and which one the rotation skips while the player is absent (-1
    // for none).
    int CurrentScreen = 0;
    int PreviousScreen = 0;
    int SkippedScreen = -1;
    // Whether the main window is visible; the virtual display is drawn only
    // then.
    bool WindowShown = true;
    // Expanded text of each row from the latest refresh, and the text last
    // written to each row of the hardware display.
    RowTexts LineText;
    RowTexts ShownText;
};

}  // namespace dotvane
