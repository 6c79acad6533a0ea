#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
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
//
// The device can fail while the program runs: every call fails with EIO,
// or with ENODEV once a USB printer-port adapter is pulled. Check, asked
// now and then, tells whether the device answers. A device that has gone is
// closed at its first ENODEV; from then on accesses are dropped without a
// call, and Check opens it again every ReopenInterval, so that an adapter
// plugged in again serves the port without a restart.
class PpdevPort {
public:
    // Which call of opening failed.
    enum class Step { Open, NotPpdev, Claim };
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::seconds ReopenInterval{10};

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
    // Whether the port is reached through the device: from an Open that
    // worked until Close, also while a device that has gone waits to be
    // opened again.
    bool IsOpen() const { return open_; }
    uint32_t Base() const { return base_; }
    const std::string& Device() const { return device_; }

    uint8_t Read(uint32_t port);
    void Write(uint32_t port, uint8_t value);

    // 0 while the device answers, else the system's error of its failing
    // calls. The device answers when a call since the last Check worked,
    // and fails when every one failed; without any call since, its status
    // register is read to find out. A device that has gone is opened again
    // when `now` is ReopenInterval after the Check that first found it
    // gone, or after the last attempt.
    int Check(Clock::time_point now);

private:
    // The steps of Open on `device_`, leaving the device open in fd_.
    int Attach(Step& failed);
    // One request to the device, counted for Check; ENODEV closes it.
    bool Call(unsigned long request, void* argument);
    void Reopen(Clock::time_point now);
    void WriteControl(uint8_t value);
    void SetDataInput(bool input);

    int fd_ = -1;
    bool open_ = false;
    std::string device_;
    uint32_t base_ = 0;
    bool dataInput_ = false;
    uint8_t extendedControl_ = 0;
    // What Check last found, and the calls since.
    int error_ = 0;
    int answered_ = 0;
    int failed_ = 0;
    int lastError_ = 0;
    // When a device that has gone is next opened again.
    std::optional<Clock::time_point> reopenAt_;
};

// The device and why it could not be used, in plain words for the user:
// "/dev/parport0: permission denied; add the user to the lp group".
std::string DescribeFailure(const std::string& device, PpdevPort::Step step, int error);

}  // namespace dotvane::dlportio
