#pragma once

#include "platform/PowerStatus.h"
#include "platform/linux/KernelFileSnapshot.h"

#include <filesystem>

namespace dotvane::platform {

// The power status read from <sysRoot>/class/power_supply: the mains
// supplies give the AC line, the batteries of the system (not those of
// devices such as a wireless mouse) give the flag, percent and times. A
// machine that lists neither (a desktop or a server) is on line; a supply
// that cannot be read leaves the AC line unknown.
class PowerStatusLinux : public PowerStatus {
public:
    explicit PowerStatusLinux(std::filesystem::path sysRoot = "/sys", KernelFileSnapshot& files = SystemKernelFiles());
    bool GetSystemPowerStatus(PowerStatusRecord& status) override;

private:
    std::filesystem::path supplies_;
    KernelFileSnapshot& files_;
};

}  // namespace dotvane::platform
