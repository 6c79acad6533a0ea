// The real port I/O library. It reaches the printer port through the
// kernel's ppdev driver when the program names a device, or when one serves
// the port it asks for (DlPortSelectDevice); a member of the device's group
// then needs no further rights. Otherwise every entry point is one in/out
// instruction on the I/O port. A process may use an I/O port only after the
// kernel granted it permission for that port (ioperm, which needs root or
// CAP_SYS_RAWIO and is refused under kernel lockdown); all 65536 ports can
// be granted that way, so cards at high addresses work too. The program asks
// for the registers it needs when it opens the library
// (DlPortRequestAccess), and a refusal makes opening fail. Any other port is
// asked for the first time it is used. A port the kernel refused is never
// touched: writes to it are dropped and reads give all ones, instead of the
// fault an unpermitted access would raise.
#include "platform/linux/dlportio/EntryPoints.h"
#include "platform/linux/dlportio/ParportDevices.h"
#include "platform/linux/dlportio/PpdevPort.h"

#if defined(__x86_64__) || defined(__i386__)
#include <sys/io.h>
#define DOTVANE_HAS_PORT_IO 1
#endif

#include <algorithm>
#include <bitset>
#include <cerrno>
#include <cstring>

namespace {

constexpr uint32_t kPortCount = 65536;

class PortPermissions {
public:
    // 0 when every port of the run may be used, else the system's error.
    int32_t Request(uint32_t port, uint32_t count)
    {
        if (count == 0) return 0;
        if (port >= kPortCount || count > kPortCount - port) return EINVAL;
        if (All(granted_, port, count)) return 0;
        const int32_t error = Ask(port, count);
        for (uint32_t p = port; p < port + count; ++p) (error == 0 ? granted_ : refused_).set(p);
        return error;
    }

    bool Allowed(uint32_t port, uint32_t width)
    {
        if (port >= kPortCount || width > kPortCount - port) return false;
        if (All(granted_, port, width)) return true;
        for (uint32_t p = port; p < port + width; ++p) {
            if (refused_.test(p)) return false;
        }
        return Request(port, width) == 0;
    }

private:
    static bool All(const std::bitset<kPortCount>& set, uint32_t port, uint32_t count)
    {
        for (uint32_t p = port; p < port + count; ++p) {
            if (!set.test(p)) return false;
        }
        return true;
    }

    static int32_t Ask(uint32_t port, uint32_t count)
    {
#ifdef DOTVANE_HAS_PORT_IO
        return ioperm(port, count, 1) == 0 ? 0 : errno;
#else
        (void)port;
        (void)count;
        return ENOSYS;
#endif
    }

    std::bitset<kPortCount> granted_;
    std::bitset<kPortCount> refused_;
};

PortPermissions& Permissions()
{
    static PortPermissions permissions;
    return permissions;
}

// The device the port is reached through, while one is open.
dotvane::dlportio::PpdevPort& Device()
{
    static dotvane::dlportio::PpdevPort device;
    return device;
}

// A wide access through the device is split into byte accesses at
// consecutive addresses, least significant first, as the ISA bus splits it.
template <typename Value>
Value InThroughDevice(uint32_t port)
{
    Value value = 0;
    for (uint32_t i = 0; i < sizeof(Value); ++i) value |= static_cast<Value>(Value{Device().Read(port + i)} << (8 * i));
    return value;
}

template <typename Value>
void OutThroughDevice(uint32_t port, Value value)
{
    for (uint32_t i = 0; i < sizeof(Value); ++i) Device().Write(port + i, static_cast<uint8_t>(value >> (8 * i)));
}

template <typename Value>
Value In(uint32_t port)
{
    if (Device().IsOpen()) return InThroughDevice<Value>(port);
    if (!Permissions().Allowed(port, sizeof(Value))) return static_cast<Value>(~Value{0});
#ifdef DOTVANE_HAS_PORT_IO
    const auto address = static_cast<unsigned short>(port);
    if constexpr (sizeof(Value) == 1) return inb(address);
    else if constexpr (sizeof(Value) == 2) return inw(address);
    else return inl(address);
#else
    return static_cast<Value>(~Value{0});
#endif
}

template <typename Value>
void Out(uint32_t port, Value value)
{
    if (Device().IsOpen()) return OutThroughDevice(port, value);
    if (!Permissions().Allowed(port, sizeof(Value))) return;
#ifdef DOTVANE_HAS_PORT_IO
    const auto address = static_cast<unsigned short>(port);
    if constexpr (sizeof(Value) == 1) outb(value, address);
    else if constexpr (sizeof(Value) == 2) outw(value, address);
    else outl(value, address);
#else
    (void)value;
#endif
}

// Copies `text` into a caller's buffer of `size` bytes, cut to fit and
// NUL-terminated.
void CopyText(const std::string& text, char* buffer, uint32_t size)
{
    if (buffer == nullptr || size == 0) return;
    const size_t length = std::min<size_t>(text.size(), size - 1);
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}
}  // namespace

#include "platform/PortLibraryEntryPointBodies.inc"

// While a device serves the port, it stands for every register the program
// asks for; addresses it cannot reach are dropped (see PpdevPort).
int32_t DlPortRequestAccess(uint32_t port, uint32_t count)
{
    if (Device().IsOpen()) return 0;
    return Permissions().Request(port, count);
}

// A named device must be usable. Without a name, the port's own device is
// used when there is one; when ppdev is not loaded (the device is missing,
// or has no driver behind it) the ports are reached through I/O permission.
int32_t DlPortSelectDevice(const char* device, uint32_t base, char* reason, uint32_t reasonSize)
{
    using dotvane::dlportio::PpdevPort;
    CopyText("", reason, reasonSize);
    Device().Close();
    const std::string named = device != nullptr ? device : "";
    std::string path = named;
    if (named.empty()) {
        if (base > 0xFFFF) return 0;
        const std::optional<std::string> found = dotvane::dlportio::FindParportDevice(base, "/proc", "/dev");
        if (!found) return 0;
        path = *found;
    }
    PpdevPort::Step failed = PpdevPort::Step::Open;
    const int error = Device().Open(path, base, failed);
    if (error == 0) return 0;
    const bool noPpdev = failed == PpdevPort::Step::Open && (error == ENOENT || error == ENODEV || error == ENXIO);
    if (named.empty() && noPpdev) return 0;
    CopyText(dotvane::dlportio::DescribeFailure(path, failed, error), reason, reasonSize);
    return error;
}

// Asked once per refresh; while no device is used there is nothing to tell.
int32_t DlPortCheckDevice(char* device, uint32_t deviceSize)
{
    CopyText(Device().Device(), device, deviceSize);
    return Device().Check(dotvane::dlportio::PpdevPort::Clock::now());
}
