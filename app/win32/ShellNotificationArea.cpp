#include "app/win32/ShellNotificationArea.h"

#include <shellapi.h>

#include <cstring>

namespace dotvane {
namespace {

// The window's one icon.
constexpr UINT kIconId = 1;

NOTIFYICONDATAA IconOf(HWND window)
{
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = kIconId;
    return data;
}

}  // namespace

bool ShellNotificationArea::Add(HWND window, UINT callbackMessage, HICON icon, const char* tip)
{
    NOTIFYICONDATAA data = IconOf(window);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = callbackMessage;
    data.hIcon = icon;
    std::strncpy(data.szTip, tip, sizeof data.szTip - 1);
    return ::Shell_NotifyIconA(NIM_ADD, &data) != FALSE;
}

bool ShellNotificationArea::Remove(HWND window)
{
    NOTIFYICONDATAA data = IconOf(window);
    return ::Shell_NotifyIconA(NIM_DELETE, &data) != FALSE;
}

}  // namespace dotvane
