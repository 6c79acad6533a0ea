#pragma once

#include "platform/Sockets.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace dotvane::platform {

// The system's blocking resolver for one name: the first IPv4 address, or
// nothing when the name cannot be resolved.
using BlockingResolver = std::function<std::optional<Ipv4Address>(const std::string& name)>;

// Runs `resolve` on a helper thread that does nothing else, so the program's
// thread only polls. An abandoned lookup's thread still finishes into
// storage it shares with nobody.
std::unique_ptr<HostLookup> LookupOnThread(const std::string& name, BlockingResolver resolve);

}  // namespace dotvane::platform
