#include "platform/StopRequests.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <stdexcept>

namespace dotvane::platform {
namespace {

constexpr std::array<int, 3> kStopSignals{SIGTERM, SIGINT, SIGHUP};

// What the handler reaches. A signal handler gets nothing but the signal's
// number, so this lives here, for the one StopRequests there may be.
int writeEnd = -1;
std::array<struct sigaction, kStopSignals.size()> previous{};
std::array<bool, kStopSignals.size()> caught{};
struct sigaction previousPipeAction {};
sigset_t previousMask{};

// Only calls that are safe in a signal handler: the event loop does the
// work when it sees the byte. Every request leaves a byte, however many
// come in; once the pipe is full the rest are dropped, which changes
// nothing, since one byte is enough.
void OnStopSignal(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(writeEnd, &byte, 1);
    errno = savedErrno;
}

}  // namespace

StopRequests::StopRequests()
{
    if (writeEnd != -1) throw std::logic_error("stop requests are caught already");
    int ends[2];
    // Without a pipe the signals keep their own action, which ends the
    // program too, only without File > Exit.
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return;
    descriptor_ = ends[0];
    writeEnd = ends[1];

    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    // One handler at a time: a second signal waits for the first handler.
    sigemptyset(&action.sa_mask);
    for (const int signal : kStopSignals) sigaddset(&action.sa_mask, signal);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < kStopSignals.size(); ++i) {
        sigaction(kStopSignals[i], nullptr, &previous[i]);
        caught[i] = previous[i].sa_handler != SIG_IGN;
        if (caught[i]) sigaction(kStopSignals[i], &action, nullptr);
    }

    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGPIPE, &ignore, &previousPipeAction);

    // A parent that blocked them (a supervisor that waits for signals of
    // its own) would otherwise keep every request from arriving. Threads
    // made later inherit the mask.
    pthread_sigmask(SIG_UNBLOCK, &action.sa_mask, &previousMask);
}

StopRequests::~StopRequests()
{
    if (descriptor_ == -1) return;
    pthread_sigmask(SIG_SETMASK, &previousMask, nullptr);
    sigaction(SIGPIPE, &previousPipeAction, nullptr);
    for (size_t i = 0; i < kStopSignals.size(); ++i)
        if (caught[i]) sigaction(kStopSignals[i], &previous[i], nullptr);
    close(writeEnd);
    close(descriptor_);
    writeEnd = -1;
}

bool StopRequests::Take()
{
    if (descriptor_ == -1) return false;
    bool any = false;
    char bytes[64];
    while (read(descriptor_, bytes, sizeof bytes) > 0) any = true;
    return any;
}

}  // namespace dotvane::platform
