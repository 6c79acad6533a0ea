#pragma once

#include "platform/TickCount.h"

#include <filesystem>

namespace dotvane::platform {

// Milliseconds since boot from <procRoot>/uptime (suspended time included,
// as on Windows); from the boot-time clock when that file cannot be read.
class TickCountLinux : public TickCount {
public:
    explicit TickCountLinux(std::filesystem::path procRoot = "/proc");
    uint64_t GetTickCount64() override;

private:
    std::filesystem::path uptime_;
};

}  // namespace dotvane::platform
