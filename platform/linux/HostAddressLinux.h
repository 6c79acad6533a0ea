#pragma once

#include "platform/HostAddress.h"

namespace dotvane::platform {

// gethostname and getaddrinfo (IPv4 only), in the order the resolver gives.
class HostAddressLinux : public HostAddress {
public:
    std::string GetHostName(size_t bufferSize) override;
    std::optional<std::array<uint8_t, 4>> ResolveFirstIpv4(const std::string& name) override;
};

}  // namespace dotvane::platform
