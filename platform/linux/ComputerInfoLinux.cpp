#include "platform/linux/ComputerInfoLinux.h"

#include <unistd.h>

#include <array>
#include <cstring>

namespace dotvane::platform {

std::string HostNameInBuffer(size_t bufferSize)
{
    if (bufferSize == 0) return {};
    // Linux host names have at most 64 characters; the buffer is larger so
    // that the name is always complete before it is cut.
    std::array<char, 256> buffer{};
    if (gethostname(buffer.data(), buffer.size() - 1) != 0) return {};
    std::string name(buffer.data(), strnlen(buffer.data(), buffer.size()));
    if (name.size() > bufferSize - 1) name.resize(bufferSize - 1);
    return name;
}

std::string ComputerInfoLinux::GetComputerName(size_t bufferSize) { return HostNameInBuffer(bufferSize); }

uint32_t ComputerInfoLinux::GetPlatformId() { return 0; }

ComputerInfo& SystemComputerInfo()
{
    static ComputerInfoLinux source;
    return source;
}

}  // namespace dotvane::platform
