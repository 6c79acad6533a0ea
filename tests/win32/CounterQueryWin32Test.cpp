// Performance counters on Windows: the Performance Data Helper of pdh.dll,
// with a counter every Windows system has and one that no system has.
#include "platform/CounterQuery.h"
#include "vars/perf/NtCounterSource.h"

#include "tests/support/RecordingHost.h"
#include "tests/support/TempDir.h"
#include "tests/support/Variables.h"

#include <gtest/gtest.h>

#include <string>

namespace dotvane::platform {
namespace {

const std::string kProcessorTime = "\\Processor(_Total)\\% Processor Time";
const std::string kUnknown = "\\No Such Object\\No Such Counter";

TEST(CounterQueryWin32, ProcessorTimeIsAPercentage)
{
    CounterQuery& pdh = CounterQueryService::Current();
    PdhQueryHandle query = 0;
    ASSERT_EQ(pdh.PdhOpenQuery(nullptr, 1, &query), kErrorSuccess);
    ASSERT_NE(query, 0u);
    PdhCounterHandle counter = 0;
    ASSERT_EQ(pdh.PdhAddCounter(query, kProcessorTime, 42, &counter), kErrorSuccess);
    ASSERT_NE(counter, 0u);

    // A rate has its value from the second sample on.
    ASSERT_EQ(pdh.PdhCollectQueryData(query), kErrorSuccess);
    ASSERT_EQ(pdh.PdhCollectQueryData(query), kErrorSuccess);
    PdhFmtCounterValue value;
    value.CStatus = 0xFFFFFFFFu;
    value.longValue = -1;
    uint32_t type = 0;
    ASSERT_EQ(pdh.PdhGetFormattedCounterValue(counter, kPdhFmtLong, &type, &value), kErrorSuccess);
    EXPECT_EQ(value.CStatus, kPdhCstatusValidData);
    EXPECT_GE(value.longValue, 0);
    EXPECT_LE(value.longValue, 100);
    // The type output is optional.
    ASSERT_EQ(pdh.PdhGetFormattedCounterValue(counter, kPdhFmtLong, nullptr, &value), kErrorSuccess);

    EXPECT_EQ(pdh.PdhCloseQuery(query), kErrorSuccess);
}

TEST(CounterQueryWin32, UnknownPathFailsToBeAdded)
{
    CounterQuery& pdh = CounterQueryService::Current();
    PdhQueryHandle query = 0;
    ASSERT_EQ(pdh.PdhOpenQuery(nullptr, 1, &query), kErrorSuccess);
    PdhCounterHandle counter = 0;
    const PdhStatus status = pdh.PdhAddCounter(query, kUnknown, 42, &counter);
    EXPECT_NE(status, kErrorSuccess);
    EXPECT_TRUE(status == kPdhCstatusNoObject || status == kPdhCstatusNoCounter) << std::hex << status;
    EXPECT_EQ(pdh.PdhCloseQuery(query), kErrorSuccess);
}

// The pdh_ variables of the NT build, from an LCDPERF.INI with a good
// counter, a counter that does not exist and the good one scaled.
class PerfCountersWin32Test : public test::VariablesTest {
protected:
    void SetUp() override
    {
        MainSettings.NTPerfMon.Enable = true;
        context.PerfCounters = &source;
    }
    void TearDown() override { StopPerfCounters(); }
    void StartPerfCounters(const std::string& programFolder)
    {
        dotvane::StartPerfCounters(&source, MainSettings, programFolder);
    }
    void CollectPerfCounters() { dotvane::CollectPerfCounters(&source, MainSettings); }
    void StopPerfCounters() { dotvane::StopPerfCounters(&source, MainSettings); }

    test::TempDir folder;
    test::RecordingHost host;
    NtCounterSource source{host};
};

TEST_F(PerfCountersWin32Test, RealCounterShowsAndUnknownPathIsReported)
{
    folder.Write("LCDPERF.INI", "[pdh_cpu]\nname=" + kProcessorTime + "\nmultiplier=1\nprecision=3\n" +
                                    "[pdh_missing]\nname=" + kUnknown + "\n" +
                                    "[pdh_half]\nname=" + kProcessorTime + "\nmultiplier=0.5\n");
    StartPerfCounters(folder.Folder());
    EXPECT_EQ(host.status, "PdhAddCounter error");

    CollectPerfCounters();
    CollectPerfCounters();
    EXPECT_EQ(host.status, "PdhAddCounter error") << "two samples give every counter a valid value";
    const std::string cpu = ExpandLine("$pdh_cpu$");
    ASSERT_FALSE(cpu.empty());
    const int percent = std::stoi(cpu);
    EXPECT_GE(percent, 0);
    EXPECT_LE(percent, 100);
    EXPECT_EQ(std::stod(ExpandLine("$pdh_half$")), percent * 0.5);
    EXPECT_EQ(ExpandLine("[$pdh_missing$][$pdh_none$]"), "[][]");
}

}  // namespace
}  // namespace dotvane::platform
