#include "platform/linux/TickCountLinux.h"

#include "tests/support/Variables.h"

#include "tests/support/HeldFifo.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace dotvane::platform {
namespace {

TEST(TickCountLinux, ReadsMillisecondsSinceBootFromUptime)
{
    EXPECT_EQ(TickCountLinux(DOTVANE_FIXTURES "/uptime").GetTickCount64(), 11107530u);
    // 100 days and a bit: far beyond the 49.7 days of a 32-bit count.
    EXPECT_EQ(TickCountLinux(DOTVANE_FIXTURES "/uptime-100-days").GetTickCount64(), 8640000990u);
}

TEST(TickCountLinux, FallsBackToTheBootClockWhenUptimeIsUnreadable)
{
    const uint64_t fromProc = TickCountLinux("/proc").GetTickCount64();
    for (const char* tree : {DOTVANE_FIXTURES "/uptime-garbled", DOTVANE_FIXTURES "/no-such-tree"}) {
        const uint64_t fromClock = TickCountLinux(tree).GetTickCount64();
        EXPECT_GT(fromClock, 0u) << tree;
        // Both count from the same boot; the calls lie close together.
        EXPECT_LT(fromClock > fromProc ? fromClock - fromProc : fromProc - fromClock, 60000u) << tree;
    }
}

class TickCountLinuxVariables : public test::VariablesTest {};

TEST_F(TickCountLinuxVariables, ShowDaysHoursMinutesSeconds)
{
    TickCountLinux threeHours(DOTVANE_FIXTURES "/uptime");
    {
        const TickCountService::Scoped installed(threeHours);
        EXPECT_EQ(ExpandLine("$uptimed$|$uptimeh$|$uptimem$|$uptimes$"), " 0| 3| 5| 7");
    }
    TickCountLinux hundredDays(DOTVANE_FIXTURES "/uptime-100-days");
    const TickCountService::Scoped installed(hundredDays);
    EXPECT_EQ(ExpandLine("$uptimed$|$uptimeh$|$uptimem$|$uptimes$"), "100| 0| 0| 0");
}

TEST(TickCountLinux, AFifoAsUptimeIsNotWaitedFor)
{
    test::TempDir proc;
    test::HeldFifo uptime(proc.Path() / "uptime", "5.00 1.00\n");
    const auto [prompt, ticks] = test::ReadWhileHeld(uptime, [&] { return TickCountLinux(proc.Path()).GetTickCount64(); });
    EXPECT_TRUE(prompt);
    // The boot clock, not the 5 seconds waiting in the FIFO.
    EXPECT_NE(ticks, 5000u);
    EXPECT_GT(ticks, 0u);
}

}  // namespace
}  // namespace dotvane::platform
