#pragma once

#include "platform/ComputerInfo.h"

namespace dotvane::platform {

// The host name (gethostname) as the computer's name; Linux has no Windows
// platform identifier, so the platform is 0.
class ComputerInfoLinux : public ComputerInfo {
public:
    std::string GetComputerName(size_t bufferSize) override;
    uint32_t GetPlatformId() override;
};

// The host name cut to what a buffer of `bufferSize` characters, terminator
// included, holds; shared with the host address source.
std::string HostNameInBuffer(size_t bufferSize);

}  // namespace dotvane::platform
