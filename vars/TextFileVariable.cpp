#include "vars/TextFileVariable.h"

#include "platform/FileNames.h"
#include "vars/Format.h"

#include <fstream>

namespace dotvane {

std::string TextFileVariable(std::string_view name)
{
    const size_t open = name.find('(');
    const size_t start = open == std::string_view::npos ? 0 : open + 1;
    const size_t comma = name.find(',', start);
    if (comma == std::string_view::npos || comma == start) return "error";
    const std::string_view file = name.substr(start, comma - start);
    const size_t close = name.find(')', comma);
    const std::string_view number =
        name.substr(comma + 1, close == std::string_view::npos ? std::string_view::npos : close - comma - 1);

    std::ifstream in(platform::NativePath(file), std::ios::binary);
    if (!in) return {};
    const int32_t wanted = ReadWholeNumber(number);
    std::string line;
    for (int32_t read = 0; read < wanted; ++read)
        if (!std::getline(in, line)) return {};
    if (wanted <= 0) return {};
    // Files written on Windows end their lines with CR LF; reading them as
    // text drops both.
    if (line.ends_with('\r')) line.pop_back();
    return line;
}

}  // namespace dotvane
