#include "platform/StopRequests.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <stdexcept>

namespace dotvane::platform {
namespace {

// Whether the descriptor has something to read, without waiting.
bool Readable(int descriptor)
{
    pollfd watched{descriptor, POLLIN, 0};
    return poll(&watched, 1, 0) == 1 && (watched.revents & POLLIN) != 0;
}

// Sets the signal's action for the test's lifetime and puts back the one
// it found.
class SignalAction {
public:
    SignalAction(int signal, void (*handler)(int)) : signal_(signal)
    {
        struct sigaction action {};
        action.sa_handler = handler;
        sigemptyset(&action.sa_mask);
        sigaction(signal, &action, &saved_);
    }
    ~SignalAction() { sigaction(signal_, &saved_, nullptr); }

private:
    int signal_;
    struct sigaction saved_ {};
};

volatile std::sig_atomic_t ownHandlerRuns = 0;
void OwnHandler(int) { ownHandlerRuns = ownHandlerRuns + 1; }

void (*Handler(int signal))(int)
{
    struct sigaction action {};
    sigaction(signal, nullptr, &action);
    return action.sa_handler;
}

TEST(StopRequestsLinux, EachStopSignalMakesTheDescriptorReadable)
{
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        StopRequests requests;
        ASSERT_GE(requests.Descriptor(), 0);
        EXPECT_FALSE(Readable(requests.Descriptor())) << signal;
        EXPECT_FALSE(requests.Take()) << signal;
        raise(signal);
        EXPECT_TRUE(Readable(requests.Descriptor())) << signal;
        EXPECT_TRUE(requests.Take()) << signal;
        EXPECT_FALSE(Readable(requests.Descriptor())) << signal;
        EXPECT_FALSE(requests.Take()) << signal;
    }
}

TEST(StopRequestsLinux, TheHandlerLeavesErrnoAsItWas)
{
    StopRequests requests;
    errno = EDOM;
    raise(SIGTERM);
    EXPECT_EQ(errno, EDOM);
}

TEST(StopRequestsLinux, TheFormerActionsComeBackAtTheEnd)
{
    const SignalAction own(SIGTERM, OwnHandler);
    {
        StopRequests requests;
        EXPECT_NE(Handler(SIGTERM), &OwnHandler);
    }
    EXPECT_EQ(Handler(SIGTERM), &OwnHandler);
    ownHandlerRuns = 0;
    raise(SIGTERM);
    EXPECT_EQ(ownHandlerRuns, 1);
    // A new object catches again, with nothing left over from the last.
    StopRequests again;
    raise(SIGTERM);
    EXPECT_EQ(ownHandlerRuns, 1);
    EXPECT_TRUE(again.Take());
}

TEST(StopRequestsLinux, ASignalIgnoredAtTheStartStaysIgnored)
{
    const SignalAction ignored(SIGHUP, SIG_IGN);
    StopRequests requests;
    EXPECT_EQ(Handler(SIGHUP), SIG_IGN);
    raise(SIGHUP);
    EXPECT_FALSE(requests.Take());
    raise(SIGINT);
    EXPECT_TRUE(requests.Take());
}

TEST(StopRequestsLinux, OnlyOneMayLiveAtATime)
{
    StopRequests requests;
    EXPECT_THROW(StopRequests second, std::logic_error);
    raise(SIGTERM);
    EXPECT_TRUE(requests.Take());
}

TEST(StopRequestsLinuxDeathTest, FurtherRequestsChangeNothing)
{
    // However many come in, and of whichever signal, the program goes on
    // to end in its own way.
    EXPECT_EXIT(
        {
            StopRequests requests;
            for (int i = 0; i < 1000; ++i) raise(i % 2 == 0 ? SIGTERM : SIGHUP);
            const bool first = requests.Take();
            raise(SIGINT);
            std::exit(first && requests.Take() && !requests.Take() ? 7 : 8);
        },
        ::testing::ExitedWithCode(7), "");
}

TEST(StopRequestsLinuxDeathTest, OneRequestLeavesTheProgramRunning)
{
    EXPECT_EXIT(
        {
            StopRequests requests;
            raise(SIGTERM);
            std::exit(requests.Take() ? 7 : 8);
        },
        ::testing::ExitedWithCode(7), "");
}

}  // namespace
}  // namespace dotvane::platform
