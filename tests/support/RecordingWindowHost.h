#pragma once

#include "app/WindowHost.h"
#include "tests/support/RecordingHost.h"

#include <vector>

namespace dotvane::test {

// A window host for the main window's logic: hand-driven timers, and a record
// of what the logic asked of its window.
class RecordingWindowHost : public RecordingHostOf<WindowHost> {
public:
    bool HasWindow() const override { return hasWindow; }
    void SetDisplaySize(int32_t w, int32_t h) override
    {
        width = w;
        height = h;
    }
    void ShowWindow() override { shown = true; }
    void HideWindow() override { shown = false; }
    void CloseWindow() override { ++closeRequests; }
    void SetPauseTick(bool ticked) override { pauseTick = ticked; }
    void SetEnabledOnlyTick(bool ticked) override { enabledOnlyTick = ticked; }

    bool hasWindow = true;
    // The display size the window was asked to lay out.
    int width = 0, height = 0;
    bool shown = true;
    int closeRequests = 0;
    bool pauseTick = false, enabledOnlyTick = false;
};

}  // namespace dotvane::test
