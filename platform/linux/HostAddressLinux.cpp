#include "platform/linux/HostAddressLinux.h"

#include "platform/linux/ComputerInfoLinux.h"

#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstring>

namespace dotvane::platform {

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

HostAddress& SystemHostAddress()
{
    static HostAddressLinux source;
    return source;
}

}  // namespace dotvane::platform
