#pragma once

#include <cstdint>
#include <string>

namespace dotvane::dlportio {

// A printer port reached through the kernel's ppdev driver instead of
// in/out instructions, so that a member of the device's group (lp) needs
// neither root nor I/O permission. The port library's addresses are mapped
// onto the device's calls:
// - Base, the data register: PPWDATA and PPRDATA;
// - Base+1, the status register: PPRSTATUS; writes are dropped (the
//   register is read-only on the port as well);
// - Base+2, the control register: PPWCONTROL and PPRCONTROL for the four
//   control lines, while its direction bit (0x20) is turned into PPDATADIR:
//   setting it releases the data lines before the new control lines are
//   put out, clearing it drives them again only after, so the port and a
//   module never drive the lines at once;
// - Base+0x402, the ECP extended control register, is kept here and not
//   written: the kernel's parport_pc driver already puts an ECP port into
//   byte (PS/2) mode, where PPDATADIR turns the data lines around, when the
//   port is claimed, and ppdev offers no way to set another mode. Reads give
//   the last value written, at first that byte mode with an empty FIFO.
// Other addresses (the EPP registers at Base+3 and up, which 16-bit writes
// to the control register touch) are not reached: writes are dropped and
// reads give all ones. A call that fails loses its access the same way.
class PpdevPort {
public:
    // Which call of opening failed.
    enum class Step { Open, NotPpdev, Claim };

    PpdevPort() = default;
    ~PpdevPort() { Close(); }
    PpdevPort(const PpdevPort&) = delete;
    PpdevPort& operator=(const PpdevPort&) = delete;

    // Opens the device without waiting, makes sure it is a ppdev device and
    // claims its port for this process alone (PPEXCL, then PPCLAIM), so that
    // opening never waits for another driver to let go of the port. Returns
    // 0, or the system's error with `failed` saying which step it was.
    int Open(const std::string& device, uint32_t base, Step& failed);
    // Releases the port (PPRELEASE) and closes the device.
    void Close();
    bool IsOpen() const { return fd_ >= 0; }
    uint32_t Base() const { return base_; }

    uint8_t Read(uint32_t port);
    void Write(uint32_t port, uint8_t value);

private:
    void WriteControl(uint8_t value);
    void SetDataInput(bool input);

    int fd_ = -1;
    uint32_t base_ = 0;
    bool dataInput_ = false;
    uint8_t extendedControl_ = 0;
};

// The device and why it could not be used, in plain words for the user:
// "/dev/parport0: permission denied; add the user to the lp group".
std::string DescribeFailure(const std::string& device, PpdevPort::Step step, int error);

}  // namespace dotvane::dlportio
