#include "platform/ProgramText.h"

#include "platform/Latin1Text.h"

namespace dotvane::platform {

std::string Utf8FromProgramText(std::string_view text) { return Utf8FromLatin1(text); }

std::string ProgramTextFromUtf8(std::string_view utf8) { return Latin1FromUtf8(utf8); }

std::string ProgramTextFromUtf16(std::u16string_view utf16) { return Latin1FromUtf16(utf16); }

}  // namespace dotvane::platform
