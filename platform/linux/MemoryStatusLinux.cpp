#include "platform/linux/MemoryStatusLinux.h"

#include "platform/linux/KernelFiles.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>

namespace dotvane::platform {
namespace {

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
    return text;
}

std::optional<uint64_t> LeadingNumber(std::string_view text)
{
    text = TrimBlanks(text);
    uint64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{}) return std::nullopt;
    return value;
}

// The "Key: value kB" lines of meminfo and status. A key that appears twice
// counts with its first readable value.
class Kilobytes {
public:
    explicit Kilobytes(std::optional<std::string_view> text) : text_(text.value_or(std::string_view())) {}

    std::optional<uint64_t> Find(std::string_view key) const
    {
        std::string_view rest = text_;
        while (!rest.empty()) {
            const size_t end = rest.find('\n');
            const std::string_view line = rest.substr(0, end);
            rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
            if (line.size() <= key.size() || line[key.size()] != ':' || !line.starts_with(key)) continue;
            if (const auto value = LeadingNumber(line.substr(key.size() + 1))) return value;
        }
        return std::nullopt;
    }
    uint64_t Lookup(std::string_view key) const { return Find(key).value_or(0); }

private:
    std::string_view text_;
};

// The soft address-space limit of limits ("Max address space  <soft>
// <hard>  bytes"); nothing when unlimited or unreadable.
std::optional<uint64_t> AddressSpaceLimit(std::optional<std::string_view> text)
{
    constexpr std::string_view kName = "Max address space";
    if (!text) return std::nullopt;
    for (std::string_view line : SplitLines(*text))
        if (line.starts_with(kName)) return LeadingNumber(line.substr(kName.size()));
    return std::nullopt;
}

}  // namespace

MemoryStatusLinux::MemoryStatusLinux(std::filesystem::path procRoot, KernelFileSnapshot& files)
    : meminfo_(procRoot / "meminfo"),
      limits_(procRoot / "self" / "limits"),
      status_(procRoot / "self" / "status"),
      files_(files)
{
}

uint64_t MemoryStatusLinux::UserAddressSpace()
{
#if defined(__x86_64__)
    return uint64_t{1} << 47;
#elif defined(__aarch64__)
    return uint64_t{1} << 48;
#elif UINTPTR_MAX == 0xFFFFFFFFu
    return uint64_t{3} << 30;
#else
    return uint64_t{1} << 47;
#endif
}

void MemoryStatusLinux::GlobalMemoryStatus(MemoryStatusRecord& status, MemoryFigures wanted)
{
    status = MemoryStatusRecord{};
    const Kilobytes memory(ReadKernelFile(files_, meminfo_));
    const uint64_t total = memory.Lookup("MemTotal");
    // Kernels before 3.14 have no MemAvailable; free memory and the caches
    // it could drop come closest.
    const std::optional<uint64_t> reported = memory.Find("MemAvailable");
    const uint64_t available =
        reported ? *reported : memory.Lookup("MemFree") + memory.Lookup("Buffers") + memory.Lookup("Cached");
    status.TotalPhys = total * 1024;
    status.AvailPhys = std::min(available, total) * 1024;
    if (total > 0)
        status.MemoryLoad = static_cast<uint32_t>(std::llround(100.0 * static_cast<double>(total - std::min(available, total)) / static_cast<double>(total)));
    status.TotalPageFile = (total + memory.Lookup("SwapTotal")) * 1024;
    status.AvailPageFile = std::min(status.TotalPageFile, (std::min(available, total) + memory.Lookup("SwapFree")) * 1024);
    if (wanted == MemoryFigures::WithoutVirtual) return;

    const auto limit = AddressSpaceLimit(ReadKernelFile(files_, limits_));
    status.TotalVirtual = limit ? std::min(*limit, UserAddressSpace()) : UserAddressSpace();
    const uint64_t used = Kilobytes(ReadKernelFile(files_, status_)).Lookup("VmSize") * 1024;
    status.AvailVirtual = used < status.TotalVirtual ? status.TotalVirtual - used : 0;
}

MemoryStatus& SystemMemoryStatus()
{
    static MemoryStatusLinux source;
    return source;
}

}  // namespace dotvane::platform
