#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace dotvane {

// What the user is told when the port could not be opened for a display.
inline constexpr const char* kPortOpenError = "Could not open the DriverLINX driver.";

// Why the port could not be opened: the text the user is told, and what went
// wrong with the device the port was to be reached through, in plain words
// for the status line ("/dev/parport0: permission denied; add the user to
// the lp group"); empty when no device was involved.
struct PortOpenFailure {
    std::string Message = kPortOpenError;
    std::string DeviceProblem;
    bool operator==(const PortOpenFailure&) const = default;
};

// How the device a port is reached through answers its register accesses:
// Error is 0 while it does, or when no device is involved, else the
// system's error number of the accesses that fail (ENODEV once a USB
// printer-port adapter is pulled); Device names it ("/dev/parport0").
struct PortHealth {
    std::string Device;
    int32_t Error = 0;
    bool operator==(const PortHealth&) const = default;
};

// A run of consecutive I/O ports.
struct PortRange {
    uint16_t First = 0;
    uint16_t Count = 0;
};

// The registers of a printer port, by their distance from its base address.
enum class PortRegister : uint16_t {
    Data = 0,
    Status = 1,
    Control = 2,
    ExtendedControl = 0x402,
};

// A printer port as the display drivers use it: registers addressed
// relative to a base address that each driver gives with every access (the
// T6963C its Port/Base, read anew at every byte; the KS0108 its fixed 888).
// Addresses are 16-bit and wrap round past 0xFFFF.
class ParallelPort {
public:
    virtual ~ParallelPort() = default;

    // Opens the port for the given registers, the first of which is the
    // data register of the display's port. A port reached through a device
    // uses `device`, or when that is empty the device that serves the data
    // register's address. Nothing when that worked; otherwise why not, and
    // the port then ignores writes and reads 0xFF.
    virtual std::optional<PortOpenFailure> OpenRegisters(const std::string& device,
                                                         std::span<const PortRange> registers) = 0;

    virtual uint8_t ReadRegister(uint16_t base, PortRegister reg) = 0;
    virtual void WriteRegister(uint16_t base, PortRegister reg, uint8_t value) = 0;
    // A 16-bit write: the low byte to the register, the high byte to the
    // address after it.
    virtual void WriteRegisterWord(uint16_t base, PortRegister reg, uint16_t value) = 0;
    // How the port's device answered the accesses since it was last asked,
    // once per refresh. A port without a device always answers.
    virtual PortHealth Health() { return {}; }

    // The I/O address of a register.
    static uint16_t Address(uint16_t base, PortRegister reg)
    {
        return static_cast<uint16_t>(base + static_cast<uint16_t>(reg));
    }
};

}  // namespace dotvane
