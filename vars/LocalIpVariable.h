#pragma once

#include <string>

namespace dotvane {

// "localip": the first IPv4 address of the host's own name, dotted decimal;
// empty when the name does not resolve. When that address is a loopback
// address, the address on the network (that of the interface with the
// default route, else of the first interface that is up) stands in for it;
// the loopback address shows only when there is no such address.
std::string LocalIpVariable();

}  // namespace dotvane
