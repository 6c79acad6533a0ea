#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace dotvane::platform {

// Readers for the one-value text files of /sys and /proc that the power,
// memory, uptime and disk sources take their figures from.

// The first line of the file without its line end; nothing when it cannot
// be read.
std::optional<std::string> ReadFirstLine(const std::filesystem::path& file);

// The whole decimal number (optional sign, surrounding blanks allowed) that
// the first line of the file holds; nothing when it holds anything else.
std::optional<int64_t> ReadInteger(const std::filesystem::path& file);

}  // namespace dotvane::platform
