#include "vars/LocalIpVariable.h"

#include "platform/HostAddress.h"
#include "vars/Format.h"

namespace dotvane {

std::string LocalIpVariable()
{
    platform::HostAddress& host = platform::HostAddressService::Current();
    const std::string name = host.GetHostName(200);
    if (name.empty()) return {};
    auto address = host.ResolveFirstIpv4(name);
    if (!address) return {};
    // Debian and Ubuntu map the host's name to 127.0.1.1, an address that
    // tells nothing about where the computer is found.
    if ((*address)[0] == 127) {
        if (const auto network = host.NetworkIpv4()) address = network;
    }
    const auto& b = *address;
    return FormatUnsigned(b[0]) + "." + FormatUnsigned(b[1]) + "." + FormatUnsigned(b[2]) + "." + FormatUnsigned(b[3]);
}

}  // namespace dotvane
