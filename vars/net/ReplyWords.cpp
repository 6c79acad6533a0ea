#include "vars/net/ReplyWords.h"

#include <algorithm>
#include <charconv>

namespace dotvane {

std::string_view WithoutLineEnd(std::string_view line)
{
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
    return line;
}

std::string_view Word(std::string_view line, size_t index)
{
    line = WithoutLineEnd(line);
    size_t start = 0;
    for (size_t n = 0;; ++n) {
        start = line.find_first_not_of(' ', start);
        if (start == std::string_view::npos) return {};
        const size_t end = std::min(line.find(' ', start), line.size());
        if (n == index) return line.substr(start, end - start);
        start = end;
    }
}

int32_t PlainInteger(std::string_view word)
{
    // An optional sign, then nothing but digits.
    std::string_view digits = word;
    if (digits.starts_with('+') || digits.starts_with('-')) digits.remove_prefix(1);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) return 0;
    // from_chars takes a "-" but not a "+".
    if (word.starts_with('+')) word.remove_prefix(1);
    int32_t value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    return error == std::errc() && end == word.data() + word.size() ? value : 0;
}

}  // namespace dotvane
