#pragma once

#include "base/ServicePoint.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace dotvane::platform {

// The host's own name and its resolution, as the socket library's
// gethostname and gethostbyname give them, and the address under which the
// host is found on its network.
class HostAddress {
public:
    virtual ~HostAddress() = default;
    // The host name read into a buffer of `bufferSize` characters, the
    // terminator included; empty when the system cannot tell.
    virtual std::string GetHostName(size_t bufferSize) = 0;
    // The first IPv4 address the name resolves to, its bytes in network
    // order; nothing when it does not resolve.
    virtual std::optional<std::array<uint8_t, 4>> ResolveFirstIpv4(const std::string& name) = 0;
    // The IPv4 address of the interface that carries the default route, else
    // the first address of an interface that is up and is not a loopback;
    // nothing when there is none, or when the system does not tell.
    virtual std::optional<std::array<uint8_t, 4>> NetworkIpv4() = 0;
};

// The system's implementation, created on first use.
HostAddress& SystemHostAddress();
// Where the program finds it: the system's own, or a stand-in a test
// installs.
using HostAddressService = ServicePoint<HostAddress, SystemHostAddress>;

}  // namespace dotvane::platform
