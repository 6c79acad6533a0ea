#include "vars/net/DottedAddress.h"

#include <charconv>

namespace dotvane {

std::optional<platform::Ipv4Address> ParseDottedAddress(std::string_view host)
{
    platform::Ipv4Address address = 0;
    const char* at = host.data();
    const char* const end = host.data() + host.size();
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (at == end || *at != '.') return std::nullopt;
            ++at;
        }
        // Digits only: from_chars would take a leading "-".
        if (at == end || *at < '0' || *at > '9') return std::nullopt;
        unsigned value = 0;
        const auto [next, error] = std::from_chars(at, end, value);
        if (error != std::errc() || value > 255 || next - at > 3) return std::nullopt;
        address = (address << 8) | value;
        at = next;
    }
    if (at != end) return std::nullopt;
    return address;
}

}  // namespace dotvane
