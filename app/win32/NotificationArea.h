#pragma once

#include "platform/win32/Win32Api.h"

namespace dotvane {

// The taskbar's notification area, where the window keeps its icon. The
// window reaches it only through this, so that tests can stand in for a
// notification area that Wine's null display driver does not have.
class NotificationArea {
public:
    virtual ~NotificationArea() = default;
    // Puts the window's icon there with the tip; mouse events over it come
    // to the window as `callbackMessage`, the mouse message in lParam.
    // False where the system refuses it.
    virtual bool Add(HWND window, UINT callbackMessage, HICON icon, const char* tip) = 0;
    // Takes the window's icon away; false where the system refuses.
    virtual bool Remove(HWND window) = 0;
};

}  // namespace dotvane
