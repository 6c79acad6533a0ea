#include "platform/TickCount.h"

#include "platform/win32/Win32Api.h"

namespace dotvane::platform {
namespace {

// GetTickCount's 32-bit count: on Windows the uptime wraps after 49.7 days
// as the system's own count does.
class TickCountWin32 : public TickCount {
public:
    uint64_t GetTickCount64() override { return ::GetTickCount(); }
};

}  // namespace

TickCount& SystemTickCount()
{
    static TickCountWin32 source;
    return source;
}

}  // namespace dotvane::platform
