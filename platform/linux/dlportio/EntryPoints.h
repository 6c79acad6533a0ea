#pragma once

// The exported functions of both builds of libdlportio.so: the twelve
// entry points, and the Linux library's own three.
#define DLPORT_EXPORT extern "C" __attribute__((visibility("default")))

#include "platform/PortLibraryEntryPoints.h"

#include <cstdint>
#include <type_traits>

DLPORT_EXPORT int32_t DlPortRequestAccess(uint32_t port, uint32_t count);
DLPORT_EXPORT int32_t DlPortSelectDevice(const char* device, uint32_t base, char* reason, uint32_t reasonSize);
DLPORT_EXPORT int32_t DlPortCheckDevice(char* device, uint32_t deviceSize);

// These exports too must have exactly the types the port component casts
// them to.
namespace dotvane::platform::PortLibrary {
static_assert(std::is_same_v<decltype(&DlPortRequestAccess), RequestAccess>);
static_assert(std::is_same_v<decltype(&DlPortSelectDevice), SelectDevice>);
static_assert(std::is_same_v<decltype(&DlPortCheckDevice), CheckDevice>);
}  // namespace dotvane::platform::PortLibrary
