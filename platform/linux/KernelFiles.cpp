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
    for (std::string_view field; TakeField(line, field);) fields.push_back(field);
    return fields;
}

std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    for (std::string_view line; TakeLine(text, line);) lines.push_back(line);
    return lines;
}

bool TakeLine(std::string_view& rest, std::string_view& line)
{
    if (rest.empty()) return false;
    const size_t end = rest.find('\n');
    line = rest.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    return true;
}

bool TakeField(std::string_view& rest, std::string_view& field)
{
    size_t i = 0;
    while (i < rest.size() && IsBlank(rest[i])) ++i;
    const size_t start = i;
    while (i < rest.size() && !IsBlank(rest[i])) ++i;
    field = rest.substr(start, i - start);
    rest.remove_prefix(i);
    return !field.empty();
}

void ReadCpuTimesInto(KernelFileSnapshot& files, const std::filesystem::path& statFile, std::vector<CpuTimes>& result)
{
    result.clear();
    const auto text = ReadKernelFile(files, statFile);
    if (!text) return;
    std::string_view rest = *text;
    for (std::string_view line; TakeLine(rest, line);) {
        // Only "cpu" lines are split into their fields; the others, such as
        // the interrupt counts, run to hundreds of fields.
        std::string_view name;
        if (!TakeField(line, name) || !name.starts_with("cpu")) continue;
        CpuTimes times;
        const std::string_view id = name.substr(3);
        if (!id.empty()) {
            const auto [end, ec] = std::from_chars(id.data(), id.data() + id.size(), times.cpu);
            if (ec != std::errc{} || end != id.data() + id.size() || times.cpu < 0) continue;
        }
        // user nice system idle iowait irq softirq steal; the guest times
        // that may follow are already part of user and nice.
        uint64_t ticks[8] = {};
        std::string_view field;
        for (size_t k = 0; k < 8 && TakeField(line, field); ++k)
            std::from_chars(field.data(), field.data() + field.size(), ticks[k]);
        for (uint64_t t : ticks) times.total += t;
        const uint64_t idle = ticks[3] + ticks[4];
        times.busy = times.total >= idle ? times.total - idle : 0;
        result.push_back(times);
    }
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
