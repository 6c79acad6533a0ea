#include "platform/HostAddress.h"

#include "platform/win32/Win32Api.h"
#include "platform/win32/Winsock.h"

#include <climits>
#include <vector>

namespace dotvane::platform {
namespace {

class HostAddressWin32 : public HostAddress {
public:
    std::string GetHostName(size_t bufferSize) override
    {
        if (bufferSize == 0 || bufferSize > INT_MAX || !EnsureWinsock()) return {};
        std::vector<char> buffer(bufferSize, '\0');
        if (::gethostname(buffer.data(), static_cast<int>(bufferSize)) != 0) return {};
        buffer.back() = '\0';
        return buffer.data();
    }

    // gethostbyname's answer lives in storage of the calling thread, which
    // is read before any other socket call.
    std::optional<std::array<uint8_t, 4>> ResolveFirstIpv4(const std::string& name) override
    {
        if (!EnsureWinsock()) return std::nullopt;
        const hostent* host = ::gethostbyname(name.c_str());
        if (host == nullptr || host->h_addrtype != AF_INET || host->h_length != 4 || host->h_addr_list == nullptr ||
            host->h_addr_list[0] == nullptr)
            return std::nullopt;
        std::array<uint8_t, 4> address{};
        for (size_t i = 0; i < 4; ++i) address[i] = static_cast<uint8_t>(host->h_addr_list[0][i]);
        return address;
    }

    // Windows resolves its own name to the addresses of its network
    // adapters, and to a loopback address only when it has none.
    std::optional<std::array<uint8_t, 4>> NetworkIpv4() override { return std::nullopt; }
};

}  // namespace

HostAddress& SystemHostAddress()
{
    static HostAddressWin32 source;
    return source;
}

}  // namespace dotvane::platform
