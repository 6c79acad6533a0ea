#include "base/Timer.h"

#include <gtest/gtest.h>

namespace dotvane {
namespace {

class TimerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        timer.SetHandler([this] { ++fired; });
    }
    ManualTimer timer{5000};
    int fired = 0;
};

TEST_F(TimerTest, FiresEveryPeriod)
{
    timer.Advance(4999);
    EXPECT_EQ(fired, 0);
    timer.Advance(1);
    EXPECT_EQ(fired, 1);
    timer.Advance(10000);
    EXPECT_EQ(fired, 3);
}

TEST_F(TimerTest, SamePeriodKeepsTheRunningCount)
{
    timer.Advance(3000);
    timer.SetInterval(5000);
    timer.Advance(2000);
    EXPECT_EQ(fired, 1);
}

TEST_F(TimerTest, OtherPeriodRestartsTheCount)
{
    timer.Advance(3000);
    timer.SetInterval(4000);
    timer.Advance(3999);
    EXPECT_EQ(fired, 0);
    timer.Advance(1);
    EXPECT_EQ(fired, 1);
}

TEST_F(TimerTest, PeriodZeroStops)
{
    timer.SetInterval(0);
    timer.Advance(100000);
    EXPECT_FALSE(timer.Fire());
    EXPECT_EQ(fired, 0);
    timer.SetInterval(10);
    timer.Advance(10);
    EXPECT_EQ(fired, 1);
}

TEST_F(TimerTest, DisablingKeepsThePeriodAndEnablingStartsAFreshCount)
{
    timer.Advance(4000);
    timer.SetEnabled(false);
    EXPECT_EQ(timer.Interval(), 5000);
    timer.Advance(100000);
    EXPECT_EQ(fired, 0);
    timer.SetEnabled(true);
    timer.Advance(4000);
    EXPECT_EQ(fired, 0);
    timer.Advance(1000);
    EXPECT_EQ(fired, 1);
    const int restarts = timer.Restarts();
    timer.SetEnabled(true);
    EXPECT_EQ(timer.Restarts(), restarts);
}

TEST_F(TimerTest, HandlerMayChangeThePeriod)
{
    timer.SetHandler([this] {
        ++fired;
        timer.SetInterval(1000);
    });
    timer.Advance(5000);
    EXPECT_EQ(fired, 1);
    timer.Advance(3000);
    EXPECT_EQ(fired, 4);
}

}  // namespace
}  // namespace dotvane
