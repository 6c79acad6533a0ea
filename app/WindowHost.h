#pragma once

#include "app/Host.h"

#include <cstdint>

namespace dotvane {

// Everything the main window's logic asks of the window it runs in: the host
// services, its size, showing and hiding, closing and the tick marks of the
// menu items. Each shell's window implements it, and so does the host of the
// program without a window, where closing ends the program and the rest
// does nothing; tests record it.
class WindowHost : public Host {
public:
    // Whether there is a window at all. Without one, the virtual display is
    // never drawn: WindowShown is false from the start.
    virtual bool HasWindow() const = 0;
    // The size of the virtual display in its own pixels; the window lays
    // itself out around it.
    virtual void SetDisplaySize(int32_t width, int32_t height) = 0;
    // Restores the window, shows it with its task-bar button and brings it
    // to the front.
    virtual void ShowWindow() = 0;
    // Hides the window with its task-bar button, so that only the tray icon
    // remains; where there is no tray icon to bring it back, it is only
    // minimised.
    virtual void HideWindow() = 0;
    // Closes the window; the window then calls FormClose.
    virtual void CloseWindow() = 0;
    virtual void SetPauseTick(bool ticked) = 0;
    virtual void SetEnabledOnlyTick(bool ticked) = 0;
};

}  // namespace dotvane
