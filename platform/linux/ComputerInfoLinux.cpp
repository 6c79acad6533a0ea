#include "platform/linux/ComputerInfoLinux.h"

#include "platform/Latin1Text.h"

#include <unistd.h>

#include <array>
#include <cstring>

namespace dotvane::platform {
namespace {

// Linux host names have at most 64 bytes; the buffer is larger so that the
// name is always complete before it is cut.
constexpr size_t kHostNameBuffer = 256;

std::string CutToBuffer(std::string text, size_t bufferSize)
{
    if (bufferSize == 0) return {};
    if (text.size() > bufferSize - 1) text.resize(bufferSize - 1);
    return text;
}

}  // namespace

std::string HostNameInBuffer(size_t bufferSize)
{
    std::array<char, kHostNameBuffer> buffer{};
    if (gethostname(buffer.data(), buffer.size() - 1) != 0) return {};
    return CutToBuffer(std::string(buffer.data(), strnlen(buffer.data(), buffer.size())), bufferSize);
}

ComputerInfoLinux::ComputerInfoLinux(std::function<std::string()> hostName)
    : hostName_(hostName ? std::move(hostName) : [] { return HostNameInBuffer(kHostNameBuffer); })
{
}

// The name is converted before it is cut, so that the buffer counts
// characters and never ends in half of one.
std::string ComputerInfoLinux::GetComputerName(size_t bufferSize)
{
    if (bufferSize == 0) return {};
    return CutToBuffer(Latin1FromUtf8(hostName_()), bufferSize);
}

uint32_t ComputerInfoLinux::GetPlatformId() { return 0; }

ComputerInfo& SystemComputerInfo()
{
    static ComputerInfoLinux source;
    return source;
}

}  // namespace dotvane::platform
