#include "platform/linux/KernelFiles.h"

#include <charconv>

namespace dotvane::platform {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::optional<std::string_view> ReadKernelFile(KernelFileSnapshot& files, const std::filesystem::path& file)
{
    const FileView view = files.Read(file, kKernelFileLimit);
    if (view.status != FileStatus::Ok) return std::nullopt;
    return view.bytes;
}

std::optional<double> ReadKernelNumber(KernelFileSnapshot& files, const std::filesystem::path& file)
{
    const auto text = ReadKernelFile(files, file);
    if (!text) return std::nullopt;
    return ParseLeadingNumber(*text);
}

std::optional<double> ParseLeadingNumber(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i < text.size() && text[i] == '+') ++i;
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data() + i, text.data() + text.size(), value);
    if (ec != std::errc{}) return std::nullopt;
    return value;
}

std::vector<std::string_view> SplitFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsBlank(line[i])) ++i;
        const size_t start = i;
        while (i < line.size() && !IsBlank(line[i])) ++i;
        if (i > start) fields.push_back(line.substr(start, i - start));
    }
    return fields;
}

std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r')) line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

std::vector<CpuTimes> ReadCpuTimes(KernelFileSnapshot& files, const std::filesystem::path& procRoot)
{
    std::vector<CpuTimes> result;
    const auto text = ReadKernelFile(files, procRoot / "stat");
    if (!text) return result;
    for (std::string_view line : SplitLines(*text)) {
        // Only "cpu" lines are split into their fields; the others, such as
        // the interrupt counts, run to hundreds of fields.
        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string_view::npos || line.compare(first, 3, "cpu") != 0) continue;
        const auto fields = SplitFields(line);
        if (fields.empty() || !fields[0].starts_with("cpu")) continue;
        CpuTimes times;
        const std::string_view id = fields[0].substr(3);
        if (!id.empty()) {
            const auto [end, ec] = std::from_chars(id.data(), id.data() + id.size(), times.cpu);
            if (ec != std::errc{} || end != id.data() + id.size() || times.cpu < 0) continue;
        }
        // user nice system idle iowait irq softirq steal; the guest times
        // that may follow are already part of user and nice.
        uint64_t ticks[8] = {};
        for (size_t k = 0; k < 8 && k + 1 < fields.size(); ++k)
            std::from_chars(fields[k + 1].data(), fields[k + 1].data() + fields[k + 1].size(), ticks[k]);
        for (uint64_t t : ticks) times.total += t;
        const uint64_t idle = ticks[3] + ticks[4];
        times.busy = times.total >= idle ? times.total - idle : 0;
        result.push_back(times);
    }
    return result;
}

double BusyPercent(const CpuTimes& before, const CpuTimes& after)
{
    // Counters only grow; a processor that went offline and came back may
    // restart them, which reads as no time passed.
    if (after.total <= before.total || after.busy < before.busy) return 0;
    const double busy = static_cast<double>(after.busy - before.busy);
    const double total = static_cast<double>(after.total - before.total);
    return busy >= total ? 100.0 : busy * 100.0 / total;
}

}  // namespace dotvane::platform
