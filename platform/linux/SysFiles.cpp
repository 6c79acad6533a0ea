#include "platform/linux/SysFiles.h"

#include <charconv>

namespace dotvane::platform {

std::optional<std::string_view> ReadFirstLine(KernelFileSnapshot& files, const std::filesystem::path& file)
{
    const FileView contents = files.Read(file, kFirstLineLimit);
    if (contents.status != FileStatus::Ok && contents.status != FileStatus::TooLarge) return std::nullopt;
    const std::string_view text = contents.bytes;
    const size_t end = text.find('\n');
    // A first line that runs on beyond the limit is no value of these files.
    if (text.empty() || (end == std::string_view::npos && contents.status == FileStatus::TooLarge))
        return std::nullopt;
    std::string_view line = text.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    return line;
}

std::optional<int64_t> ReadInteger(KernelFileSnapshot& files, const std::filesystem::path& file)
{
    const auto line = ReadFirstLine(files, file);
    if (!line) return std::nullopt;
    const char* begin = line->data();
    const char* end = begin + line->size();
    while (begin < end && (*begin == ' ' || *begin == '\t')) ++begin;
    while (end > begin && (end[-1] == ' ' || end[-1] == '\t')) --end;
    if (begin < end && *begin == '+') ++begin;
    int64_t value = 0;
    const auto [stop, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc{} || stop != end) return std::nullopt;
    return value;
}

}  // namespace dotvane::platform
