#pragma once

#include "base/Notices.h"
#include "config/ScreenFile.h"
#include "config/Settings.h"
#include "lcd/Display.h"
#include "render/Renderer.h"
#include "tests/support/RenderServices.h"
#include "vars/ExpandLine.h"
#include "vars/LiveValues.h"

namespace dotvane::test {

// The state the renderer reads besides the settings, as the program holds it
// at start, and a renderer over it that draws on `display` and reports
// through `notices`, with font texts and pictures from the test's font
// engine and image decoder (RenderServices). The members go by the names the
// program gives them.
struct RenderHarness {
    RenderHarness(TMainSettings& settings, Display& display, Notices& notices)
        : MainSettings(settings),
          renderer({MainSettings, ScreenTable, FontTable, CurrentScreen, WindowShown, LineText, ShownText}, display,
                   variables, notices)
    {
    }

    RenderServices services;
    TMainSettings& MainSettings;
    ScreenEntries ScreenTable{};
    FontEntries FontTable{};
    int CurrentScreen = 0;
    bool WindowShown = true;
    RowTexts LineText;
    RowTexts ShownText;
    LiveValues Values;
    VariableContext variables{MainSettings, Values};
    Renderer renderer;
};

}  // namespace dotvane::test
