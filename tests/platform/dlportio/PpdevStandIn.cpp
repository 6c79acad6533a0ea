#include "PpdevStandIn.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <linux/ioctl.h>
#include <linux/major.h>
#include <linux/ppdev.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <utility>

namespace dotvane::test {
namespace {

using OpenFunction = int (*)(const char*, int, ...);
using FstatFunction = int (*)(int, struct stat*);
using IoctlFunction = int (*)(int, unsigned long, ...);
using CloseFunction = int (*)(int);

template <typename Function>
Function Next(const char* name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

OpenFunction RealOpen()
{
    static const OpenFunction function = Next<OpenFunction>("open");
    return function;
}

FstatFunction RealFstat()
{
    static const FstatFunction function = Next<FstatFunction>("fstat");
    return function;
}

IoctlFunction RealIoctl()
{
    static const IoctlFunction function = Next<IoctlFunction>("ioctl");
    return function;
}

CloseFunction RealClose()
{
    static const CloseFunction function = Next<CloseFunction>("close");
    return function;
}

constexpr const char* kProcParport = "/proc/sys/dev/parport/";
constexpr uint8_t kControlLines = 0x0F;
constexpr uint8_t kDirectionInput = 0x20;
// What parport_pc puts into the control and extended control registers of
// a port it hands to a newly registered device: Select In and Init, and the
// byte (PS/2) mode with the FIFO's interrupts off.
constexpr uint8_t kClaimedControl = 0x0C;
constexpr uint8_t kClaimedExtendedControl = 0x34;

std::string Hex(unsigned value)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02X", value & 0xFF);
    return text;
}

std::string Failure(int error)
{
    const char* name = strerrorname_np(error);
    return std::string(" -> ") + (name ? name : std::to_string(error).c_str());
}

// The whole machine the stand-in pretends, behind one recursive lock (the
// lock is taken again when writing a picture opens a file).
class StandIn {
public:
    std::recursive_mutex Lock;

    void ReadEnvironmentOnce()
    {
        if (environmentRead_) return;
        environmentRead_ = true;
        const char* device = std::getenv("DOTVANE_PPDEV_DEVICE");
        if (device == nullptr || *device == '\0') return;
        PpdevStandInConfig config;
        config.Device = device;
        config.Minor = MinorOf(config.Device);
        if (const char* proc = std::getenv("DOTVANE_PPDEV_PROC")) config.ProcRoot = proc;
        if (const char* log = std::getenv("DOTVANE_PPDEV_LOG")) config.LogFile = log;
        if (const char* fault = std::getenv("DOTVANE_PPDEV_FAULT")) config.FaultFile = fault;
        config.Panel = emulator::SimulationConfig::FromEnvironment([](const char* name) { return std::getenv(name); });
        if (std::getenv("DOTVANE_SIM_PNG")) config.PictureFile = config.Panel.PictureFile;
        Reset(config);
    }

    void Reset(const PpdevStandInConfig& config)
    {
        environmentRead_ = true;
        if (fd_ >= 0) RealClose()(fd_);
        fd_ = -1;
        claimed_ = exclusive_ = registered_ = pulled_ = false;
        fault_ = 0;
        config_ = config;
        simulation_ = std::make_unique<emulator::PanelSimulation>(config.Panel);
        calls_.clear();
        if (log_) std::fclose(log_);
        log_ = config.LogFile.empty() ? nullptr : std::fopen(config.LogFile.c_str(), "a");
        active_ = true;
    }

    void Stop()
    {
        Reset(PpdevStandInConfig{});
        active_ = false;
    }

    bool IsDevice(const char* path) const { return active_ && path != nullptr && config_.Device == path; }
    bool IsDevice(int fd) const { return active_ && fd >= 0 && fd == fd_; }

    std::string Redirected(const char* path) const
    {
        if (!active_ || config_.ProcRoot.empty() || path == nullptr) return {};
        if (std::strncmp(path, kProcParport, std::strlen(kProcParport)) != 0) return {};
        return config_.ProcRoot + "/sys/dev/parport/" + (path + std::strlen(kProcParport));
    }

    void SetFault(int error) { fault_ = error; }

    int OpenDevice()
    {
        const std::string call = "open " + config_.Device;
        if (config_.OpenError != 0) return Fail(call, config_.OpenError);
        if (Fault() == ENODEV) return Fail(call, ENOENT);  // the device's node has gone with the adapter
        if (fd_ >= 0) return Fail(call, EBUSY);  // one opener is all these tests need
        fd_ = RealOpen()("/dev/null", O_RDWR | O_CLOEXEC);
        Record(call);
        return fd_;
    }

    int Fstat(struct stat* status)
    {
        *status = {};
        status->st_mode = S_IFCHR | 0660;
        status->st_rdev = makedev(config_.NotPpdev ? 4 : PP_MAJOR, config_.Minor);
        return 0;
    }

    int Close()
    {
        Record(claimed_ ? "close while claimed" : "close");
        const int result = RealClose()(fd_);
        fd_ = -1;
        claimed_ = exclusive_ = registered_ = pulled_ = false;
        return result;
    }

    int Ioctl(unsigned long request, void* argument)
    {
        // A pulled adapter takes its port with it: the open device never
        // answers again.
        const int fault = Fault();
        if (fault == ENODEV) pulled_ = true;
        if (pulled_) {
            claimed_ = false;
            return Fail(Name(request), ENODEV);
        }
        if (fault != 0) return Fail(Name(request), fault);
        switch (request) {
        case PPEXCL:
            if (registered_) return Fail("PPEXCL", EINVAL);
            exclusive_ = true;
            return Done("PPEXCL");
        case PPCLAIM:
            return Claim();
        default:
            break;
        }
        if (!claimed_) return Fail(Name(request), EINVAL);
        auto* byte = static_cast<unsigned char*>(argument);
        emulator::PrinterPort& port = simulation_->Port();
        const uint16_t base = port.Base();
        switch (request) {
        case PPRELEASE:
            claimed_ = false;
            return Done("PPRELEASE");
        case PPWDATA:
            port.Write(base, *byte);
            DrawGlass();
            return Done("PPWDATA " + Hex(*byte));
        case PPRDATA:
            *byte = port.Read(base);
            return Done("PPRDATA " + Hex(*byte));
        case PPRSTATUS:
            *byte = port.Read(base + 1u);
            return Done("PPRSTATUS " + Hex(*byte));
        case PPWCONTROL: {
            // parport_pc sets the four control lines only; a direction bit
            // turns the data lines around as a side effect.
            uint8_t control = port.Control();
            if (*byte & kDirectionInput) control |= kDirectionInput;
            control = static_cast<uint8_t>((control & ~kControlLines) | (*byte & kControlLines));
            port.Write(base + 2u, control);
            DrawGlass();
            return Done("PPWCONTROL " + Hex(*byte));
        }
        case PPRCONTROL:
            *byte = port.Control() & kControlLines;
            return Done("PPRCONTROL " + Hex(*byte));
        case PPDATADIR: {
            const int input = *static_cast<int*>(argument);
            const uint8_t control = port.Control();
            port.Write(base + 2u, input ? control | kDirectionInput : control & ~kDirectionInput);
            return Done("PPDATADIR " + std::to_string(input ? 1 : 0));
        }
        default:
            return Fail(Name(request), ENOTTY);
        }
    }

    int Ioperm(unsigned long from, unsigned long count)
    {
        return Fail("ioperm " + std::to_string(from) + " " + std::to_string(count), EPERM);
    }

    int Iopl(int level) { return Fail("iopl " + std::to_string(level), EPERM); }

    std::vector<std::string> TakeCalls() { return std::exchange(calls_, {}); }
    emulator::PanelSimulation& Simulation() { return *simulation_; }
    bool Claimed() const { return claimed_; }

private:
    static unsigned MinorOf(const std::string& device)
    {
        size_t digits = device.size();
        while (digits > 0 && std::isdigit(static_cast<unsigned char>(device[digits - 1]))) --digits;
        return digits < device.size() && device.size() - digits < 4 ? static_cast<unsigned>(std::stoul(device.substr(digits)))
                                                                     : 0;
    }

    static std::string Name(unsigned long request)
    {
        switch (request) {
        case PPEXCL: return "PPEXCL";
        case PPCLAIM: return "PPCLAIM";
        case PPRELEASE: return "PPRELEASE";
        case PPWDATA: return "PPWDATA";
        case PPRDATA: return "PPRDATA";
        case PPRSTATUS: return "PPRSTATUS";
        case PPWCONTROL: return "PPWCONTROL";
        case PPRCONTROL: return "PPRCONTROL";
        case PPDATADIR: return "PPDATADIR";
        default: return "ioctl " + std::to_string(request);
        }
    }

    int Claim()
    {
        if (claimed_) return Fail("PPCLAIM", EINVAL);
        // Registering alone fails while another driver is registered; a
        // shared registration would wait until that driver lets go.
        if (config_.OtherDriver) return Fail(exclusive_ ? "PPCLAIM" : "PPCLAIM would wait", exclusive_ ? ENXIO : EINTR);
        registered_ = claimed_ = true;
        emulator::PrinterPort& port = simulation_->Port();
        port.Write(port.Base() + 2u, kClaimedControl);
        port.Write(port.Base() + 0x402u, kClaimedExtendedControl);
        return Done("PPCLAIM");
    }

    // The fault set, or the one the fault file names.
    int Fault() const
    {
        if (config_.FaultFile.empty()) return fault_;
        char text[16] = {};
        const int fd = RealOpen()(config_.FaultFile.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return 0;
        const ssize_t length = ::read(fd, text, sizeof text - 1);
        RealClose()(fd);
        const std::string name(text, length > 0 ? static_cast<size_t>(length) : 0);
        if (name.starts_with("ENODEV")) return ENODEV;
        if (name.starts_with("EIO")) return EIO;
        return 0;
    }

    void Record(const std::string& call)
    {
        calls_.push_back(call);
        if (!log_) return;
        // Writes are too many to keep in a file.
        if (call.starts_with("PPWDATA") || call.starts_with("PPWCONTROL") || call.starts_with("PPRCONTROL")) return;
        std::fprintf(log_, "%s\n", call.c_str());
        std::fflush(log_);
    }

    int Done(const std::string& call)
    {
        Record(call);
        return 0;
    }

    int Fail(const std::string& call, int error)
    {
        Record(call + Failure(error));
        errno = error;
        return -1;
    }

    // Replaces the picture as a whole when the glass changed, so that a
    // reader never sees half of one.
    void DrawGlass()
    {
        const std::string& target = config_.PictureFile;
        emulator::Glass glass;
        if (target.empty() || !simulation_->TakeChangedGlass(glass)) return;
        const std::vector<uint8_t> png = emulator::EncodePng(glass, config_.Panel.Scale);
        const std::string partial = target + ".partial";
        {
            std::ofstream out(partial, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
            if (!out) return;
        }
        std::error_code error;
        std::filesystem::rename(partial, target, error);
    }

    bool environmentRead_ = false;
    bool active_ = false;
    PpdevStandInConfig config_;
    std::unique_ptr<emulator::PanelSimulation> simulation_;
    int fd_ = -1;
    bool claimed_ = false;
    bool exclusive_ = false;
    bool registered_ = false;
    // The open device belongs to an adapter that was pulled.
    bool pulled_ = false;
    int fault_ = 0;
    std::vector<std::string> calls_;
    std::FILE* log_ = nullptr;
};

StandIn& State()
{
    static StandIn* state = new StandIn;  // never destroyed: calls may come after exit
    return *state;
}

}  // namespace

void PpdevStandIn::Reset(const PpdevStandInConfig& config)
{
    std::lock_guard lock(State().Lock);
    State().Reset(config);
}

void PpdevStandIn::Stop()
{
    std::lock_guard lock(State().Lock);
    State().Stop();
}

void PpdevStandIn::SetFault(int error)
{
    std::lock_guard lock(State().Lock);
    State().SetFault(error);
}

std::vector<std::string> PpdevStandIn::TakeCalls()
{
    std::lock_guard lock(State().Lock);
    return State().TakeCalls();
}

emulator::PanelSimulation& PpdevStandIn::Simulation() { return State().Simulation(); }

bool PpdevStandIn::Claimed()
{
    std::lock_guard lock(State().Lock);
    return State().Claimed();
}

}  // namespace dotvane::test

using dotvane::test::State;

extern "C" int dotvane_standin_open(const char* path, int flags, unsigned mode)
{
    std::string redirected;
    {
        std::lock_guard lock(State().Lock);
        State().ReadEnvironmentOnce();
        if (State().IsDevice(path)) return State().OpenDevice();
        redirected = State().Redirected(path);
    }
    return dotvane::test::RealOpen()(redirected.empty() ? path : redirected.c_str(), flags, mode);
}

extern "C" int dotvane_standin_fstat(int fd, struct stat* status)
{
    {
        std::lock_guard lock(State().Lock);
        if (State().IsDevice(fd)) return State().Fstat(status);
    }
    return dotvane::test::RealFstat()(fd, status);
}

extern "C" int dotvane_standin_ioctl(int fd, unsigned long request, void* argument)
{
    {
        std::lock_guard lock(State().Lock);
        if (State().IsDevice(fd)) return State().Ioctl(request, argument);
    }
    return dotvane::test::RealIoctl()(fd, request, argument);
}

extern "C" int dotvane_standin_close(int fd)
{
    {
        std::lock_guard lock(State().Lock);
        if (State().IsDevice(fd)) return State().Close();
    }
    return dotvane::test::RealClose()(fd);
}

extern "C" int dotvane_standin_ioperm(unsigned long from, unsigned long count, int)
{
    std::lock_guard lock(State().Lock);
    return State().Ioperm(from, count);
}

extern "C" int dotvane_standin_iopl(int level)
{
    std::lock_guard lock(State().Lock);
    return State().Iopl(level);
}
