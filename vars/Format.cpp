#include "vars/Format.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace dotvane {

std::string FormatSigned(int64_t value) { return std::to_string(value); }

std::string FormatUnsigned(uint64_t value) { return std::to_string(value); }

std::string FormatGeneral(double value, int precision)
{
    // Digits beyond 40 only spell out the binary value further; the buffer
    // holds the longest result of that precision.
    if (precision <= 0) precision = 6;
    precision = std::min(precision, 40);
    char buffer[128];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, precision);
    if (ec != std::errc{}) return {};
    return std::string(buffer, end);
}

std::string PadLeft(std::string text, size_t width)
{
    if (text.size() < width) text.insert(0, width - text.size(), ' ');
    return text;
}

std::string PadRight(std::string text, size_t width)
{
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
}

std::string ZeroFill(std::string text, size_t width)
{
    if (text.size() < width) text.insert(0, width - text.size(), '0');
    return text;
}

int32_t ReadWholeNumber(std::string_view text)
{
    size_t i = 0;
    auto isSpace = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (i < text.size() && isSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    int64_t value = 0;
    constexpr int64_t kCap = int64_t{1} << 32;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min(kCap, value * 10 + (text[i] - '0'));
    if (negative) value = -value;
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                     std::numeric_limits<int32_t>::max()));
}

std::optional<std::string_view> VariableArgument(std::string_view name)
{
    const size_t open = name.find('(');
    const size_t start = open == std::string_view::npos ? 0 : open + 1;
    const size_t close = name.find(')', start);
    if (close == std::string_view::npos) return std::nullopt;
    return name.substr(start, close - start);
}

}  // namespace dotvane
