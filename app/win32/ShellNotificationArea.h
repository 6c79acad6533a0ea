#pragma once

#include "app/win32/NotificationArea.h"

namespace dotvane {

// The notification area of the Windows shell (Shell_NotifyIconA), one icon
// per window.
class ShellNotificationArea : public NotificationArea {
public:
    bool Add(HWND window, UINT callbackMessage, HICON icon, const char* tip) override;
    bool Remove(HWND window) override;
};

}  // namespace dotvane
