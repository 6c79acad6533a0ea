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

// A file of /proc or /sys held open from one read to the next. The kernel
// makes such a file's text anew whenever it is read from its start, so a
// held file is read again with one positioned read, without the path
// lookup, open and close that cost more than the read itself. Files on any
// other file system are never held: one on disk may be replaced, and a held
// descriptor would go on reading the old file.
class HeldFile {
public:
    HeldFile() = default;
    ~HeldFile();
    HeldFile(HeldFile&& other) noexcept;
    HeldFile& operator=(HeldFile&& other) noexcept;
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    bool IsHeld() const { return fd_ >= 0; }
    void Release();

private:
    friend FileStatus ReadRegularFileInto(const std::filesystem::path& file, HeldFile& held, bool mayHold,
                                          size_t limit, std::string& buffer, size_t& length);
    int fd_ = -1;
};

// ReadRegularFileInto through `held`: a held file is read again where it is
// open; otherwise the file is opened by its name and, when `mayHold` and it
// is a kernel file that could be read, kept open in `held`. A held file that
// can no longer be read (its device went away) is let go and looked up by
// its name again.
FileStatus ReadRegularFileInto(const std::filesystem::path& file, HeldFile& held, bool mayHold, size_t limit,
                               std::string& buffer, size_t& length);

}  // namespace dotvane::platform
