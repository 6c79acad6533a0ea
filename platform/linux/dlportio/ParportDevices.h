#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace dotvane::dlportio {

// The kernel numbers its printer ports 0 … 15; port N is described in
// /proc/sys/dev/parport/parportN and served by the ppdev device
// /dev/parportN.
inline constexpr int kParportCount = 16;

// The ppdev device of the printer port whose data register is at `base`:
// `devRoot`/parportN for the first N whose `procRoot`/sys/dev/parport/
// parportN/base-addr starts with that address. None when no port has it
// (the parport driver is not loaded, or the port is elsewhere). The device
// itself is not looked at: it may be missing when ppdev is not loaded.
std::optional<std::string> FindParportDevice(uint32_t base, const std::string& procRoot, const std::string& devRoot);

// The first number of a base-addr text ("888\t1912\n"), none when the text
// does not start with a decimal number.
std::optional<uint32_t> FirstBaseAddress(const std::string& text);

}  // namespace dotvane::dlportio
