#pragma once

#include "platform/HostAddress.h"
#include "platform/linux/KernelFileSnapshot.h"

#include <filesystem>
#include <functional>
#include <string_view>
#include <vector>

namespace dotvane::platform {

// One IPv4 address of a network interface.
struct Ipv4Interface {
    std::string name;
    std::array<uint8_t, 4> address{};
    bool up = false;
    bool loopback = false;
};

// The IPv4 addresses of the network interfaces in the system's order
// (getifaddrs); empty when the system cannot tell.
std::vector<Ipv4Interface> SystemIpv4Interfaces();

// The network address chosen from a routing table in the form of
// /proc/net/route and the interfaces: the first address of the interface
// that carries the default route (the one of lowest metric when there are
// several), else the first address of an interface that is up and is not a
// loopback; nothing when there is neither.
std::optional<std::array<uint8_t, 4>> ChooseNetworkIpv4(std::string_view routeTable,
                                                        const std::vector<Ipv4Interface>& interfaces);

// gethostname and getaddrinfo (IPv4 only), in the order the resolver gives;
// the network address from <procRoot>/net/route and the interface list.
class HostAddressLinux : public HostAddress {
public:
    explicit HostAddressLinux(std::filesystem::path procRoot = "/proc",
                              std::function<std::vector<Ipv4Interface>()> interfaces = SystemIpv4Interfaces,
                              KernelFileSnapshot& files = SystemKernelFiles());
    std::string GetHostName(size_t bufferSize) override;
    std::optional<std::array<uint8_t, 4>> ResolveFirstIpv4(const std::string& name) override;
    std::optional<std::array<uint8_t, 4>> NetworkIpv4() override;

private:
    std::filesystem::path routeTable_;
    std::function<std::vector<Ipv4Interface>()> interfaces_;
    KernelFileSnapshot& files_;
};

}  // namespace dotvane::platform
