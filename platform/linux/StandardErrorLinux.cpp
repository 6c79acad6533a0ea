#include "platform/linux/StandardErrorLinux.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace dotvane::platform {

StandardErrorLinux::StandardErrorLinux(int descriptor)
{
    struct stat status {};
    if (fstat(descriptor, &status) != 0) return;
    if (S_ISSOCK(status.st_mode)) {
        descriptor_ = descriptor;
        way_ = Way::Send;
        return;
    }
    if (S_ISFIFO(status.st_mode) || S_ISCHR(status.st_mode)) {
        // A description of the program's own: making the shared one
        // non-blocking would surprise every other process that writes to
        // it, such as the shell on the same terminal.
        const std::string path = "/proc/self/fd/" + std::to_string(descriptor);
        const int own = open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (own >= 0) {
            descriptor_ = own;
            ownDescriptor_ = true;
            way_ = Way::Write;
            return;
        }
        // A pipe whose reader has gone cannot be opened for writing.
        if (errno == ENXIO) return;
        descriptor_ = descriptor;
        way_ = Way::PollThenWrite;
        return;
    }
    descriptor_ = descriptor;
    way_ = Way::Write;
}

StandardErrorLinux::~StandardErrorLinux() { Close(); }

void StandardErrorLinux::Close()
{
    if (ownDescriptor_) close(descriptor_);
    descriptor_ = -1;
    ownDescriptor_ = false;
    way_ = Way::None;
}

ErrorOutput StandardErrorLinux::Write(std::string_view bytes)
{
    if (way_ == Way::None) return ErrorOutput::Closed;
    std::string afterLineEnd;
    if (lineOpen_) {
        afterLineEnd.reserve(bytes.size() + 1);
        afterLineEnd.append(1, '\n').append(bytes);
        bytes = afterLineEnd;
    }
    if (way_ == Way::PollThenWrite) {
        // Without a description of its own: a pipe with room for a page
        // takes a short line without waiting, and one without a reader
        // fails the write at once.
        pollfd watched{descriptor_, POLLOUT, 0};
        const bool ready = poll(&watched, 1, 0) == 1 && (watched.revents & (POLLOUT | POLLERR)) != 0;
        if (!ready) return ErrorOutput::Dropped;
    }
    ssize_t written = 0;
    do {
        written = way_ == Way::Send ? send(descriptor_, bytes.data(), bytes.size(), MSG_DONTWAIT | MSG_NOSIGNAL)
                                    : write(descriptor_, bytes.data(), bytes.size());
    } while (written < 0 && errno == EINTR);
    if (written == static_cast<ssize_t>(bytes.size())) {
        lineOpen_ = false;
        return ErrorOutput::Written;
    }
    if (written >= 0) {
        if (written > 0) lineOpen_ = bytes[static_cast<size_t>(written) - 1] != '\n';
        return ErrorOutput::Dropped;
    }
    switch (errno) {
    case EPIPE:
    case ECONNRESET:
    case ENOTCONN:
    case EBADF:
        Close();
        return ErrorOutput::Closed;
    default:
        // Waiting would be needed (EAGAIN), or the disk is full: a later
        // line may get through.
        return ErrorOutput::Dropped;
    }
}

}  // namespace dotvane::platform
