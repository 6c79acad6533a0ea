#include "platform/linux/SysFiles.h"

#include <charconv>
#include <fstream>

namespace dotvane::platform {

std::optional<std::string> ReadFirstLine(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::string line;
    if (!in || !std::getline(in, line)) return std::nullopt;
    if (line.ends_with('\r')) line.pop_back();
    return line;
}

std::optional<int64_t> ReadInteger(const std::filesystem::path& file)
{
    const auto line = ReadFirstLine(file);
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
