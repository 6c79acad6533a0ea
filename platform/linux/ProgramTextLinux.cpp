#include "platform/ProgramText.h"

#include "platform/Latin1Text.h"

namespace dotvane::platform {

std::string Utf8FromProgramText(std::string_view text) { return Utf8FromLatin1(text); }

std::string ProgramTextFromUtf8(std::string_view utf8) { return Latin1FromUtf8(utf8); }

// UTF-16 becomes UTF-8 first, so that a character outside Latin-1 is
// spelt as it is in a UTF-8 file (\u0151 as o, \u2013 as -); a surrogate
// without its partner becomes U+FFFD, which shows as "?".
std::string ProgramTextFromUtf16(std::u16string_view utf16)
{
    std::string utf8;
    utf8.reserve(utf16.size());
    for (size_t i = 0; i < utf16.size(); ++i) {
        char32_t code = utf16[i];
        if (code >= 0xD800 && code <= 0xDFFF) {
            const bool paired = code <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF;
            code = paired ? 0x10000 + ((code - 0xD800) << 10) + (utf16[++i] - 0xDC00) : 0xFFFD;
        }
        if (code < 0x80) {
            utf8 += static_cast<char>(code);
        } else if (code < 0x800) {
            utf8 += static_cast<char>(0xC0 | (code >> 6));
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            utf8 += static_cast<char>(0xE0 | (code >> 12));
            utf8 += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            utf8 += static_cast<char>(0xF0 | (code >> 18));
            utf8 += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            utf8 += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return Latin1FromUtf8(utf8);
}

}  // namespace dotvane::platform
