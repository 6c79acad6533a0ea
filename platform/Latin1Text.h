#pragma once

#include <string>
#include <string_view>

namespace dotvane::platform {

// The program's text is one byte per character, in Latin-1: the printable
// part of the Windows code page that its displays and fonts show, so that
// one character takes one display cell. These turn text from the sources
// that speak another encoding into that form where it enters the program.

// Text that a Linux source gives in UTF-8: a player's title, the computer's
// name, the date and time texts of the locale. A character of Latin-1 becomes
// its own byte; a character outside it becomes its closest ASCII spelling
// where there is an obvious one (ő gives o, Œ gives OE, – gives -, “ gives ",
// … gives ...), disappears when it is invisible (zero-width and direction
// marks, variation selectors), and becomes "?" otherwise (Greek, Cyrillic,
// CJK, emoji). A combining accent joins the letter before it when Latin-1
// has the accented letter, and is dropped otherwise. Every malformed piece
// of UTF-8 (a stray continuation byte, an overlong form, a surrogate, a
// truncated sequence, a byte that never occurs in UTF-8) becomes one "?".
std::string Latin1FromUtf8(std::string_view utf8);

// UTF-16 text, as a settings file saved on Windows as "Unicode" holds it:
// each character as above; a surrogate without its partner becomes "?".
std::string Latin1FromUtf16(std::u16string_view utf16);

// The bytes of a file: converted as above when the whole text is valid
// UTF-8, and taken as Latin-1 as they stand otherwise, so that a file written
// on Windows (where "Bj\xF6rk" is not valid UTF-8) keeps its characters.
std::string Latin1FromFileBytes(std::string_view bytes);

// Latin-1 text written in UTF-8, each byte from 0x80 on as its two bytes:
// for the places that speak UTF-8, the file names of Linux among them.
std::string Utf8FromLatin1(std::string_view latin1);

// Whether the bytes are well-formed UTF-8 from end to end.
bool IsValidUtf8(std::string_view bytes);

// Text in the character set `codeset`, named as nl_langinfo(CODESET) names
// it: UTF-8 is converted as above, Latin-1 is kept, and in any other set each
// byte outside ASCII becomes "?".
std::string Latin1FromCodeset(std::string_view text, std::string_view codeset);

}  // namespace dotvane::platform
