#pragma once

#include "config/ScreenFile.h"
#include "app/ScreenState.h"
#include "config/Settings.h"
#include "app/TDotvane.h"
#include "render/RefreshCycle.h"
#include "tests/support/RecordingDisplay.h"
#include "tests/support/RecordingWindowHost.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace dotvane::test {

// Runs the main window's logic on a recording window host and display, with
// DOTVANE.INI and screens/default.ini written by the test.
class AppFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        CurrentScreen = 0;
        PreviousScreen = 0;
        SkippedScreen = -1;
        WindowShown = true;
        MainSettings = TMainSettings{};
        for (std::string& row : LineText) row.clear();
        ForgetShownText();
    }
    void TearDown() override { logic.reset(); }

    void WriteMain(std::string_view text) { dir.Write("DOTVANE.INI", text); }
    void WriteScreens(std::string_view text) { dir.Write("screens/default.ini", text); }
    void Start() { logic = std::make_unique<TDotvane>(host, dir.Folder()); }

    ManualTimer& Refresh() { return static_cast<ManualTimer&>(logic->UpdateTimer1()); }
    ManualTimer& Rotation() { return static_cast<ManualTimer&>(logic->changescreen_Timer1()); }

    // One rotation tick, whatever its period; returns the screen then shown.
    int Tick()
    {
        Rotation().Fire();
        return CurrentScreen;
    }

    TempDir dir;
    RecordingWindowHost host;
    RecordingDisplay display;
    std::unique_ptr<TDotvane> logic;
};

}  // namespace dotvane::test
