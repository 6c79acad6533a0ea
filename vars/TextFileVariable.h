#pragma once

#include <string>
#include <string_view>

namespace dotvane {

// "textfile(file,n)": line n (from 1) of the file, read anew on every call.
// "error" when the argument has no file part or no comma; empty when the
// file cannot be read, n <= 0, or the file has fewer than n lines. The file
// name may be written Windows-style with backslashes.
std::string TextFileVariable(std::string_view name);

}  // namespace dotvane
