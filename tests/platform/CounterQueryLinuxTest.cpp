#include "config/IniFile.h"
#include "platform/linux/pdh/CounterPath.h"
#include "platform/linux/pdh/CounterQueryLinux.h"

#include "tests/support/CountingFiles.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <map>
#include <vector>

namespace dotvane::platform {
namespace {

const std::filesystem::path kFixtures = DOTVANE_FIXTURES;

struct PathCase {
    const char* path;
    PdhStatus status;
    CounterKind kind;
    const char* instance;
};

class CounterPathTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(CounterPathTest, Parses)
{
    const PathCase& c = GetParam();
    CounterPath path;
    ASSERT_EQ(ParseCounterPath(c.path, path), c.status) << c.path;
    if (c.status != kErrorSuccess) return;
    EXPECT_EQ(path.kind, c.kind) << c.path;
    EXPECT_EQ(path.instance, c.instance) << c.path;
}

constexpr PdhStatus kOk = kErrorSuccess;
constexpr auto kAny = CounterKind::Processes;

INSTANTIATE_TEST_SUITE_P(
    Paths, CounterPathTest,
    ::testing::Values(
        PathCase{"\\Processor(_Total)\\% Processor Time", kOk, CounterKind::ProcessorTime, "_Total"},
        PathCase{"\\processor(3)\\% PROCESSOR TIME", kOk, CounterKind::ProcessorTime, "3"},
        PathCase{"\\Memory\\Available Bytes", kOk, CounterKind::AvailableBytes, ""},
        PathCase{"\\Memory\\Available KBytes", kOk, CounterKind::AvailableKBytes, ""},
        PathCase{"\\Memory\\Available MBytes", kOk, CounterKind::AvailableMBytes, ""},
        PathCase{"\\Memory\\% Committed Bytes In Use", kOk, CounterKind::CommittedBytesInUse, ""},
        PathCase{"\\System\\Processes", kOk, CounterKind::Processes, ""},
        PathCase{"\\System\\Threads", kOk, CounterKind::Threads, ""},
        PathCase{"\\System\\System Up Time", kOk, CounterKind::SystemUpTime, ""},
        PathCase{"\\Network Interface(eth0)\\Bytes Received/sec", kOk, CounterKind::BytesReceived, "eth0"},
        PathCase{"\\Network Interface(_Total)\\Bytes Sent/sec", kOk, CounterKind::BytesSent, "_Total"},
        PathCase{"\\Network Interface(Intel(R) PRO)\\Bytes Total/sec", kOk, CounterKind::BytesTotal, "Intel(R) PRO"},
        PathCase{"\\PhysicalDisk(_Total)\\Disk Read Bytes/sec", kOk, CounterKind::DiskReadBytes, "_Total"},
        PathCase{"\\PhysicalDisk(sda)\\Disk Write Bytes/sec", kOk, CounterKind::DiskWriteBytes, "sda"},
        PathCase{"\\PhysicalDisk(_Total)\\% Disk Time", kOk, CounterKind::DiskTime, "_Total"},
        PathCase{"", kPdhCstatusBadCountername, kAny, ""},
        PathCase{"Processor(_Total)\\% Processor Time", kPdhCstatusBadCountername, kAny, ""},
        PathCase{"\\\\host\\Processor(_Total)\\% Processor Time", kPdhCstatusBadCountername, kAny, ""},
        PathCase{"\\Processor(_Total)", kPdhCstatusBadCountername, kAny, ""},
        PathCase{"\\Processor(_Total\\% Processor Time", kPdhCstatusBadCountername, kAny, ""},
        PathCase{"\\Processor\\% Processor Time", kPdhCstatusBadCountername, kAny, ""},
        PathCase{"\\Processor()\\% Processor Time", kPdhCstatusBadCountername, kAny, ""},
        PathCase{"\\Memory(0)\\Available Bytes", kPdhCstatusBadCountername, kAny, ""},
        PathCase{"\\Memory\\", kPdhCstatusBadCountername, kAny, ""},
        PathCase{"\\Processor(_Total)\\% Idle Tim", kPdhCstatusNoCounter, kAny, ""},
        PathCase{"\\Memory\\Pages/sec", kPdhCstatusNoCounter, kAny, ""},
        PathCase{"\\Nothing(_Total)\\% Processor Time", kPdhCstatusNoObject, kAny, ""}));

// A copy of the counter fixture whose second sample a test writes in.
class CounterMachine {
public:
    CounterMachine()
    {
        std::filesystem::copy(kFixtures / "counters", dir.Path(), std::filesystem::copy_options::recursive);
    }
    std::filesystem::path Proc() const { return dir.Path() / "proc"; }
    std::filesystem::path Sys() const { return dir.Path() / "sys"; }
    void Later() const
    {
        std::filesystem::copy(kFixtures / "counters-later", dir.Path(),
                              std::filesystem::copy_options::recursive |
                                  std::filesystem::copy_options::overwrite_existing);
    }
    test::TempDir dir;
};

class CounterQueryLinuxTest : public ::testing::Test {
protected:
    CounterQueryLinuxTest() : pdh(machine.Proc(), machine.Sys())
    {
        EXPECT_EQ(pdh.PdhOpenQuery(nullptr, 1, &query), kErrorSuccess);
    }
    PdhCounterHandle Add(const std::string& path)
    {
        PdhCounterHandle counter = 0;
        EXPECT_EQ(pdh.PdhAddCounter(query, path, 0, &counter), kErrorSuccess) << path;
        return counter;
    }
    // The formatted value; the call's status and CStatus go to the two
    // out parameters.
    int32_t Format(PdhCounterHandle counter, PdhStatus* status = nullptr, PdhStatus* cstatus = nullptr)
    {
        PdhFmtCounterValue value;
        const PdhStatus result = pdh.PdhGetFormattedCounterValue(counter, kPdhFmtLong, nullptr, &value);
        if (status) *status = result;
        if (cstatus) *cstatus = value.CStatus;
        EXPECT_TRUE(status != nullptr || result == kErrorSuccess) << "status " << std::hex << result;
        return value.longValue;
    }

    CounterMachine machine;
    CounterQueryLinux pdh;
    PdhQueryHandle query = 0;
};

TEST_F(CounterQueryLinuxTest, ProcessorTimeNeedsTwoCollections)
{
    const auto total = Add("\\Processor(_Total)\\% Processor Time");
    const auto cpu0 = Add("\\Processor(0)\\% Processor Time");
    const auto cpu1 = Add("\\Processor(1)\\% Processor Time");
    PdhStatus status = 0, cstatus = 0;
    Format(total, &status, &cstatus);
    EXPECT_EQ(status, kPdhInvalidData) << "nothing collected yet";
    EXPECT_EQ(cstatus, kPdhCstatusInvalidData);

    ASSERT_EQ(pdh.PdhCollectQueryData(query), kErrorSuccess);
    EXPECT_EQ(Format(total, &status, &cstatus), 0);
    EXPECT_EQ(status, kPdhInvalidData) << "one sample of a rate";
    EXPECT_EQ(cstatus, kPdhCstatusInvalidData);

    machine.Later();
    ASSERT_EQ(pdh.PdhCollectQueryData(query), kErrorSuccess);
    EXPECT_EQ(Format(total), 25);
    EXPECT_EQ(Format(cpu0), 30);
    EXPECT_EQ(Format(cpu1), 20);

    // Nothing changed since: no time passed, so nothing was busy.
    ASSERT_EQ(pdh.PdhCollectQueryData(query), kErrorSuccess);
    EXPECT_EQ(Format(total), 0);
}

TEST_F(CounterQueryLinuxTest, NetworkRatesPerInterfaceAndInTotalWithoutLoopback)
{
    const auto received = Add("\\Network Interface(eth0)\\Bytes Received/sec");
    const auto sent = Add("\\Network Interface(eth0)\\Bytes Sent/sec");
    const auto both = Add("\\Network Interface(eth0)\\Bytes Total/sec");
    const auto allReceived = Add("\\Network Interface(_Total)\\Bytes Received/sec");
    const auto allSent = Add("\\Network Interface(_Total)\\Bytes Sent/sec");
    const auto all = Add("\\Network Interface(_Total)\\Bytes Total/sec");
    ASSERT_EQ(pdh.PdhCollectQueryData(query), kErrorSuccess);
    machine.Later();  // two seconds later
    ASSERT_EQ(pdh.PdhCollectQueryData(query), kErrorSuccess);
    EXPECT_EQ(Format(received), 100000);
    EXPECT_EQ(Format(sent), 30000);
    EXPECT_EQ(Format(both), 130000);
    EXPECT_EQ(Format(allReceived), 110000);
    EXPECT_EQ(Format(allSent), 32000);
    EXPECT_EQ(Format(all), 142000);
}

TEST_F(CounterQueryLinuxTest, DiskRatesCoverWholeDisksOnly)
{
    const auto read = Add("\\PhysicalDisk(_Total)\\Disk Read Bytes/sec");
    const auto written = Add("\\PhysicalDisk(_Total)\\Disk Write Bytes/sec");
    const auto busy = Add("\\PhysicalDisk(_Total)\\% Disk Time");
    const auto sdaBusy = Add("\\PhysicalDisk(sda)\\% Disk Time");
    const auto sdaRead = Add("\\PhysicalDisk(sda)\\Disk Read Bytes/sec");
    ASSERT_EQ(pdh.PdhCollectQueryData(query), kErrorSuccess);
    machine.Later();
    ASSERT_EQ(pdh.PdhCollectQueryData(query), kErrorSuccess);
    EXPECT_EQ(Format(read), 1536000);
    EXPECT_EQ(Format(written), 256000);
    EXPECT_EQ(Format(busy), 35) << "the average of 50 % and 20 %";
    EXPECT_EQ(Format(sdaBusy), 50);
    EXPECT_EQ(Format(sdaRead), 1024000);
}

TEST_F(CounterQueryLinuxTest, InstantaneousCountersNeedOneCollection)
{
    const auto bytes = Add("\\Memory\\Available Bytes");
    const auto kbytes = Add("\\Memory\\Available KBytes");
    const auto mbytes = Add("\\Memory\\Available MBytes");
    const auto committed = Add("\\Memory\\% Committed Bytes In Use");
    const auto processes = Add("\\System\\Processes");
    const auto threads = Add("\\System\\Threads");
    const auto uptime = Add("\\System\\System Up Time");
    ASSERT_EQ(pdh.PdhCollectQueryData(query), kErrorSuccess);
    EXPECT_EQ(Format(bytes), INT32_MAX) << "8 GB does not fit a long";
    EXPECT_EQ(Format(kbytes), 8192000);
    EXPECT_EQ(Format(mbytes), 8000);
    EXPECT_EQ(Format(committed), 25);
    EXPECT_EQ(Format(processes), 3);
    EXPECT_EQ(Format(threads), 731);
    EXPECT_EQ(Format(uptime), 1000);
}

TEST_F(CounterQueryLinuxTest, MemoryWithoutMemAvailableCountsTheCaches)
{
    std::ofstream(machine.Proc() / "meminfo") << "MemFree: 1000 kB\nBuffers: 24 kB\nCached: 1024 kB\n";
    const auto kbytes = Add("\\Memory\\Available KBytes");
    const auto mbytes = Add("\\Memory\\Available MBytes");
    const auto committed = Add("\\Memory\\% Committed Bytes In Use");
    ASSERT_EQ(pdh.PdhCollectQueryData(query), kErrorSuccess);
    EXPECT_EQ(Format(kbytes), 2048);
    EXPECT_EQ(Format(mbytes), 2);
    PdhStatus status = 0, cstatus = 0;
    Format(committed, &status, &cstatus);
    EXPECT_EQ(status, kPdhInvalidData);
    EXPECT_EQ(cstatus, kPdhCstatusNoInstance);
}

TEST_F(CounterQueryLinuxTest, AMemoryKeyGivenTwiceCountsWithItsLastReadableValue)
{
    std::ofstream(machine.Proc() / "meminfo") << "MemAvailable: 1024 kB\nMemAvailable: 3072 kB\nMemAvailable: x\n"
                                                 "CommitLimit: 100 kB\n Committed_AS: 90 kB\n";
    const auto kbytes = Add("\\Memory\\Available KBytes");
    const auto committed = Add("\\Memory\\% Committed Bytes In Use");
    ASSERT_EQ(pdh.PdhCollectQueryData(query), kErrorSuccess);
    EXPECT_EQ(Format(kbytes), 3072);
    PdhStatus status = 0, cstatus = 0;
    Format(committed, &status, &cstatus);
    EXPECT_EQ(cstatus, kPdhCstatusNoInstance) << "a key is the text before the colon, blanks and all";
}

TEST_F(CounterQueryLinuxTest, AnAbsentInstanceIsFoundWhenFormatting)
{
    const auto cpu = Add("\\Processor(7)\\% Processor Time");
    const auto nic = Add("\\Network Interface(eth9)\\Bytes Received/sec");
    const auto disk = Add("\\PhysicalDisk(sdz)\\Disk Read Bytes/sec");
    const auto letters = Add("\\Processor(one)\\% Processor Time");
    ASSERT_EQ(pdh.PdhCollectQueryData(query), kErrorSuccess);
    machine.Later();
    ASSERT_EQ(pdh.PdhCollectQueryData(query), kErrorSuccess);
    for (const auto counter : {cpu, nic, disk, letters}) {
        PdhStatus status = 0, cstatus = 0;
        EXPECT_EQ(Format(counter, &status, &cstatus), 0);
        EXPECT_EQ(status, kPdhInvalidData);
        EXPECT_EQ(cstatus, kPdhCstatusNoInstance);
    }
}

TEST_F(CounterQueryLinuxTest, ACountThatWentBackwardsIsInvalidData)
{
    const auto received = Add("\\Network Interface(eth0)\\Bytes Received/sec");
    machine.Later();
    ASSERT_EQ(pdh.PdhCollectQueryData(query), kErrorSuccess);
    std::filesystem::copy(kFixtures / "counters" / "proc", machine.Proc(),
                          std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
    std::ofstream(machine.Proc() / "uptime") << "1005.00 1.00\n";
    ASSERT_EQ(pdh.PdhCollectQueryData(query), kErrorSuccess);
    PdhStatus status = 0, cstatus = 0;
    Format(received, &status, &cstatus);
    EXPECT_EQ(status, kPdhInvalidData);
    EXPECT_EQ(cstatus, kPdhCstatusInvalidData);
}

TEST_F(CounterQueryLinuxTest, UnknownPathsAreRefusedWhenAdded)
{
    PdhCounterHandle counter = 0;
    EXPECT_EQ(pdh.PdhAddCounter(query, "\\Processor(_Total)\\% Nothing", 0, &counter), kPdhCstatusNoCounter);
    EXPECT_EQ(pdh.PdhAddCounter(query, "\\Nowhere\\Processes", 0, &counter), kPdhCstatusNoObject);
    EXPECT_EQ(pdh.PdhAddCounter(query, "", 0, &counter), kPdhCstatusBadCountername);
    EXPECT_EQ(pdh.PdhAddCounter(0, "\\System\\Processes", 0, &counter), kPdhInvalidHandle);
    EXPECT_EQ(counter, 0u);
}

TEST_F(CounterQueryLinuxTest, QueriesWithoutCountersOrClosedHaveNothingToCollect)
{
    EXPECT_EQ(pdh.PdhCollectQueryData(query), kPdhNoData);
    EXPECT_EQ(pdh.PdhCollectQueryData(0), kPdhInvalidHandle);
    const auto counter = Add("\\System\\Processes");
    EXPECT_EQ(pdh.PdhCloseQuery(query), kErrorSuccess);
    EXPECT_EQ(pdh.PdhCollectQueryData(query), kPdhInvalidHandle);
    PdhFmtCounterValue value;
    EXPECT_EQ(pdh.PdhGetFormattedCounterValue(counter, kPdhFmtLong, nullptr, &value), kPdhInvalidHandle);
    EXPECT_EQ(pdh.PdhCloseQuery(query), kPdhInvalidHandle);
    PdhQueryHandle fromLog = 0;
    EXPECT_EQ(pdh.PdhOpenQuery("counters.blg", 1, &fromLog), kPdhInvalidArgument);
}

TEST_F(CounterQueryLinuxTest, SourcesThatCannotBeReadGiveNoInstance)
{
    test::TempDir empty;
    CounterQueryLinux bare(empty.Path() / "proc", empty.Path() / "sys");
    PdhQueryHandle q = 0;
    ASSERT_EQ(bare.PdhOpenQuery(nullptr, 1, &q), kErrorSuccess);
    std::vector<PdhCounterHandle> counters;
    for (const char* path : {"\\Processor(_Total)\\% Processor Time", "\\Memory\\Available KBytes", "\\System\\Threads",
                             "\\System\\Processes", "\\System\\System Up Time",
                             "\\Network Interface(_Total)\\Bytes Total/sec", "\\PhysicalDisk(_Total)\\% Disk Time"}) {
        PdhCounterHandle c = 0;
        ASSERT_EQ(bare.PdhAddCounter(q, path, 0, &c), kErrorSuccess) << path;
        counters.push_back(c);
    }
    ASSERT_EQ(bare.PdhCollectQueryData(q), kErrorSuccess);
    ASSERT_EQ(bare.PdhCollectQueryData(q), kErrorSuccess);
    for (const auto c : counters) {
        PdhFmtCounterValue value;
        EXPECT_EQ(bare.PdhGetFormattedCounterValue(c, kPdhFmtLong, nullptr, &value), kPdhInvalidData);
        EXPECT_EQ(value.CStatus, kPdhCstatusNoInstance);
    }
}

struct FilesCase {
    std::vector<const char*> paths;
    // The files below the proc root that one collection reads, once each.
    std::vector<const char*> files;
};

class CounterFilesTest : public ::testing::TestWithParam<FilesCase> {};

TEST_P(CounterFilesTest, ACollectionReadsOnlyTheFilesOfItsCounters)
{
    const FilesCase& c = GetParam();
    CounterMachine machine;
    test::CountingFiles files;
    CounterQueryLinux pdh(machine.Proc(), machine.Sys(), files.snapshot);
    PdhQueryHandle query = 0;
    ASSERT_EQ(pdh.PdhOpenQuery(nullptr, 1, &query), kErrorSuccess);
    for (const char* path : c.paths) {
        PdhCounterHandle counter = 0;
        ASSERT_EQ(pdh.PdhAddCounter(query, path, 0, &counter), kErrorSuccess) << path;
    }
    std::map<std::string, int> expected;
    for (const char* file : c.files) expected[(machine.Proc() / file).string()] = 1;
    for (int collection = 0; collection < 2; ++collection) {
        ASSERT_EQ(pdh.PdhCollectQueryData(query), kErrorSuccess);
        EXPECT_EQ(files.Take(), expected) << c.paths.front() << ", collection " << collection;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Counters, CounterFilesTest,
    ::testing::Values(
        FilesCase{{"\\Processor(_Total)\\% Processor Time", "\\Processor(1)\\% Processor Time"}, {"stat"}},
        FilesCase{{"\\Memory\\Available KBytes", "\\Memory\\% Committed Bytes In Use"}, {"meminfo"}},
        FilesCase{{"\\System\\Threads"}, {"loadavg"}},
        FilesCase{{"\\System\\System Up Time"}, {"uptime"}},
        FilesCase{{"\\System\\Processes"}, {}},
        FilesCase{{"\\Network Interface(_Total)\\Bytes Total/sec", "\\Network Interface(eth0)\\Bytes Sent/sec"},
                  {"net/dev", "uptime"}},
        FilesCase{{"\\PhysicalDisk(_Total)\\% Disk Time", "\\PhysicalDisk(sda)\\Disk Read Bytes/sec"},
                  {"diskstats", "uptime"}},
        FilesCase{{"\\Processor(_Total)\\% Processor Time", "\\Network Interface(eth0)\\Bytes Received/sec",
                   "\\System\\System Up Time"},
                  {"stat", "net/dev", "uptime"}}));

TEST(ExampleCounters, EverySectionOfTheBundledFileNamesAKnownCounter)
{
    const IniFile ini = IniFile::FromFile(std::filesystem::path(DOTVANE_SOURCE_DIR) / "examples/LCDPERF.INI");
    ASSERT_EQ(ini.ErrorLine(), 0);
    ASSERT_FALSE(ini.Sections().empty());
    for (const std::string& section : ini.Sections()) {
        EXPECT_TRUE(section.starts_with("pdh_")) << section;
        CounterPath path;
        EXPECT_EQ(ParseCounterPath(ini.GetString(section, "name", ""), path), kErrorSuccess) << section;
    }
}

}  // namespace
}  // namespace dotvane::platform
