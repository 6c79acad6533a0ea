#pragma once

namespace dotvane {

// Which screen is shown (0 … 20), which one the last timed rotation left, and
// which one the rotation skips while the player is absent (-1 for none).
extern int CurrentScreen;
extern int PreviousScreen;
extern int SkippedScreen;

// Whether the main window is visible; the virtual display is drawn only then.
extern bool WindowShown;

}  // namespace dotvane
