#include "platform/linux/TickCountLinux.h"

#include "platform/linux/SysFiles.h"

#include <charconv>
#include <cmath>
#include <ctime>

namespace dotvane::platform {
namespace {

// The first field of /proc/uptime: seconds since boot with a fraction.
std::optional<uint64_t> UptimeMilliseconds(KernelFileSnapshot& files, const std::filesystem::path& file)
{
    const auto line = ReadFirstLine(files, file);
    if (!line) return std::nullopt;
    double seconds = 0;
    const auto [end, ec] = std::from_chars(line->data(), line->data() + line->size(), seconds);
    if (ec != std::errc{} || !(seconds >= 0) || seconds > 1e15) return std::nullopt;
    return static_cast<uint64_t>(std::llround(seconds * 1000.0));
}

uint64_t BootClockMilliseconds()
{
    timespec now{};
    if (clock_gettime(CLOCK_BOOTTIME, &now) != 0) return 0;
    return static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
}

}  // namespace

TickCountLinux::TickCountLinux(std::filesystem::path procRoot, KernelFileSnapshot& files)
    : uptime_(std::move(procRoot) / "uptime"), files_(files)
{
}

uint64_t TickCountLinux::GetTickCount64()
{
    if (const auto ms = UptimeMilliseconds(files_, uptime_)) return *ms;
    return BootClockMilliseconds();
}

TickCount& SystemTickCount()
{
    static TickCountLinux source;
    return source;
}

}  // namespace dotvane::platform
