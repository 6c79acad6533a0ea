#include "platform/ProgramText.h"

#include "platform/Latin1Text.h"

namespace dotvane::platform {

std::string Utf8FromProgramText(std::string_view text) { return Utf8FromLatin1(text); }

std::string ProgramTextFromUtf8(std::string_view utf8) { return Latin1FromUtf8(utf8); }

std::string ProgramTextFromUtf16(std::u16string_view utf16)
{
    std::string text;
    text.reserve(utf16.size());
    for (size_t i = 0; i < utf16.size(); ++i) {
        const char16_t unit = utf16[i];
        if (unit <= 0xFF) {
            text += static_cast<char>(unit);
            continue;
        }
        // A high surrogate followed by a low one is one character.
        const bool high = unit >= 0xD800 && unit <= 0xDBFF;
        if (high && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) ++i;
        text += '?';
    }
    return text;
}

}  // namespace dotvane::platform
