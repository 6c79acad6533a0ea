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
    device_ = device;
    const int error = Attach(failed);
    if (error != 0) {
        device_.clear();
        return error;
    }
    open_ = true;
    base_ = base;
    error_ = answered_ = failed_ = 0;
    reopenAt_.reset();
    return 0;
}

int PpdevPort::Attach(Step& failed)
{
    const int fd = ::open(device_.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
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
    dataInput_ = false;
    extendedControl_ = kByteModeFifoEmpty;
    return 0;
}

void PpdevPort::Close()
{
    if (fd_ >= 0) {
        ::ioctl(fd_, PPRELEASE);
        ::close(fd_);
    }
    fd_ = -1;
    open_ = false;
    device_.clear();
}

bool PpdevPort::Call(unsigned long request, void* argument)
{
    if (fd_ < 0) return false;
    if (::ioctl(fd_, request, argument) == 0) {
        ++answered_;
        return true;
    }
    lastError_ = LastError();
    ++failed_;
    // The device has gone with its port: nothing is left to release.
    if (lastError_ == ENODEV) {
        ::close(fd_);
        fd_ = -1;
        error_ = ENODEV;
    }
    return false;
}

int PpdevPort::Check(Clock::time_point now)
{
    if (!open_) return 0;
    // Without a call since the last Check, the status register tells: reading
    // it changes no line of the port.
    if (fd_ >= 0 && answered_ == 0 && failed_ == 0) {
        unsigned char status = 0;
        Call(PPRSTATUS, &status);
    }
    if (fd_ < 0) {
        Reopen(now);
    } else if (answered_ > 0) {
        error_ = 0;
    } else if (failed_ > 0) {
        error_ = lastError_;
    }
    answered_ = failed_ = 0;
    return error_;
}

void PpdevPort::Reopen(Clock::time_point now)
{
    if (!reopenAt_) {
        reopenAt_ = now + ReopenInterval;
        return;
    }
    if (now < *reopenAt_) return;
    Step failed = Step::Open;
    if (Attach(failed) == 0) {
        error_ = 0;
        reopenAt_.reset();
    } else {
        reopenAt_ = now + ReopenInterval;
    }
}

void PpdevPort::SetDataInput(bool input)
{
    int direction = input ? 1 : 0;
    if (Call(PPDATADIR, &direction)) dataInput_ = input;
}

void PpdevPort::WriteControl(uint8_t value)
{
    const bool input = (value & kDirectionInput) != 0;
    auto lines = static_cast<unsigned char>(value & ~kDirectionInput);
    if (input && !dataInput_) SetDataInput(true);
    Call(PPWCONTROL, &lines);
    if (!input && dataInput_) SetDataInput(false);
}

void PpdevPort::Write(uint32_t port, uint8_t value)
{
    if (fd_ < 0) return;
    if (port == base_) {
        unsigned char data = value;
        Call(PPWDATA, &data);
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
        if (!Call(PPRDATA, &value)) return 0xFF;
    } else if (port == base_ + 1) {
        if (!Call(PPRSTATUS, &value)) return 0xFF;
    } else if (port == base_ + 2) {
        if (!Call(PPRCONTROL, &value)) return 0xFF;
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
