#include "platform/linux/RegularFilesLinux.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

namespace dotvane::platform {
namespace {

// The first room given to a file whose size the system does not tell, as
// for the files of /proc; most of them fit.
constexpr size_t kFirstRoom = 4096;

FileStatus StatusOfOpenError(int error)
{
    return error == ENOENT || error == ENOTDIR ? FileStatus::Missing : FileStatus::ReadError;
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
};

}  // namespace

FileStatus ReadRegularFileInto(const std::filesystem::path& file, size_t limit, std::string& buffer, size_t& length)
{
    length = 0;
    // A look before the open keeps devices from being opened at all; the
    // look at the open file below decides.
    struct stat info{};
    if (::stat(file.c_str(), &info) != 0) return StatusOfOpenError(errno);
    if (!S_ISREG(info.st_mode)) return FileStatus::NotRegular;
    const Descriptor fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.Get() < 0) return StatusOfOpenError(errno);
    if (::fstat(fd.Get(), &info) != 0) return FileStatus::ReadError;
    if (!S_ISREG(info.st_mode)) return FileStatus::NotRegular;

    // One byte beyond the limit tells a file of exactly the limit from a
    // longer one. The size the system reports only sizes the first room:
    // kernel files report none, and any file may grow while it is read.
    const size_t wanted = limit + (limit < SIZE_MAX ? 1 : 0);
    const size_t reported = info.st_size > 0 ? static_cast<size_t>(info.st_size) + 1 : kFirstRoom;
    const size_t room = std::min(wanted, reported);
    if (buffer.size() < room) buffer.resize(room);
    while (length < wanted) {
        if (length == buffer.size()) buffer.resize(std::min(wanted, buffer.size() * 2));
        const size_t chunk = std::min(buffer.size(), wanted) - length;
        const ssize_t got = ::read(fd.Get(), buffer.data() + length, chunk);
        if (got < 0) {
            if (errno == EINTR) continue;
            length = 0;
            return FileStatus::ReadError;
        }
        if (got == 0) break;
        length += static_cast<size_t>(got);
    }
    if (length > limit) {
        length = limit;
        return FileStatus::TooLarge;
    }
    return FileStatus::Ok;
}

FileContents ReadRegularFile(const std::filesystem::path& file, size_t limit)
{
    FileContents result;
    size_t length = 0;
    result.status = ReadRegularFileInto(file, limit, result.bytes, length);
    result.bytes.resize(length);
    return result;
}

}  // namespace dotvane::platform
