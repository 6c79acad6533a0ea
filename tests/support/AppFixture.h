#pragma once

#include "app/TDotvane.h"
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
    void TearDown() override { logic.reset(); }

    void WriteMain(std::string_view text) { dir.Write("DOTVANE.INI", text); }
    void WriteScreens(std::string_view text) { dir.Write("screens/default.ini", text); }
    void Start() { logic = std::make_unique<TDotvane>(host, dir.Folder(), display); }

    ManualTimer& Refresh() { return static_cast<ManualTimer&>(logic->UpdateTimer1()); }
    ManualTimer& Rotation() { return static_cast<ManualTimer&>(logic->changescreen_Timer1()); }
    DotvaneState& State() { return logic->State(); }

    // One rotation tick, whatever its period; returns the screen then shown.
    int Tick()
    {
        Rotation().Fire();
        return State().CurrentScreen;
    }

    TempDir dir;
    RecordingWindowHost host;
    RecordingDisplay display;
    std::unique_ptr<TDotvane> logic;
};

}  // namespace dotvane::test
