#include "platform/linux/RegularFilesLinux.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <utility>

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
    int Take() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

// Opens a regular file without waiting. When Ok, `fd` is the open file,
// which the caller closes, and `reported` the size the system tells (0 for
// kernel files).
FileStatus OpenRegular(const std::filesystem::path& file, int& fd, size_t& reported)
{
    // The system would take a name holding a NUL as the part before it.
    if (file.native().find('\0') != std::string::npos) return FileStatus::Missing;
    // A look before the open keeps devices from being opened at all; the
    // look at the open file below decides.
    struct stat info{};
    if (::stat(file.c_str(), &info) != 0) return StatusOfOpenError(errno);
    if (!S_ISREG(info.st_mode)) return FileStatus::NotRegular;
    Descriptor opened(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (opened.Get() < 0) return StatusOfOpenError(errno);
    if (::fstat(opened.Get(), &info) != 0) return FileStatus::ReadError;
    if (!S_ISREG(info.st_mode)) return FileStatus::NotRegular;
    reported = info.st_size > 0 ? static_cast<size_t>(info.st_size) : 0;
    fd = opened.Take();
    return FileStatus::Ok;
}

// Reads an open file from its start: with read() on a file just opened,
// with positioned reads on a held one, whose offset is wherever the last
// read left it.
FileStatus ReadFromStart(int fd, bool positioned, size_t reported, size_t limit, std::string& buffer,
                         size_t& length)
{
    length = 0;
    // One byte beyond the limit tells a file of exactly the limit from a
    // longer one. The size the system reports only sizes the first room:
    // kernel files report none, and any file may grow while it is read.
    const size_t wanted = limit + (limit < SIZE_MAX ? 1 : 0);
    const size_t room = std::min(wanted, reported > 0 ? reported + 1 : kFirstRoom);
    if (buffer.size() < room) buffer.resize(room);
    while (length < wanted) {
        if (length == buffer.size()) buffer.resize(std::min(wanted, buffer.size() * 2));
        const size_t chunk = std::min(buffer.size(), wanted) - length;
        const ssize_t got = positioned ? ::pread(fd, buffer.data() + length, chunk, static_cast<off_t>(length))
                                       : ::read(fd, buffer.data() + length, chunk);
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

bool IsKernelFile(int fd)
{
    struct statfs system{};
    if (::fstatfs(fd, &system) != 0) return false;
    return system.f_type == PROC_SUPER_MAGIC || system.f_type == SYSFS_MAGIC;
}

}  // namespace

FileStatus ReadRegularFileInto(const std::filesystem::path& file, size_t limit, std::string& buffer, size_t& length)
{
    length = 0;
    int opened = -1;
    size_t reported = 0;
    const FileStatus status = OpenRegular(file, opened, reported);
    if (status != FileStatus::Ok) return status;
    const Descriptor fd(opened);
    return ReadFromStart(fd.Get(), false, reported, limit, buffer, length);
}

HeldFile::~HeldFile() { Release(); }

HeldFile::HeldFile(HeldFile&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

HeldFile& HeldFile::operator=(HeldFile&& other) noexcept
{
    if (this != &other) {
        Release();
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

void HeldFile::Release()
{
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

FileStatus ReadRegularFileInto(const std::filesystem::path& file, HeldFile& held, bool mayHold, size_t limit,
                               std::string& buffer, size_t& length)
{
    if (held.IsHeld()) {
        const FileStatus status = ReadFromStart(held.fd_, true, 0, limit, buffer, length);
        if (status != FileStatus::ReadError) return status;
        held.Release();
    }
    length = 0;
    int opened = -1;
    size_t reported = 0;
    const FileStatus found = OpenRegular(file, opened, reported);
    if (found != FileStatus::Ok) return found;
    Descriptor fd(opened);
    const FileStatus status = ReadFromStart(fd.Get(), false, reported, limit, buffer, length);
    if (mayHold && status != FileStatus::ReadError && IsKernelFile(fd.Get())) held.fd_ = fd.Take();
    return status;
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
