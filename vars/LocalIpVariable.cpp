#include "vars/LocalIpVariable.h"

#include "platform/HostAddress.h"
#include "vars/Format.h"

namespace dotvane {

std::string LocalIpVariable()
{
    platform::HostAddress& host = platform::HostAddressService::Current();
    const std::string name = host.GetHostName(200);
    if (name.empty()) return {};
    const auto address = host.ResolveFirstIpv4(name);
    if (!address) return {};
    const auto& b = *address;
    return FormatUnsigned(b[0]) + "." + FormatUnsigned(b[1]) + "." + FormatUnsigned(b[2]) + "." + FormatUnsigned(b[3]);
}

}  // namespace dotvane
