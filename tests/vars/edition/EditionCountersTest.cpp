#include "app/Edition.h"
#include "vars/PerfCounterSource.h"

#include "tests/support/RecordingHost.h"
#include "tests/support/TempDir.h"
#include "tests/support/Variables.h"

#ifdef DOTVANE_NT
#include "vars/perf/NtCounterSource.h"

#include "tests/support/FakeCounterQuery.h"
#endif

#include <gtest/gtest.h>

namespace dotvane {
namespace {

const std::string kCpu = "\\Processor(_Total)\\% Processor Time";

// The build's own counter source, as the main window creates it, in the
// variables' context.
class EditionCounters : public test::VariablesTest {
protected:
    void SetUp() override
    {
        MainSettings.NTPerfMon.Enable = true;
        folder.Write("LCDPERF.INI", "[pdh_cpu]\nname=" + kCpu + "\nprecision=3\n");
        context.PerfCounters = source.get();
    }
    void StartPerfCounters(const std::string& programFolder)
    {
        dotvane::StartPerfCounters(source.get(), MainSettings, programFolder);
    }
    void CollectPerfCounters() { dotvane::CollectPerfCounters(source.get(), MainSettings); }
    void StopPerfCounters() { dotvane::StopPerfCounters(source.get(), MainSettings); }

    test::TempDir folder;
    test::RecordingHost host;
    const std::unique_ptr<PerfCounterSource> source = CreatePerfCounterSource(host);
};

#ifdef DOTVANE_NT

TEST_F(EditionCounters, TheNtBuildCreatesItsCounterSource)
{
    EXPECT_TRUE(IsNtBuild());
    ASSERT_NE(dynamic_cast<NtCounterSource*>(source.get()), nullptr);
    test::FakeCounterQuery pdh;
    pdh.counters[kCpu] = test::FakeCounterQuery::Answer{0, 0, 37};
    StartPerfCounters(folder.Folder());
    CollectPerfCounters();
    EXPECT_EQ(ExpandLine("cpu [$pdh_cpu$]"), "cpu [37]");
    StopPerfCounters();
    EXPECT_EQ(pdh.calls, (std::vector<std::string>{"open", "add " + kCpu, "collect", "format " + kCpu, "close"}));
    EXPECT_EQ(host.status, "");
}

#else

TEST_F(EditionCounters, ThePlainBuildExpandsCounterNamesToNothing)
{
    EXPECT_FALSE(IsNtBuild());
    EXPECT_EQ(source, nullptr);
    // NTPerfMon/Enable is read but has no effect.
    StartPerfCounters(folder.Folder());
    CollectPerfCounters();
    StopPerfCounters();
    EXPECT_EQ(host.status, "");
    for (const char* name : {"pdh_cpu", "pdh_", "pdh_cpu(0)", "pdh_missing"}) EXPECT_EQ(ExpandVariable(name), "") << name;
    EXPECT_EQ(ExpandLine("cpu [$pdh_cpu$]"), "cpu []");
}

#endif

}  // namespace
}  // namespace dotvane
