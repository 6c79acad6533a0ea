#include "vars/TextFileVariable.h"

#include "platform/FileNames.h"
#include "platform/Latin1Text.h"
#include "platform/RegularFiles.h"
#include "vars/Format.h"

#include <algorithm>

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

    const int32_t wanted = ReadWholeNumber(number);
    if (wanted <= 0 || wanted > kTextFileLineCount) return {};
    // Enough for n lines of the longest length with their CR LF, and no more.
    const size_t limit = std::min(kTextFileReadLimit, static_cast<size_t>(wanted) * (kTextFileLineLimit + 2));
    const platform::FileContents contents = platform::ReadRegularFile(platform::NativePath(file), limit);
    if (contents.status != platform::FileStatus::Ok && contents.status != platform::FileStatus::TooLarge) return {};
    const bool whole = contents.status == platform::FileStatus::Ok;

    std::string_view text = contents.bytes;
    std::string_view line;
    for (int32_t read = 0; read < wanted; ++read) {
        if (text.empty() && whole) return {};  // fewer than n lines
        const size_t end = text.find('\n');
        if (end == std::string_view::npos) {
            // A last line without a line end, unless the line goes on
            // beyond what may be read.
            if (!whole) return {};
            line = text;
            text = {};
        } else {
            line = text.substr(0, end);
            text.remove_prefix(end + 1);
        }
        // Files written on Windows end their lines with CR LF.
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line.size() > kTextFileLineLimit) return {};
    }
    // Each line is read as UTF-8 when it is valid UTF-8 and as Latin-1
    // otherwise: a line is whole where the bytes read may end inside a
    // character, and a file that other programs append to may hold both.
    return platform::Latin1FromFileBytes(line);
}

}  // namespace dotvane
