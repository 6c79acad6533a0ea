#pragma once

#include <string>
#include <string_view>

namespace dotvane::test {

// A text file as Windows Notepad saves "Unicode": a byte-order mark, then
// UTF-16, little-endian or big-endian.
inline std::string Utf16File(std::u16string_view text, bool bigEndian)
{
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : text)
        bytes += bigEndian ? std::string{char(unit >> 8), char(unit)} : std::string{char(unit), char(unit >> 8)};
    return bytes;
}

}  // namespace dotvane::test
