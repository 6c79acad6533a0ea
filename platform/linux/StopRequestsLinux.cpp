#include "platform/StopRequests.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <stdexcept>

namespace dotvane::platform {
namespace {

constexpr std::array<int, 3> kStopSignals{SIGTERM, SIGINT, SIGHUP};

// What the handler reaches. A signal handler gets nothing but the signal's
// number, so this lives here, for the one StopRequests there may be.
int writeEnd = -1;
volatile std::sig_atomic_t requested = 0;
std::array<struct sigaction, kStopSignals.size()> previous{};
std::array<bool, kStopSignals.size()> caught{};

// Only calls that are safe in a signal handler: the event loop does the
// work when it sees the byte.
void OnStopSignal(int signal)
{
    if (requested != 0) {
        // The program is ending already: the signal's own action ends it,
        // once the handler returns and the signal is no longer blocked.
        struct sigaction byDefault {};
        byDefault.sa_handler = SIG_DFL;
        sigemptyset(&byDefault.sa_mask);
        sigaction(signal, &byDefault, nullptr);
        raise(signal);
        return;
    }
    requested = 1;
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
    requested = 0;

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
}

StopRequests::~StopRequests()
{
    if (descriptor_ == -1) return;
    for (size_t i = 0; i < kStopSignals.size(); ++i)
        if (caught[i]) sigaction(kStopSignals[i], &previous[i], nullptr);
    close(writeEnd);
    close(descriptor_);
    writeEnd = -1;
    requested = 0;
}

bool StopRequests::Take()
{
    if (descriptor_ == -1) return false;
    bool any = false;
    char bytes[16];
    while (read(descriptor_, bytes, sizeof bytes) > 0) any = true;
    return any;
}

}  // namespace dotvane::platform
