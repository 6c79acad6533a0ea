#include "platform/linux/HostAddressLinux.h"

#include "platform/linux/ComputerInfoLinux.h"
#include "platform/linux/KernelFiles.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <charconv>
#include <cstring>
#include <limits>

namespace dotvane::platform {
namespace {

// Route flag: the route is usable.
constexpr uint32_t kRouteUp = 0x0001;

std::optional<uint64_t> ParseNumber(std::string_view text, int base)
{
    uint64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// The interface of the usable default route of lowest metric, the first
// such line on a tie; empty when the table has none. The columns are Iface,
// Destination, Gateway, Flags, RefCnt, Use, Metric and Mask, the numbers
// in hexadecimal but the metric; the heading line parses as no route.
std::string_view DefaultRouteInterface(std::string_view routeTable)
{
    std::string_view best;
    uint64_t bestMetric = std::numeric_limits<uint64_t>::max();
    for (const std::string_view line : SplitLines(routeTable)) {
        const std::vector<std::string_view> fields = SplitFields(line);
        if (fields.size() < 8) continue;
        const auto destination = ParseNumber(fields[1], 16);
        const auto flags = ParseNumber(fields[3], 16);
        const auto metric = ParseNumber(fields[6], 10);
        const auto mask = ParseNumber(fields[7], 16);
        if (!destination || !flags || !metric || !mask) continue;
        if (*destination != 0 || *mask != 0 || (*flags & kRouteUp) == 0) continue;
        if (best.empty() || *metric < bestMetric) {
            best = fields[0];
            bestMetric = *metric;
        }
    }
    return best;
}

bool IsLoopback(const Ipv4Interface& entry) { return entry.loopback || entry.address[0] == 127; }

// Whether the address belongs to the interface: its own name, or one of its
// labels "name:label".
bool OnInterface(const Ipv4Interface& entry, std::string_view name)
{
    const std::string_view own = entry.name;
    return own == name || (own.size() > name.size() && own.starts_with(name) && own[name.size()] == ':');
}

}  // namespace

std::vector<Ipv4Interface> SystemIpv4Interfaces()
{
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return {};
    std::vector<Ipv4Interface> interfaces;
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET || entry->ifa_name == nullptr)
            continue;
        sockaddr_in ipv4{};
        std::memcpy(&ipv4, entry->ifa_addr, sizeof ipv4);
        Ipv4Interface found;
        found.name = entry->ifa_name;
        std::memcpy(found.address.data(), &ipv4.sin_addr.s_addr, 4);
        found.up = (entry->ifa_flags & IFF_UP) != 0;
        found.loopback = (entry->ifa_flags & IFF_LOOPBACK) != 0;
        interfaces.push_back(std::move(found));
    }
    freeifaddrs(list);
    return interfaces;
}

std::optional<std::array<uint8_t, 4>> ChooseNetworkIpv4(std::string_view routeTable,
                                                        const std::vector<Ipv4Interface>& interfaces)
{
    const std::string_view routed = DefaultRouteInterface(routeTable);
    if (!routed.empty()) {
        for (const Ipv4Interface& entry : interfaces)
            if (OnInterface(entry, routed) && entry.up && !IsLoopback(entry)) return entry.address;
    }
    for (const Ipv4Interface& entry : interfaces)
        if (entry.up && !IsLoopback(entry)) return entry.address;
    return std::nullopt;
}

HostAddressLinux::HostAddressLinux(std::filesystem::path procRoot,
                                   std::function<std::vector<Ipv4Interface>()> interfaces, KernelFileSnapshot& files)
    : routeTable_(std::move(procRoot) / "net" / "route"), interfaces_(std::move(interfaces)), files_(files)
{
}

std::string HostAddressLinux::GetHostName(size_t bufferSize) { return HostNameInBuffer(bufferSize); }

std::optional<std::array<uint8_t, 4>> HostAddressLinux::ResolveFirstIpv4(const std::string& name)
{
    if (name.empty()) return std::nullopt;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    // One entry per address instead of one per socket type.
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* results = nullptr;
    if (getaddrinfo(name.c_str(), nullptr, &hints, &results) != 0 || results == nullptr) return std::nullopt;
    std::optional<std::array<uint8_t, 4>> address;
    for (const addrinfo* entry = results; entry != nullptr; entry = entry->ai_next) {
        if (entry->ai_family != AF_INET || entry->ai_addr == nullptr) continue;
        sockaddr_in ipv4{};
        std::memcpy(&ipv4, entry->ai_addr, sizeof ipv4);
        std::array<uint8_t, 4> bytes{};
        std::memcpy(bytes.data(), &ipv4.sin_addr.s_addr, 4);
        address = bytes;
        break;
    }
    freeaddrinfo(results);
    return address;
}

std::optional<std::array<uint8_t, 4>> HostAddressLinux::NetworkIpv4()
{
    // Without a routing table the interfaces alone decide.
    const std::string_view table = ReadKernelFile(files_, routeTable_).value_or(std::string_view());
    return ChooseNetworkIpv4(table, interfaces_());
}

HostAddress& SystemHostAddress()
{
    static HostAddressLinux source;
    return source;
}

}  // namespace dotvane::platform
