#pragma once

#include "platform/RegularFiles.h"

#include <cstddef>
#include <filesystem>
#include <string>

namespace dotvane::platform {

// ReadRegularFile into a buffer that the caller keeps from one read to the
// next, with the same guarantees: no open that waits, nothing but a regular
// file read, at most `limit` bytes kept. The buffer only grows, and only
// when a file does not fit, so reading the same small files again and again
// allocates and clears nothing. Its first `length` bytes are what was read
// (the whole file when Ok, the first `limit` bytes when TooLarge, nothing
// otherwise); the rest of it is left as it was.
FileStatus ReadRegularFileInto(const std::filesystem::path& file, size_t limit, std::string& buffer,
                               size_t& length);

}  // namespace dotvane::platform
