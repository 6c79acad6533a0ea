#pragma once

#include "platform/win32/Win32Api.h"

namespace dotvane {

// The ids of the menu commands, as WM_COMMAND carries them: the menu bar's
// items, then those of the tray icon's pop-up menu.
enum MenuCommand : UINT {
    kReload = 101,
    kExit,
    kNext,
    kPrevious,
    kPause,
    kEnabledOnly,
    kHelpWeb,
    kWebsite,
    kPopupNext = 201,
    kPopupPrevious,
    kPopupPause,
    kPopupShow,
    kPopupMinimize,
    kPopupExit,
};

// The main window's menu bar (File, Screen, Help), the tray icon's pop-up
// menu, and the accelerator table of the shortcuts shown in the menus. The
// window that takes the menu bar destroys it with itself; the pop-up menu
// and the accelerators go with this object.
class WindowMenus {
public:
    WindowMenus();
    ~WindowMenus();
    WindowMenus(const WindowMenus&) = delete;
    WindowMenus& operator=(const WindowMenus&) = delete;

    // The hint of a menu item, shown on the status line while the item is
    // highlighted; empty for an item without one.
    static const char* Hint(UINT command) { return command == kPopupExit ? "Exit Dotvane" : ""; }

    HMENU Bar() const { return bar_; }
    HMENU Popup() const { return popup_; }
    HACCEL Accelerators() const { return accelerators_; }

    // The tick of Screen › Pause and of the pop-up menu's Pause.
    void SetPauseTick(bool ticked);
    void SetEnabledOnlyTick(bool ticked);

private:
    HMENU bar_;
    HMENU popup_;
    HACCEL accelerators_;
};

}  // namespace dotvane
