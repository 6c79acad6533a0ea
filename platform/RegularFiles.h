#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace dotvane::platform {

// What reading a file found.
enum class FileStatus {
    // The whole file was read.
    Ok,
    // Nothing is there by that name.
    Missing,
    // A folder, FIFO, device or socket: it is never read.
    NotRegular,
    // The file holds more than the limit; the first `limit` bytes were read.
    TooLarge,
    // The file is there but could not be opened or read.
    ReadError,
};

struct FileContents {
    FileStatus status = FileStatus::Missing;
    // What was read: the whole file when Ok, its first `limit` bytes when
    // TooLarge, nothing otherwise.
    std::string bytes;
};

// Reads a regular file of at most `limit` bytes. The open never waits (a
// FIFO without a writer, a device), and anything but a regular file is
// refused before a byte is read. The size the system reports is not trusted:
// the bytes are read until the end of the file or until one more than the
// limit has arrived, so kernel files that report no size are read whole,
// and a file that grows while it is read stops at the limit. A name holding
// a NUL names no file (Missing).
FileContents ReadRegularFile(const std::filesystem::path& file, size_t limit);

}  // namespace dotvane::platform
