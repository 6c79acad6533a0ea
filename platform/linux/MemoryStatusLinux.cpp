#include "platform/linux/MemoryStatusLinux.h"

#include "platform/linux/KernelFiles.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <optional>
#include <string>
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

// The "Key: value kB" lines of meminfo and status, as kilobytes by key.
std::map<std::string, uint64_t, std::less<>> ReadKilobytes(const std::filesystem::path& file)
{
    std::map<std::string, uint64_t, std::less<>> values;
    const auto text = ReadKernelFile(file);
    if (!text) return values;
    for (std::string_view line : SplitLines(*text)) {
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        if (const auto value = LeadingNumber(line.substr(colon + 1))) values.emplace(line.substr(0, colon), *value);
    }
    return values;
}

// The soft address-space limit of limits ("Max address space  <soft>
// <hard>  bytes"); nothing when unlimited or unreadable.
std::optional<uint64_t> AddressSpaceLimit(const std::filesystem::path& file)
{
    constexpr std::string_view kName = "Max address space";
    const auto text = ReadKernelFile(file);
    if (!text) return std::nullopt;
    for (std::string_view line : SplitLines(*text))
        if (line.starts_with(kName)) return LeadingNumber(line.substr(kName.size()));
    return std::nullopt;
}

uint64_t Lookup(const std::map<std::string, uint64_t, std::less<>>& values, std::string_view key)
{
    const auto it = values.find(key);
    return it == values.end() ? 0 : it->second;
}

}  // namespace

MemoryStatusLinux::MemoryStatusLinux(std::filesystem::path procRoot) : proc_(std::move(procRoot)) {}

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

void MemoryStatusLinux::GlobalMemoryStatus(MemoryStatusRecord& status)
{
    status = MemoryStatusRecord{};
    const auto memory = ReadKilobytes(proc_ / "meminfo");
    const uint64_t total = Lookup(memory, "MemTotal");
    // Kernels before 3.14 have no MemAvailable; free memory and the caches
    // it could drop come closest.
    const uint64_t available = memory.contains("MemAvailable")
                                   ? Lookup(memory, "MemAvailable")
                                   : Lookup(memory, "MemFree") + Lookup(memory, "Buffers") + Lookup(memory, "Cached");
    status.TotalPhys = total * 1024;
    status.AvailPhys = std::min(available, total) * 1024;
    if (total > 0)
        status.MemoryLoad = static_cast<uint32_t>(std::llround(100.0 * static_cast<double>(total - std::min(available, total)) / static_cast<double>(total)));
    status.TotalPageFile = (total + Lookup(memory, "SwapTotal")) * 1024;
    status.AvailPageFile = std::min(status.TotalPageFile, (std::min(available, total) + Lookup(memory, "SwapFree")) * 1024);

    const auto limit = AddressSpaceLimit(proc_ / "self" / "limits");
    status.TotalVirtual = limit ? std::min(*limit, UserAddressSpace()) : UserAddressSpace();
    const uint64_t used = Lookup(ReadKilobytes(proc_ / "self" / "status"), "VmSize") * 1024;
    status.AvailVirtual = used < status.TotalVirtual ? status.TotalVirtual - used : 0;
}

MemoryStatus& SystemMemoryStatus()
{
    static MemoryStatusLinux source;
    return source;
}

}  // namespace dotvane::platform
