#include "app/qt/StopRequestWatch.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <csignal>
#include <functional>

namespace dotvane {
namespace {

// Lets the event loop run until `done`, a bounded number of rounds.
void ProcessUntil(const std::function<bool()>& done)
{
    for (int round = 0; round < 200 && !done(); ++round) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

TEST(StopRequestWatchTest, ASignalReachesTheStopOnTheEventLoop)
{
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        platform::StopRequests requests;
        int stops = 0;
        const StopRequestWatch watch(requests, [&] { ++stops; });
        std::raise(signal);
        // The handler did nothing but leave word.
        EXPECT_EQ(stops, 0) << signal;
        ProcessUntil([&] { return stops > 0; });
        EXPECT_EQ(stops, 1) << signal;
        QCoreApplication::processEvents();
        EXPECT_EQ(stops, 1) << signal;
    }
}

TEST(StopRequestWatchTest, ARequestFromBeforeTheWatchIsSeenOnceTheLoopRuns)
{
    platform::StopRequests requests;
    std::raise(SIGTERM);
    int stops = 0;
    const StopRequestWatch watch(requests, [&] { ++stops; });
    EXPECT_EQ(stops, 0);
    ProcessUntil([&] { return stops > 0; });
    EXPECT_EQ(stops, 1);
}

TEST(StopRequestWatchTest, NothingHappensWithoutARequest)
{
    platform::StopRequests requests;
    int stops = 0;
    const StopRequestWatch watch(requests, [&] { ++stops; });
    for (int round = 0; round < 5; ++round) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(stops, 0);
}

}  // namespace
}  // namespace dotvane
