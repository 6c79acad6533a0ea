#pragma once

#include <string>

namespace dotvane {

// "localip": the first IPv4 address of the host's own name, dotted decimal;
// empty when the name does not resolve.
std::string LocalIpVariable();

}  // namespace dotvane
