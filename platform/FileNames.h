#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace dotvane::platform {

// Turns a file name as users write it in the settings ("screens\default.ini",
// "images\play.bmp", "C:\data\x.txt"), which is program text, into a path
// this system can open. Relative names stay relative, so they resolve
// against the process's current directory.
//
// On Linux a backslash is a path separator, and the name is spelt in UTF-8,
// the file system's encoding: the ö of "images\Björk.bmp", one byte in the
// program's text, is two in the name of the file it opens. A part that does
// not exist so is taken as its bytes stand where that exists: a name written
// in Latin-1 on the disk, or the program's folder as the system gave it
// ahead of a name from the settings. Failing both, the part is matched
// against the entries of its folder without regard to case, as it would be
// on the system these files come from, each entry's name read as program
// text; the match is taken when it is the only one. On Windows the name is
// text in the ANSI code page and opens as it stands. A name holding a NUL
// names no file: it gives the empty path.
std::filesystem::path NativePath(std::string_view name);

// A path as program text, for messages that name it.
std::string ShownName(const std::filesystem::path& path);

// The folder of the running executable, with a trailing separator.
std::string ProgramFolder();

}  // namespace dotvane::platform
