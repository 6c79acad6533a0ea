#pragma once

#include "platform/ComputerInfo.h"

#include <functional>

namespace dotvane::platform {

// The host name as the computer's name, in the program's Latin-1 characters
// (Linux gives it as UTF-8); Linux has no Windows platform identifier, so
// the platform is 0.
class ComputerInfoLinux : public ComputerInfo {
public:
    // `hostName` reads the host name as the system gives it; the default is
    // gethostname.
    explicit ComputerInfoLinux(std::function<std::string()> hostName = {});
    std::string GetComputerName(size_t bufferSize) override;
    uint32_t GetPlatformId() override;

private:
    std::function<std::string()> hostName_;
};

// The host name cut to what a buffer of `bufferSize` characters, terminator
// included, holds; shared with the host address source, which resolves it
// and so needs it as the system gives it.
std::string HostNameInBuffer(size_t bufferSize);

}  // namespace dotvane::platform
