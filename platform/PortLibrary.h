#pragma once

#include <array>
#include <cstdint>

// The functions of the port I/O library ("DLPortIO.dll" on Windows, the
// project's own "libdlportio.so" on Linux), found by name at run time. A
// port number is an I/O address zero-extended to 32 bits.
#ifdef _WIN32
#define DLPORT_CALL __stdcall
#else
#define DLPORT_CALL
#endif

namespace dotvane::platform::PortLibrary {

using ReadUchar = uint8_t(DLPORT_CALL*)(uint32_t port);
using ReadUshort = uint16_t(DLPORT_CALL*)(uint32_t port);
using ReadUlong = uint32_t(DLPORT_CALL*)(uint32_t port);
using WriteUchar = void(DLPORT_CALL*)(uint32_t port, uint8_t value);
using WriteUshort = void(DLPORT_CALL*)(uint32_t port, uint16_t value);
using WriteUlong = void(DLPORT_CALL*)(uint32_t port, uint32_t value);
using ReadBufferUchar = void(DLPORT_CALL*)(uint32_t port, uint8_t* buffer, uint32_t count);
using ReadBufferUshort = void(DLPORT_CALL*)(uint32_t port, uint16_t* buffer, uint32_t count);
using ReadBufferUlong = void(DLPORT_CALL*)(uint32_t port, uint32_t* buffer, uint32_t count);
using WriteBufferUchar = void(DLPORT_CALL*)(uint32_t port, const uint8_t* buffer, uint32_t count);
using WriteBufferUshort = void(DLPORT_CALL*)(uint32_t port, const uint16_t* buffer, uint32_t count);
using WriteBufferUlong = void(DLPORT_CALL*)(uint32_t port, const uint32_t* buffer, uint32_t count);

// The twelve entry points every port library has, in this order.
inline constexpr std::array<const char*, 12> kEntryPointNames{
    "DlPortReadPortUchar",        "DlPortReadPortUshort",        "DlPortReadPortUlong",
    "DlPortWritePortUchar",       "DlPortWritePortUshort",       "DlPortWritePortUlong",
    "DlPortReadPortBufferUchar",  "DlPortReadPortBufferUshort",  "DlPortReadPortBufferUlong",
    "DlPortWritePortBufferUchar", "DlPortWritePortBufferUshort", "DlPortWritePortBufferUlong",
};

// The Linux library's extra entry point: asks for access to `count` ports
// from `port` on and returns 0 when granted, else the system's error number.
// Windows libraries lack it; there the kernel driver service grants access.
using RequestAccess = int32_t(DLPORT_CALL*)(uint32_t port, uint32_t count);
inline constexpr const char* kRequestAccessName = "DlPortRequestAccess";

}  // namespace dotvane::platform::PortLibrary
