#pragma once

#include "platform/PortLibrary.h"

#include <cstdint>
#include <type_traits>

// The exported functions of both builds of libdlportio.so, with C linkage
// and the signatures the port component resolves them with.
#define DLPORT_EXPORT extern "C" __attribute__((visibility("default")))

DLPORT_EXPORT uint8_t DlPortReadPortUchar(uint32_t port);
DLPORT_EXPORT uint16_t DlPortReadPortUshort(uint32_t port);
DLPORT_EXPORT uint32_t DlPortReadPortUlong(uint32_t port);
DLPORT_EXPORT void DlPortWritePortUchar(uint32_t port, uint8_t value);
DLPORT_EXPORT void DlPortWritePortUshort(uint32_t port, uint16_t value);
DLPORT_EXPORT void DlPortWritePortUlong(uint32_t port, uint32_t value);
DLPORT_EXPORT void DlPortReadPortBufferUchar(uint32_t port, uint8_t* buffer, uint32_t count);
DLPORT_EXPORT void DlPortReadPortBufferUshort(uint32_t port, uint16_t* buffer, uint32_t count);
DLPORT_EXPORT void DlPortReadPortBufferUlong(uint32_t port, uint32_t* buffer, uint32_t count);
DLPORT_EXPORT void DlPortWritePortBufferUchar(uint32_t port, const uint8_t* buffer, uint32_t count);
DLPORT_EXPORT void DlPortWritePortBufferUshort(uint32_t port, const uint16_t* buffer, uint32_t count);
DLPORT_EXPORT void DlPortWritePortBufferUlong(uint32_t port, const uint32_t* buffer, uint32_t count);
DLPORT_EXPORT int32_t DlPortRequestAccess(uint32_t port, uint32_t count);
DLPORT_EXPORT int32_t DlPortSelectDevice(const char* device, uint32_t base, char* reason, uint32_t reasonSize);
DLPORT_EXPORT int32_t DlPortCheckDevice(char* device, uint32_t deviceSize);

// The exports must have exactly the types the port component casts them to.
namespace dotvane::platform::PortLibrary {
static_assert(std::is_same_v<decltype(&DlPortReadPortUchar), ReadUchar>);
static_assert(std::is_same_v<decltype(&DlPortReadPortUshort), ReadUshort>);
static_assert(std::is_same_v<decltype(&DlPortReadPortUlong), ReadUlong>);
static_assert(std::is_same_v<decltype(&DlPortWritePortUchar), WriteUchar>);
static_assert(std::is_same_v<decltype(&DlPortWritePortUshort), WriteUshort>);
static_assert(std::is_same_v<decltype(&DlPortWritePortUlong), WriteUlong>);
static_assert(std::is_same_v<decltype(&DlPortReadPortBufferUchar), ReadBufferUchar>);
static_assert(std::is_same_v<decltype(&DlPortReadPortBufferUshort), ReadBufferUshort>);
static_assert(std::is_same_v<decltype(&DlPortReadPortBufferUlong), ReadBufferUlong>);
static_assert(std::is_same_v<decltype(&DlPortWritePortBufferUchar), WriteBufferUchar>);
static_assert(std::is_same_v<decltype(&DlPortWritePortBufferUshort), WriteBufferUshort>);
static_assert(std::is_same_v<decltype(&DlPortWritePortBufferUlong), WriteBufferUlong>);
static_assert(std::is_same_v<decltype(&DlPortRequestAccess), RequestAccess>);
static_assert(std::is_same_v<decltype(&DlPortSelectDevice), SelectDevice>);
static_assert(std::is_same_v<decltype(&DlPortCheckDevice), CheckDevice>);
}  // namespace dotvane::platform::PortLibrary
