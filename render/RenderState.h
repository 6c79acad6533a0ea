#pragma once

#include "config/ScreenFile.h"
#include "config/Settings.h"
#include "render/RowTexts.h"

namespace dotvane {

// What the renderer reads of the program's state, and the row buffers it
// writes, as references into the state object: every refresh sees the
// state as it is at that moment.
struct RenderState {
    const TMainSettings& MainSettings;
    const ScreenEntries& ScreenTable;
    const FontEntries& FontTable;
    const int& CurrentScreen;
    const bool& WindowShown;
    RowTexts& LineText;
    RowTexts& ShownText;
};

}  // namespace dotvane
