#pragma once

#include <string>
#include <string_view>

namespace dotvane::platform {

// The program's text, one byte a character, is Latin-1 on Linux and the
// ANSI code page on Windows. These carry it to and from the libraries that
// speak Unicode (the window's status line and message boxes, the fonts of
// font texts).

// The text in UTF-8.
std::string Utf8FromProgramText(std::string_view text);

// UTF-8 as program text; a character the program's text has no byte for
// becomes its closest ASCII spelling or "?".
std::string ProgramTextFromUtf8(std::string_view utf8);

// UTF-16 as program text, as the system turns it into its one-byte text:
// each character the program's text has becomes its byte; on Linux every
// other one is spelt as in UTF-8 text (ProgramTextFromUtf8); on Windows it
// becomes the ANSI code page's character, or "?" where it has none. A lone
// surrogate becomes "?".
std::string ProgramTextFromUtf16(std::u16string_view utf16);

}  // namespace dotvane::platform
