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

// The Linux library's second extra entry point: chooses how it reaches the
// printer port whose data register is at `base`. `device` names a ppdev
// device ("/dev/parport0"); empty lets the library find the device of that
// port, and with none it uses I/O permission. Returns 0 when the port can be
// reached that way, else the system's error number, with the device and the
// reason in plain words in `reason` (a NUL-terminated text of at most
// `reasonSize` bytes). Windows libraries lack it.
using SelectDevice = int32_t(DLPORT_CALL*)(const char* device, uint32_t base, char* reason, uint32_t reasonSize);
inline constexpr const char* kSelectDeviceName = "DlPortSelectDevice";

// The Linux library's third extra entry point, asked once per refresh: how
// the device it reaches the port through answers. Returns 0 while it does
// (or when no device is used), else the system's error number of the
// accesses that failed since the last call, every one of them, with the
// device's name in `device` (a NUL-terminated text of at most `deviceSize`
// bytes; empty without a device). A device that has gone (ENODEV) is opened
// again by this call now and then. Windows libraries lack it.
using CheckDevice = int32_t(DLPORT_CALL*)(char* device, uint32_t deviceSize);
inline constexpr const char* kCheckDeviceName = "DlPortCheckDevice";

}  // namespace dotvane::platform::PortLibrary
