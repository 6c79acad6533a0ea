#include "platform/HighResolutionClock.h"
#include "platform/LibraryLoader.h"
#include "platform/ServiceManager.h"

#include <gtest/gtest.h>

namespace dotvane::platform {
namespace {

TEST(HighResolutionClockLinuxTest, CountsNanosecondsForward)
{
    HighResolutionClock& clock = SystemHighResolutionClock();
    int64_t frequency = 0;
    ASSERT_TRUE(clock.QueryFrequency(frequency));
    EXPECT_EQ(frequency, 1'000'000'000);
    int64_t first = 0;
    int64_t second = 0;
    ASSERT_TRUE(clock.QueryCounter(first));
    ASSERT_TRUE(clock.QueryCounter(second));
    EXPECT_GT(first, 0);
    EXPECT_GE(second, first);
}

TEST(ServiceManagerLinuxTest, ThereIsNoServiceManager)
{
    ServiceManager& services = SystemServiceManager();
    EXPECT_FALSE(services.PlatformIsNT());
    EXPECT_EQ(services.OpenManager(0x17), 0u);
    EXPECT_EQ(services.LastError(), kErrorCallNotImplemented);
    uint32_t state = 0;
    EXPECT_FALSE(services.QueryState(1, state));
}

TEST(LibraryLoaderLinuxTest, NamesAndLoadsSharedObjects)
{
    LibraryLoader& loader = SystemLibraryLoader();
    EXPECT_EQ(loader.FileName("DLPortIO"), "libdlportio.so");
    EXPECT_EQ(loader.Load("/nonexistent", "libdlportio.so"), nullptr);
    // A system library through the normal search, and one of its functions.
    LibraryHandle math = loader.Load("", "libm.so.6");
    ASSERT_NE(math, nullptr);
    EXPECT_NE(loader.Symbol(math, "cos"), nullptr);
    EXPECT_EQ(loader.Symbol(math, "NoSuchFunction"), nullptr);
    EXPECT_TRUE(loader.Unload(math));
    EXPECT_EQ(loader.Symbol(nullptr, "cos"), nullptr);
    EXPECT_FALSE(loader.Unload(nullptr));
}

TEST(PlatformAccessorsTest, InstalledSeamsReplaceTheSystemOnes)
{
    EXPECT_EQ(&HighResolutionClockService::Current(), &SystemHighResolutionClock());
    class StoppedClock : public HighResolutionClock {
    public:
        bool QueryFrequency(int64_t&) override { return false; }
        bool QueryCounter(int64_t&) override { return false; }
    } stopped;
    {
        const HighResolutionClockService::Scoped installed(stopped);
        EXPECT_EQ(&HighResolutionClockService::Current(), &stopped);
    }
    EXPECT_EQ(&HighResolutionClockService::Current(), &SystemHighResolutionClock());
}

}  // namespace
}  // namespace dotvane::platform
