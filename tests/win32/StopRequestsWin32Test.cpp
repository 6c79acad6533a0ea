#include "platform/StopRequests.h"

#include <gtest/gtest.h>

#include <csignal>

namespace dotvane::platform {
namespace {

// A window program on Windows gets no console events, so there is nothing
// for an event loop to watch, and nothing is ever taken.
TEST(StopRequestsWin32, AWindowProgramHasNoRequestsToWatch)
{
    StopRequests requests;
    EXPECT_EQ(requests.Descriptor(), -1);
    EXPECT_FALSE(requests.Take());
    // The C library's signals are left to it: its own handler still runs.
    static volatile std::sig_atomic_t seen = 0;
    const auto previous = std::signal(SIGINT, [](int) { seen = 1; });
    std::raise(SIGINT);
    std::signal(SIGINT, previous);
    EXPECT_EQ(seen, 1);
    EXPECT_FALSE(requests.Take());
}

}  // namespace
}  // namespace dotvane::platform
