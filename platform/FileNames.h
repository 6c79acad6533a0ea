#pragma once

#include <filesystem>
#include <string_view>

namespace dotvane::platform {

// Turns a file name as users write it in the settings ("screens\default.ini",
// "images\play.bmp", "C:\data\x.txt") into a path this system can open.
// On Linux a backslash is a path separator, and when the name does not exist
// as written, each part is matched without regard to case, as it would be on
// the system these files come from. Relative names stay relative, so they
// resolve against the process's current directory.
std::filesystem::path NativePath(std::string_view name);

// The folder of the running executable, with a trailing separator.
std::string ProgramFolder();

}  // namespace dotvane::platform
