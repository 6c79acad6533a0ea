#pragma once

#include "platform/linux/KernelFileSnapshot.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

namespace dotvane::platform {

// Readers for the one-value text files of /sys and /proc that the power,
// memory, uptime and disk sources take their figures from, read through a
// snapshot (a line stays valid as long as the snapshot's views do).

// How far into a file its first line is looked for.
inline constexpr size_t kFirstLineLimit = 64 * 1024;

// The first line of the file without its line end; nothing when it cannot
// be read, is no regular file, or its first line is longer than
// kFirstLineLimit.
std::optional<std::string_view> ReadFirstLine(KernelFileSnapshot& files, const std::filesystem::path& file);

// The whole decimal number (optional sign, surrounding blanks allowed) that
// the first line of the file holds; nothing when it holds anything else.
std::optional<int64_t> ReadInteger(KernelFileSnapshot& files, const std::filesystem::path& file);

}  // namespace dotvane::platform
