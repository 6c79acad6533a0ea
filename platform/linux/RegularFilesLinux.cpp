#include "platform/RegularFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace dotvane::platform {
namespace {

constexpr size_t kChunk = 64 * 1024;

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

FileContents ReadRegularFile(const std::filesystem::path& file, size_t limit)
{
    FileContents result;
    // A look before the open keeps devices from being opened at all; the
    // look at the open file below decides.
    struct stat info{};
    if (::stat(file.c_str(), &info) != 0) {
        result.status = StatusOfOpenError(errno);
        return result;
    }
    if (!S_ISREG(info.st_mode)) {
        result.status = FileStatus::NotRegular;
        return result;
    }
    const Descriptor fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.Get() < 0) {
        result.status = StatusOfOpenError(errno);
        return result;
    }
    if (::fstat(fd.Get(), &info) != 0) {
        result.status = FileStatus::ReadError;
        return result;
    }
    if (!S_ISREG(info.st_mode)) {
        result.status = FileStatus::NotRegular;
        return result;
    }

    // One byte beyond the limit tells a file of exactly the limit from a
    // longer one.
    const size_t wanted = limit + (limit < SIZE_MAX ? 1 : 0);
    std::string& bytes = result.bytes;
    if (info.st_size > 0) bytes.reserve(std::min(wanted, static_cast<size_t>(info.st_size) + 1));
    while (bytes.size() < wanted) {
        const size_t start = bytes.size();
        const size_t chunk = std::min(kChunk, wanted - start);
        bytes.resize(start + chunk);
        const ssize_t got = ::read(fd.Get(), bytes.data() + start, chunk);
        if (got < 0) {
            bytes.resize(start);
            if (errno == EINTR) continue;
            bytes.clear();
            result.status = FileStatus::ReadError;
            return result;
        }
        bytes.resize(start + static_cast<size_t>(got));
        if (got == 0) break;
    }
    if (bytes.size() > limit) {
        bytes.resize(limit);
        result.status = FileStatus::TooLarge;
    } else {
        result.status = FileStatus::Ok;
    }
    return result;
}

}  // namespace dotvane::platform
