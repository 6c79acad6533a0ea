#include "base/ReentrancyGuard.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

namespace dotvane {
namespace {

TEST(ReentrancyGuardTest, AnEntryHoldsTheMarkForItsLifetime)
{
    ReentrancyGuard guard;
    EXPECT_FALSE(guard.Running());
    {
        const auto entry = guard.Enter();
        EXPECT_TRUE(entry);
        EXPECT_TRUE(guard.Running());
        const auto second = guard.Enter();
        EXPECT_FALSE(second);
        EXPECT_TRUE(guard.Running()) << "a refused entry does not end the first";
    }
    EXPECT_FALSE(guard.Running());
    EXPECT_TRUE(guard.Enter());
}

TEST(ReentrancyGuardTest, WorkThatStartsItselfRunsOnceAtATime)
{
    ReentrancyGuard guard;
    int runs = 0, refused = 0;
    std::function<void(int)> work = [&](int depth) {
        const auto entry = guard.Enter();
        if (!entry) {
            ++refused;
            return;
        }
        ++runs;
        // As a message box or a network wait lets the timers run.
        if (depth < 3) work(depth + 1);
    };
    work(0);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(refused, 1);
    work(0);
    EXPECT_EQ(runs, 2);
}

TEST(ReentrancyGuardTest, LeaveEndsTheMarkEarlyAndOnlyOnce)
{
    ReentrancyGuard guard;
    auto entry = guard.Enter();
    entry.Leave();
    EXPECT_FALSE(guard.Running());
    EXPECT_FALSE(entry);
    // Another start is possible now, and the first entry ending later does
    // not end it.
    {
        const auto again = guard.Enter();
        EXPECT_TRUE(again);
        entry.Leave();
        EXPECT_TRUE(guard.Running());
    }
    EXPECT_FALSE(guard.Running());
}

TEST(ReentrancyGuardTest, AMovedEntryCarriesTheMark)
{
    ReentrancyGuard guard;
    auto first = guard.Enter();
    {
        const auto moved = std::move(first);
        EXPECT_TRUE(moved);
        EXPECT_TRUE(guard.Running());
    }
    EXPECT_FALSE(guard.Running());
}

TEST(ReentrancyGuardTest, AnExceptionEndsTheMark)
{
    ReentrancyGuard guard;
    try {
        const auto entry = guard.Enter();
        throw 1;
    } catch (int) {
    }
    EXPECT_FALSE(guard.Running());
}

}  // namespace
}  // namespace dotvane
