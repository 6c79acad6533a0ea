#pragma once

#include <cstdint>

namespace dotvane::platform {

// Milliseconds since the system started, as GetTickCount64 reports them: a
// 64-bit count that does not wrap after 49.7 days as the 32-bit one does.
class TickCount {
public:
    virtual ~TickCount() = default;
    virtual uint64_t GetTickCount64() = 0;
};

// The system's implementation, created on first use.
TickCount& SystemTickCount();
// The installed one, else the system's.
TickCount& CurrentTickCount();
// Installs a replacement (tests); nullptr returns to the system's own.
void InstallTickCount(TickCount* source);

}  // namespace dotvane::platform
