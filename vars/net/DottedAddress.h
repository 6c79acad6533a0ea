#pragma once

#include "platform/Sockets.h"

#include <optional>
#include <string_view>

namespace dotvane {

// A host text of the form "a.b.c.d" with four decimal parts 0 … 255, which
// the socket layer uses as is instead of looking the name up.
std::optional<platform::Ipv4Address> ParseDottedAddress(std::string_view host);

}  // namespace dotvane
