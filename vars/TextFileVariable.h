#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace dotvane {

// What one "textfile" reference may read: lines of a few kilobytes, up to
// line 10000, within the first megabyte of the file.
inline constexpr size_t kTextFileLineLimit = 4096;
inline constexpr int32_t kTextFileLineCount = 10000;
inline constexpr size_t kTextFileReadLimit = 1024 * 1024;

// "textfile(file,n)": line n (from 1) of the file, read anew on every call,
// as program text: UTF-8 when the line is valid UTF-8, Latin-1 otherwise.
// "error" when the argument has no file part or no comma; empty when the
// file cannot be read or is no regular file, n <= 0, or the file has fewer
// than n lines. Also empty, as for a file that cannot be read, when n is
// above kTextFileLineCount, when one of the lines up to n is longer than
// kTextFileLineLimit bytes, or when they do not all lie within the first
// kTextFileReadLimit bytes. The file name may be written Windows-style with
// backslashes.
std::string TextFileVariable(std::string_view name);

}  // namespace dotvane
