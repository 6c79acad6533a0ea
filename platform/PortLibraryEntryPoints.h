#pragma once

#include "platform/PortLibrary.h"

#include <cstdint>
#include <type_traits>

// The twelve entry points that a port library exports, with C linkage, in
// the library's calling convention, by their plain names. The file that
// includes this one defines DLPORT_EXPORT: how its build exports a function.
DLPORT_EXPORT uint8_t DLPORT_CALL DlPortReadPortUchar(uint32_t port);
DLPORT_EXPORT uint16_t DLPORT_CALL DlPortReadPortUshort(uint32_t port);
DLPORT_EXPORT uint32_t DLPORT_CALL DlPortReadPortUlong(uint32_t port);
DLPORT_EXPORT void DLPORT_CALL DlPortWritePortUchar(uint32_t port, uint8_t value);
DLPORT_EXPORT void DLPORT_CALL DlPortWritePortUshort(uint32_t port, uint16_t value);
DLPORT_EXPORT void DLPORT_CALL DlPortWritePortUlong(uint32_t port, uint32_t value);
DLPORT_EXPORT void DLPORT_CALL DlPortReadPortBufferUchar(uint32_t port, uint8_t* buffer, uint32_t count);
DLPORT_EXPORT void DLPORT_CALL DlPortReadPortBufferUshort(uint32_t port, uint16_t* buffer, uint32_t count);
DLPORT_EXPORT void DLPORT_CALL DlPortReadPortBufferUlong(uint32_t port, uint32_t* buffer, uint32_t count);
DLPORT_EXPORT void DLPORT_CALL DlPortWritePortBufferUchar(uint32_t port, const uint8_t* buffer, uint32_t count);
DLPORT_EXPORT void DLPORT_CALL DlPortWritePortBufferUshort(uint32_t port, const uint16_t* buffer, uint32_t count);
DLPORT_EXPORT void DLPORT_CALL DlPortWritePortBufferUlong(uint32_t port, const uint32_t* buffer, uint32_t count);

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
}  // namespace dotvane::platform::PortLibrary
