#include "platform/win32/Winsock.h"

#include "platform/win32/Win32Api.h"

namespace dotvane::platform {

bool EnsureWinsock()
{
    static const bool started = [] {
        WSADATA data{};
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}

}  // namespace dotvane::platform
