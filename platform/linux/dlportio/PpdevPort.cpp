#include "platform/linux/dlportio/PpdevPort.h"

#include <fcntl.h>
#include <linux/major.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace dotvane::dlportio {
namespace {

constexpr uint8_t kDirectionInput = 0x20;
// Mode bits 001 (byte, PS/2) and "FIFO empty".
constexpr uint8_t kByteModeFifoEmpty = 0x21;

int LastError() { return errno != 0 ? errno : EIO; }

// The words of the system's message, starting in lower case.
std::string SystemWords(int error)
{
    std::string words = std::generic_category().message(error);
    if (!words.empty() && words[0] >= 'A' && words[0] <= 'Z') words[0] = static_cast<char>(words[0] - 'A' + 'a');
    return words;
}

}  // namespace

int PpdevPort::Open(const std::string& device, uint32_t base, Step& failed)
{
    Close();
    const int fd = ::open(device.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        failed = Step::Open;
        return LastError();
    }
    // Another kind of device could take the ppdev requests for its own.
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISCHR(status.st_mode) || major(status.st_rdev) != PP_MAJOR) {
        ::close(fd);
        failed = Step::NotPpdev;
        return ENOTTY;
    }
    // Claimed alone, the port cannot be held by anyone else, so the claim
    // does not wait; a port that another driver uses fails at once instead.
    if (::ioctl(fd, PPEXCL) != 0 || ::ioctl(fd, PPCLAIM) != 0) {
        const int error = LastError();
        ::close(fd);
        failed = Step::Claim;
        return error;
    }
    fd_ = fd;
    base_ = base;
    dataInput_ = false;
    extendedControl_ = kByteModeFifoEmpty;
    return 0;
}

void PpdevPort::Close()
{
    if (fd_ < 0) return;
    ::ioctl(fd_, PPRELEASE);
    ::close(fd_);
    fd_ = -1;
}

void PpdevPort::SetDataInput(bool input)
{
    int direction = input ? 1 : 0;
    if (::ioctl(fd_, PPDATADIR, &direction) == 0) dataInput_ = input;
}

void PpdevPort::WriteControl(uint8_t value)
{
    const bool input = (value & kDirectionInput) != 0;
    auto lines = static_cast<unsigned char>(value & ~kDirectionInput);
    if (input && !dataInput_) SetDataInput(true);
    ::ioctl(fd_, PPWCONTROL, &lines);
    if (!input && dataInput_) SetDataInput(false);
}

void PpdevPort::Write(uint32_t port, uint8_t value)
{
    if (fd_ < 0) return;
    if (port == base_) {
        unsigned char data = value;
        ::ioctl(fd_, PPWDATA, &data);
    } else if (port == base_ + 2) {
        WriteControl(value);
    } else if (port == base_ + 0x402) {
        extendedControl_ = value;
    }
}

uint8_t PpdevPort::Read(uint32_t port)
{
    if (fd_ < 0) return 0xFF;
    unsigned char value = 0xFF;
    if (port == base_) {
        if (::ioctl(fd_, PPRDATA, &value) != 0) return 0xFF;
    } else if (port == base_ + 1) {
        if (::ioctl(fd_, PPRSTATUS, &value) != 0) return 0xFF;
    } else if (port == base_ + 2) {
        if (::ioctl(fd_, PPRCONTROL, &value) != 0) return 0xFF;
        value = static_cast<unsigned char>((value & ~kDirectionInput) | (dataInput_ ? kDirectionInput : 0));
    } else if (port == base_ + 0x402) {
        value = extendedControl_;
    }
    return value;
}

std::string DescribeFailure(const std::string& device, PpdevPort::Step step, int error)
{
    std::string why;
    switch (step) {
    case PpdevPort::Step::Open:
        if (error == EACCES || error == EPERM) why = "permission denied; add the user to the lp group";
        else if (error == ENOENT) why = "no such device; load the ppdev module (modprobe ppdev) or correct [Port] Device";
        else if (error == ENXIO || error == ENODEV) why = "no parallel port behind this device";
        else why = SystemWords(error);
        break;
    case PpdevPort::Step::NotPpdev:
        why = "not a parallel port device (ppdev)";
        break;
    case PpdevPort::Step::Claim:
        if (error == ENXIO || error == EBUSY)
            why = "the port is in use by another driver or program; unload the printer driver (modprobe -r lp) "
                  "or stop the program that holds the port";
        else if (error == ENOTTY || error == EINVAL) why = "not a parallel port device (ppdev)";
        else why = "the port cannot be claimed: " + SystemWords(error);
        break;
    }
    return device + ": " + why;
}

}  // namespace dotvane::dlportio
