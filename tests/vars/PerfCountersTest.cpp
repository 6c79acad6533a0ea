#include "platform/linux/pdh/CounterQueryLinux.h"
#include "vars/perf/NtCounterSource.h"

#include "tests/support/FakeCounterQuery.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/TempDir.h"
#include "tests/support/Variables.h"

#include <gtest/gtest.h>

#include <set>

namespace dotvane {
namespace {

using Answer = test::FakeCounterQuery::Answer;

const char* const kCpu = "\\Processor(_Total)\\% Processor Time";

class PerfCountersTest : public test::VariablesTest {
protected:
    void SetUp() override
    {
        MainSettings.NTPerfMon.Enable = true;
        context.PerfCounters = &source;
    }
    void WritePerfIni(const std::string& text) { folder.Write("LCDPERF.INI", text); }
    void StartPerfCounters(const std::string& programFolder)
    {
        dotvane::StartPerfCounters(context.PerfCounters, MainSettings, programFolder);
    }
    void CollectPerfCounters() { dotvane::CollectPerfCounters(context.PerfCounters, MainSettings); }
    void StopPerfCounters() { dotvane::StopPerfCounters(context.PerfCounters, MainSettings); }

    test::TempDir folder;
    test::RecordingHost host;
    test::FakeCounterQuery pdh;
    NtCounterSource source{host};
};

TEST_F(PerfCountersTest, StartOpensTheQueryThenAddsEverySectionInFileOrder)
{
    pdh.counters[kCpu] = Answer{};
    pdh.counters["\\Memory\\Available MBytes"] = Answer{};
    WritePerfIni("[pdh_mem]\nname=\\Memory\\Available MBytes\n[pdh_cpu]\nname=" + std::string(kCpu) +
                 "\nmultiplier=1\nprecision=3\nother=ignored\n");
    StartPerfCounters(folder.Folder());
    EXPECT_EQ(pdh.calls, (std::vector<std::string>{"open", "add \\Memory\\Available MBytes", std::string("add ") + kCpu}));
    ASSERT_EQ(pdh.userData.size(), 3u);
    EXPECT_EQ(pdh.userData[0], 1u) << "the query's user data";
    EXPECT_NE(pdh.userData[1], 0u) << "each counter carries its record";
    EXPECT_NE(pdh.userData[1], pdh.userData[2]);
    EXPECT_EQ(host.status, "");

    CollectPerfCounters();
    EXPECT_EQ(pdh.calls.back(), std::string("format ") + kCpu) << "records are formatted in creation order";
}

struct ValueCase {
    const char* keys;
    int32_t value;
    const char* text;
};

class PerfValueTest : public PerfCountersTest, public ::testing::WithParamInterface<ValueCase> {};

TEST_P(PerfValueTest, ShowsTheValueTimesTheMultiplierWithItsPrecision)
{
    pdh.counters[kCpu] = Answer{0, 0, GetParam().value};
    WritePerfIni("[pdh_cpu]\nname=" + std::string(kCpu) + "\n" + GetParam().keys);
    StartPerfCounters(folder.Folder());
    EXPECT_EQ(ExpandVariable("pdh_cpu"), "0") << "0 until the first collection";
    CollectPerfCounters();
    EXPECT_EQ(ExpandVariable("pdh_cpu"), GetParam().text) << GetParam().keys;
    EXPECT_EQ(host.status, "");
}

INSTANTIATE_TEST_SUITE_P(
    Sections, PerfValueTest,
    ::testing::Values(ValueCase{"multiplier=1\nprecision=3\n", 37, "37"},
                      ValueCase{"multiplier=0.5\nprecision=3\n", 37, "18.5"},
                      ValueCase{"precision=2\n", 1234, "1.2e+03"},
                      ValueCase{"precision=0\n", 1234567, "1.23457e+06"},
                      ValueCase{"", 123456, "1.235e+05"}, ValueCase{"multiplier=-2\n", 21, "-42"},
                      ValueCase{"multiplier=0.0009765625\nprecision=3\n", 102400, "100"},
                      ValueCase{"multiplier=abc\nprecision=x\n", 12346, "1.235e+04"}));

TEST_F(PerfCountersTest, AnUnknownPathIsReportedAndLaterSectionsStillWork)
{
    pdh.counters[kCpu] = Answer{0, 0, 37};
    WritePerfIni("[pdh_bad]\nname=\\Nothing\\Here\n[pdh_noname]\n[pdh_cpu]\nname=" + std::string(kCpu) + "\n");
    StartPerfCounters(folder.Folder());
    EXPECT_EQ(host.status, "PdhAddCounter errorPdhAddCounter error");
    CollectPerfCounters();
    EXPECT_EQ(ExpandLine("[$pdh_bad$][$pdh_noname$][$pdh_cpu$][$pdh_none$]"), "[][][37][]");
}

TEST_F(PerfCountersTest, EveryBadCounterAppendsItsMessagesOnEveryTick)
{
    pdh.counters[kCpu] = Answer{platform::kPdhInvalidData, platform::kPdhCstatusInvalidData, 5};
    pdh.counters["\\System\\Threads"] = Answer{0, 1, 9};
    WritePerfIni("[pdh_cpu]\nname=" + std::string(kCpu) + "\n[pdh_threads]\nname=\\System\\Threads\n");
    StartPerfCounters(folder.Folder());
    CollectPerfCounters();
    const std::string perTick =
        "PdhGetFormattedCounterValue errorpdhFormattedValue.CStatus errorpdhFormattedValue.CStatus error";
    EXPECT_EQ(host.status, perTick);
    CollectPerfCounters();
    EXPECT_EQ(host.status, perTick + perTick);
    // The value is kept whatever the checks found.
    EXPECT_EQ(ExpandVariable("pdh_cpu"), "5");
    EXPECT_EQ(ExpandVariable("pdh_threads"), "9");

    pdh.collectStatus = platform::kPdhNoData;
    pdh.counters.clear();
    pdh.counters[kCpu] = Answer{};
    pdh.counters["\\System\\Threads"] = Answer{};
    host.status.clear();
    CollectPerfCounters();
    EXPECT_EQ(host.status, "PdhCollectQueryData error") << "the counters are still formatted after it";
    EXPECT_EQ(ExpandVariable("pdh_cpu"), "0");
}

TEST_F(PerfCountersTest, AQueryThatCannotBeOpenedMakesEveryLaterStepFail)
{
    pdh.openStatus = platform::kPdhInvalidArgument;
    pdh.counters[kCpu] = Answer{};
    WritePerfIni("[pdh_cpu]\nname=" + std::string(kCpu) + "\n");
    StartPerfCounters(folder.Folder());
    EXPECT_EQ(host.status, "PdhOpenQuery errorPdhAddCounter error");
    CollectPerfCounters();
    EXPECT_EQ(host.status, "PdhOpenQuery errorPdhAddCounter errorPdhCollectQueryData error");
}

TEST_F(PerfCountersTest, SwitchedOnByAReloadEveryTickFailsToCollect)
{
    pdh.counters[kCpu] = Answer{0, 0, 37};
    WritePerfIni("[pdh_cpu]\nname=" + std::string(kCpu) + "\n");
    MainSettings.NTPerfMon.Enable = false;
    StartPerfCounters(folder.Folder());
    CollectPerfCounters();
    EXPECT_TRUE(pdh.calls.empty()) << "nothing is opened or collected while off";
    EXPECT_EQ(ExpandVariable("pdh_cpu"), "");

    MainSettings.NTPerfMon.Enable = true;  // what a reload does
    CollectPerfCounters();
    CollectPerfCounters();
    EXPECT_EQ(host.status, "PdhCollectQueryData errorPdhCollectQueryData error");
    EXPECT_EQ(ExpandVariable("pdh_cpu"), "");
}

TEST_F(PerfCountersTest, ShutdownClosesTheQueryOnlyWhenOn)
{
    pdh.counters[kCpu] = Answer{};
    WritePerfIni("[pdh_cpu]\nname=" + std::string(kCpu) + "\n");
    StartPerfCounters(folder.Folder());
    MainSettings.NTPerfMon.Enable = false;
    StopPerfCounters();
    EXPECT_NE(pdh.calls.back(), "close");
    MainSettings.NTPerfMon.Enable = true;
    StopPerfCounters();
    EXPECT_EQ(pdh.calls.back(), "close");
}

TEST_F(PerfCountersTest, AMissingFileHasNoSectionsAndTheNameIsFoundWithoutRegardToCase)
{
    StartPerfCounters(folder.Folder());
    EXPECT_EQ(pdh.calls, std::vector<std::string>{"open"});
    EXPECT_EQ(host.status, "");

    NtCounterSource second(host);
    context.PerfCounters = &second;
    pdh.counters[kCpu] = Answer{0, 0, 3};
    folder.Write("lcdperf.ini", "[pdh_cpu]\nname=" + std::string(kCpu) + "\n");
    StartPerfCounters(folder.Folder());
    CollectPerfCounters();
    EXPECT_EQ(ExpandVariable("pdh_cpu"), "3");
}

// The NT source over the Linux counters, reading fixture files sampled twice.
TEST_F(PerfCountersTest, LinuxCountersShowRatesFromTheSecondTick)
{
    test::TempDir machine;
    const std::filesystem::path fixtures = std::filesystem::path(DOTVANE_SOURCE_DIR) / "tests/platform/fixtures";
    std::filesystem::copy(fixtures / "counters", machine.Path(), std::filesystem::copy_options::recursive);
    platform::CounterQueryLinux counters(machine.Path() / "proc", machine.Path() / "sys");
    const platform::CounterQueryService::Scoped installed(counters);

    WritePerfIni("[pdh_cpu]\nname=\\Processor(_Total)\\% Processor Time\nprecision=3\n"
                 "[pdh_netin]\nname=\\Network Interface(_Total)\\Bytes Received/sec\nmultiplier=0.001\n"
                 "[pdh_threads]\nname=\\System\\Threads\n"
                 "[pdh_typo]\nname=\\Processor(_Total)\\% Processor Tme\n");
    StartPerfCounters(folder.Folder());
    EXPECT_EQ(host.status, "PdhAddCounter error");
    host.status.clear();

    CollectPerfCounters();
    // The two rates have one sample only.
    EXPECT_EQ(host.status, "PdhGetFormattedCounterValue errorpdhFormattedValue.CStatus error"
                           "PdhGetFormattedCounterValue errorpdhFormattedValue.CStatus error");
    EXPECT_EQ(ExpandLine("$pdh_cpu$ $pdh_netin$ $pdh_threads$"), "0 0 731");

    host.status.clear();
    std::filesystem::copy(fixtures / "counters-later", machine.Path(),
                          std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
    CollectPerfCounters();
    EXPECT_EQ(host.status, "");
    EXPECT_EQ(ExpandLine("$pdh_cpu$ $pdh_netin$ $pdh_threads$"), "25 110 731");
    StopPerfCounters();
}

}  // namespace
}  // namespace dotvane
