#include "platform/linux/HwmonSensorLayout.h"
#include "platform/linux/NamedSectionsLinux.h"
#include "vars/SensorMirror.h"

#include "tests/support/CountingFiles.h"
#include "tests/support/SensorSection.h"
#include "tests/support/TempDir.h"
#include "tests/support/Variables.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <bit>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <fstream>
#include <map>
#include <mutex>
#include <thread>

namespace dotvane::platform {
namespace {

const std::filesystem::path kMachine = std::filesystem::path(DOTVANE_FIXTURES) / "hwmon";

double ReadingAt(const std::vector<std::byte>& bytes, size_t record)
{
    uint64_t bits = 0;
    const size_t offset = 88 + 80 * record + 16;
    for (size_t k = 0; k < 8; ++k) bits |= static_cast<uint64_t>(bytes.at(offset + k)) << (8 * k);
    return std::bit_cast<double>(bits);
}

int32_t Int32At(const std::vector<std::byte>& bytes, size_t offset)
{
    uint32_t value = 0;
    for (size_t k = 0; k < 4; ++k) value |= static_cast<uint32_t>(bytes.at(offset + k)) << (8 * k);
    return static_cast<int32_t>(value);
}

// A copy of the fixture machine whose files a test may change.
class MachineCopy {
public:
    MachineCopy() { std::filesystem::copy(kMachine, dir.Path(), std::filesystem::copy_options::recursive); }
    std::filesystem::path Sys() const { return dir.Path() / "sys"; }
    std::filesystem::path Proc() const { return dir.Path() / "proc"; }
    test::TempDir dir;
};

TEST(HwmonSensorLayout, PlacesTheKernelsReadingsInTheMonitorsRegions)
{
    HwmonSensorLayout layout(kMachine / "sys", kMachine / "proc");
    const std::vector<std::byte> bytes = layout.Build();
    ASSERT_EQ(bytes.size(), 88u + 80u * 68u);
    const int32_t types[] = {1, 2, 3, 4, 5, 0, 0, 0, 0};
    const int32_t counts[] = {32, 16, 16, 1, 3, 0, 0, 0, 0};
    for (size_t i = 0; i < 9; ++i) {
        EXPECT_EQ(Int32At(bytes, 8 + 8 * i), types[i]) << "entry " << i;
        EXPECT_EQ(Int32At(bytes, 12 + 8 * i), counts[i]) << "entry " << i;
    }
    // Devices by number (0, 2, 10; files of hwmon2 in its device folder),
    // channels by number (temp1, temp2, temp10); unreadable files skipped.
    const double temperatures[] = {45.8, 51.0, -3.7, 30.0, 27.5, 0.0};
    for (size_t j = 0; j < std::size(temperatures); ++j) EXPECT_DOUBLE_EQ(ReadingAt(bytes, j), temperatures[j]) << j;
    EXPECT_DOUBLE_EQ(ReadingAt(bytes, 31), 0);
    EXPECT_DOUBLE_EQ(ReadingAt(bytes, 32), 1.648);
    EXPECT_DOUBLE_EQ(ReadingAt(bytes, 33), 12.19);
    EXPECT_DOUBLE_EQ(ReadingAt(bytes, 34), 5.0);
    EXPECT_DOUBLE_EQ(ReadingAt(bytes, 35), 0);
    EXPECT_DOUBLE_EQ(ReadingAt(bytes, 48), 2812);
    EXPECT_DOUBLE_EQ(ReadingAt(bytes, 49), 900);
    EXPECT_DOUBLE_EQ(ReadingAt(bytes, 50), 0);
    EXPECT_DOUBLE_EQ(ReadingAt(bytes, 64), 2400);
    for (size_t j = 65; j < 68; ++j) EXPECT_DOUBLE_EQ(ReadingAt(bytes, j), 0) << "usage needs two samples";
}

TEST(HwmonSensorLayout, UsageIsTheBusyShareBetweenTwoSamples)
{
    MachineCopy machine;
    HwmonSensorLayout layout(machine.Sys(), machine.Proc());
    layout.Build();
    // All processors: 150 of 200 ticks busy; cpu0: 100 of 100; cpu1: 50 of 100.
    std::ofstream(machine.Proc() / "stat") << "cpu  200 0 150 750 100 0 0 0 0 0\n"
                                              "cpu0 100 0 100 350 50 0 0 0 0 0\n"
                                              "cpu1 100 0 50 400 50 0 0 0 0 0\n";
    const auto bytes = layout.Build();
    EXPECT_DOUBLE_EQ(ReadingAt(bytes, 65), 75);
    EXPECT_DOUBLE_EQ(ReadingAt(bytes, 66), 100);
    EXPECT_DOUBLE_EQ(ReadingAt(bytes, 67), 50);
    // No time passed: nothing was busy.
    EXPECT_DOUBLE_EQ(ReadingAt(layout.Build(), 65), 0);
}

TEST(HwmonSensorLayout, ClockFallsBackToCpuinfoAndMissingReadingsGiveNoSection)
{
    MachineCopy machine;
    std::filesystem::remove_all(machine.Sys() / "devices");
    HwmonSensorLayout layout(machine.Sys(), machine.Proc());
    EXPECT_DOUBLE_EQ(ReadingAt(layout.Build(), 64), 1800.25);

    test::TempDir empty;
    EXPECT_TRUE(HwmonSensorLayout(empty.Path() / "sys", empty.Path() / "proc").Build().empty());
}

TEST(HwmonSensorLayout, AtMostThirtyFiveUsageRecords)
{
    test::TempDir dir;
    std::string stat = "cpu  1 1 1 1 1 0 0 0\n";
    for (int n = 0; n < 40; ++n) stat += "cpu" + std::to_string(n) + " 1 1 1 1 1 0 0 0\n";
    dir.Write("proc/stat", stat);
    const auto bytes = HwmonSensorLayout(dir.Path() / "sys", dir.Path() / "proc").Build();
    EXPECT_EQ(Int32At(bytes, 12 + 8 * 4), 35);
    EXPECT_EQ(bytes.size(), 88u + 80u * 100u);
}

// The value files of the fixture machine, each read once by every Build.
std::map<std::string, int> ValueFilesOnce(const std::filesystem::path& sys, const std::filesystem::path& proc)
{
    const std::filesystem::path hwmon = sys / "class" / "hwmon";
    std::map<std::string, int> files;
    for (const char* name : {"hwmon0/fan1_input", "hwmon0/fan2_input", "hwmon0/in0_input", "hwmon0/in1_input",
                             "hwmon0/temp1_input", "hwmon0/temp2_input", "hwmon0/temp10_input",
                             "hwmon2/device/fan3_input", "hwmon2/device/in0_input", "hwmon2/device/temp1_input",
                             "hwmon10/temp1_input"})
        files[(hwmon / name).string()] = 1;
    files[(proc / "stat").string()] = 1;
    return files;
}

TEST(HwmonSensorLayout, ABuildReadsOnlyTheValueFilesFoundAtTheFirst)
{
    MachineCopy machine;
    test::CountingFiles files;
    HwmonSensorLayout layout(machine.Sys(), machine.Proc(), files.snapshot);
    const auto first = layout.Build();
    files.Take();
    const auto cpufreq = machine.Sys() / "devices/system/cpu/cpu0/cpufreq/scaling_cur_freq";
    for (int build = 0; build < 3; ++build) {
        EXPECT_EQ(layout.Build(), first);
        auto expected = ValueFilesOnce(machine.Sys(), machine.Proc());
        expected[cpufreq.string()] = 1;
        EXPECT_EQ(files.Take(), expected) << "build " << build;
    }
}

TEST(HwmonSensorLayout, CpuinfoIsReadOnlyOncePerPeriod)
{
    MachineCopy machine;
    std::filesystem::remove_all(machine.Sys() / "devices");
    test::CountingFiles files;
    auto now = std::chrono::steady_clock::time_point{} + std::chrono::hours(1);
    HwmonSensorLayout layout(machine.Sys(), machine.Proc(), files.snapshot, [&] { return now; });
    const auto cpuinfo = machine.Proc() / "cpuinfo";
    EXPECT_DOUBLE_EQ(ReadingAt(layout.Build(), 64), 1800.25);
    EXPECT_EQ(files.Take()[cpuinfo.string()], 1);

    std::ofstream(cpuinfo) << "processor\t: 0\ncpu MHz\t\t: 2000.5\n";
    now += HwmonSensorLayout::kCpuinfoPeriod - std::chrono::milliseconds(1);
    EXPECT_DOUBLE_EQ(ReadingAt(layout.Build(), 64), 1800.25);
    EXPECT_EQ(files.Take(), ValueFilesOnce(machine.Sys(), machine.Proc()));

    now += std::chrono::milliseconds(1);
    EXPECT_DOUBLE_EQ(ReadingAt(layout.Build(), 64), 2000.5);
    EXPECT_EQ(files.Take()[cpuinfo.string()], 1);
    EXPECT_DOUBLE_EQ(ReadingAt(layout.Build(), 64), 2000.5);
    EXPECT_EQ(files.ReadsOf(cpuinfo), 0);
}

TEST(HwmonSensorLayout, WithCpufreqCpuinfoIsNeverRead)
{
    MachineCopy machine;
    test::CountingFiles files;
    auto now = std::chrono::steady_clock::time_point{};
    HwmonSensorLayout layout(machine.Sys(), machine.Proc(), files.snapshot, [&] { return now; });
    for (int build = 0; build < 3; ++build) {
        EXPECT_DOUBLE_EQ(ReadingAt(layout.Build(), 64), 2400);
        now += HwmonSensorLayout::kCpuinfoPeriod;
    }
    EXPECT_EQ(files.ReadsOf(machine.Proc() / "cpuinfo"), 0);
}

TEST(HwmonSensorLayout, NewSensorsAndClockSourcesCountFromTheNextRediscovery)
{
    MachineCopy machine;
    const auto cpufreq = machine.Sys() / "devices/system/cpu/cpu0/cpufreq/scaling_cur_freq";
    std::filesystem::remove(cpufreq);
    HwmonSensorLayout layout(machine.Sys(), machine.Proc());
    auto bytes = layout.Build();
    EXPECT_DOUBLE_EQ(ReadingAt(bytes, 3), 30.0);
    EXPECT_DOUBLE_EQ(ReadingAt(bytes, 64), 1800.25);

    machine.dir.Write("sys/class/hwmon/hwmon1/temp1_input", "60000\n");
    std::ofstream(cpufreq) << "3000000\n";
    bytes = layout.Build();
    EXPECT_DOUBLE_EQ(ReadingAt(bytes, 3), 30.0);
    EXPECT_DOUBLE_EQ(ReadingAt(bytes, 64), 1800.25);

    layout.Rediscover();
    bytes = layout.Build();
    const double temperatures[] = {45.8, 51.0, -3.7, 60.0, 30.0, 27.5, 0.0};
    for (size_t j = 0; j < std::size(temperatures); ++j) EXPECT_DOUBLE_EQ(ReadingAt(bytes, j), temperatures[j]) << j;
    EXPECT_DOUBLE_EQ(ReadingAt(bytes, 64), 3000);

    // A sensor that goes away is left out at once, and those after it move up.
    std::filesystem::remove_all(machine.Sys() / "class" / "hwmon" / "hwmon1");
    bytes = layout.Build();
    EXPECT_DOUBLE_EQ(ReadingAt(bytes, 3), 30.0);
    EXPECT_DOUBLE_EQ(ReadingAt(bytes, 4), 27.5);
}

TEST(HwmonSensorLayout, ADeviceWhoseOwnFilesGiveNoReadingUsesTheFolderBelow)
{
    test::TempDir dir;
    dir.Write("sys/class/hwmon/hwmon0/temp1_input", "garbage\n");
    dir.Write("sys/class/hwmon/hwmon0/device/temp1_input", "41000\n");
    dir.Write("sys/class/hwmon/hwmon0/device/temp2_input", "42000\n");
    HwmonSensorLayout layout(dir.Path() / "sys", dir.Path() / "proc");
    auto bytes = layout.Build();
    EXPECT_DOUBLE_EQ(ReadingAt(bytes, 0), 41.0);
    EXPECT_DOUBLE_EQ(ReadingAt(bytes, 1), 42.0);
    // Once the own file reads, the folder below no longer counts.
    dir.Write("sys/class/hwmon/hwmon0/temp1_input", "39000\n");
    bytes = layout.Build();
    EXPECT_DOUBLE_EQ(ReadingAt(bytes, 0), 39.0);
    EXPECT_DOUBLE_EQ(ReadingAt(bytes, 1), 0.0);
}

// A POSIX shared-memory object written by the test, under a name of its own.
class SharedSection {
public:
    SharedSection()
    {
        static std::atomic<int> serial{0};
        prefix = "dotvane-test-" + std::to_string(getpid()) + "-" + std::to_string(serial++) + "-";
    }
    ~SharedSection() { Remove(); }

    void Write(const std::vector<std::byte>& bytes)
    {
        const std::string name = "/" + prefix + "$M$B$M$5$S$D$";
        const int fd = shm_open(name.c_str(), O_CREAT | O_RDWR, 0600);
        ASSERT_GE(fd, 0) << std::strerror(errno);
        ASSERT_EQ(ftruncate(fd, static_cast<off_t>(bytes.size())), 0);
        ASSERT_EQ(pwrite(fd, bytes.data(), bytes.size(), 0), static_cast<ssize_t>(bytes.size()));
        close(fd);
    }
    void Remove() { shm_unlink(Name().c_str()); }
    std::string Name() const { return "/" + prefix + "$M$B$M$5$S$D$"; }

    std::string prefix;
};

class SharedSensorsTest : public test::VariablesTest {
protected:
    void TearDown() override { NamedSectionsService::Install(nullptr); }
    bool RefreshSensors() { return dotvane::RefreshSensors(SensorMirror); }
    // Reads through POSIX shared memory only: the machine offers no hwmon
    // readings to stand in for a missing section.
    void UseSharedMemoryOnly()
    {
        sections = std::make_unique<NamedSectionsLinux>(empty.Path() / "sys", empty.Path() / "proc", shared.prefix);
        NamedSectionsService::Install(sections.get());
    }

    test::TempDir empty;
    SharedSection shared;
    std::unique_ptr<NamedSectionsLinux> sections;
    SensorReadings& SensorMirror = Values.SensorMirror;
};

TEST_F(SharedSensorsTest, ReadsTheReadingsAtTheMonitorsOffsets)
{
    test::SensorSection section(33);
    section.SetCount(0, 2).SetCount(1, 31);
    section.SetReading(0, 45.8).SetReading(1, -3.7).SetReading(32, 1.648);
    shared.Write(section.bytes);
    UseSharedMemoryOnly();
    ASSERT_TRUE(RefreshSensors());
    EXPECT_EQ(ExpandLine("$mbmtemp(0)$|$mbmtemp(1)$|$mbmvolt(0)$"), "45|-3|1.65");

    shared.Write(section.SetReading(32, 12.19).bytes);
    ASSERT_TRUE(RefreshSensors());
    EXPECT_EQ(ExpandVariable("mbmvolt(0)"), "12.2");
    shared.Write(section.SetReading(32, 5).bytes);
    ASSERT_TRUE(RefreshSensors());
    EXPECT_EQ(ExpandVariable("mbmvolt(0)"), "   5");
}

TEST_F(SharedSensorsTest, CountsSummingToTenLeaveTheVoltagesAtZero)
{
    test::SensorSection section(40);
    section.SetCount(0, 6).SetCount(2, 4);
    for (size_t j = 0; j < 40; ++j) section.SetReading(j, 3.3);
    shared.Write(section.bytes);
    UseSharedMemoryOnly();
    ASSERT_TRUE(RefreshSensors());
    EXPECT_EQ(ExpandVariable("mbmtemp(9)"), "3");
    EXPECT_EQ(SensorMirror[10], 0);
    EXPECT_EQ(ExpandVariable("mbmvolt(0)"), "   0");
}

TEST_F(SharedSensorsTest, AbsentSinceStartThenGoneAgainKeepsTheLastReadings)
{
    UseSharedMemoryOnly();
    EXPECT_FALSE(RefreshSensors());
    EXPECT_EQ(ExpandLine("$mbmtemp(0)$ $mbmvolt(0)$ $mbmfan(0)$ $mbmmhz$ $mbmusage(0)$"), "0    0 0 0 0");

    test::SensorSection section(65);
    section.SetCount(0, 65).SetReading(0, 61.2).SetReading(64, 3000.4);
    shared.Write(section.bytes);
    ASSERT_TRUE(RefreshSensors());
    shared.Remove();
    EXPECT_FALSE(RefreshSensors());
    EXPECT_EQ(ExpandVariable("mbmtemp(0)"), "61");
    EXPECT_EQ(ExpandVariable("mbmmhz"), "3000");
    EXPECT_EQ(ExpandVariable("mbmmhz(5)"), ExpandVariable("mbmmhz"));
}

TEST_F(SharedSensorsTest, AnObjectShorterThanItsAnnouncedRecordsIsReadOnlyToItsEnd)
{
    test::SensorSection section(3);
    section.SetCount(0, 90).SetReading(0, 1).SetReading(1, 2).SetReading(2, 3);
    section.bytes.resize(88 + 80 * 2 + 23);
    shared.Write(section.bytes);
    UseSharedMemoryOnly();
    SensorMirror[2] = 42;
    SensorMirror[3] = 43;
    ASSERT_TRUE(RefreshSensors());
    EXPECT_EQ(SensorMirror[1], 2);
    EXPECT_EQ(SensorMirror[2], 42);
    EXPECT_EQ(SensorMirror[3], 43);
}

TEST_F(SharedSensorsTest, WithoutAMonitorTheKernelsReadingsStandIn)
{
    sections = std::make_unique<NamedSectionsLinux>(kMachine / "sys", kMachine / "proc", shared.prefix);
    NamedSectionsService::Install(sections.get());
    ASSERT_TRUE(RefreshSensors());
    EXPECT_EQ(ExpandLine("$mbmtemp(0)$ $mbmvolt(1)$ $mbmfan(0)$ $mbmmhz$"), "45 12.2 2812 2400");
    // Any other section name is only ever a shared-memory object.
    EXPECT_EQ(sections->OpenFileMapping("another section"), 0u);

    // A published section takes precedence over the kernel's readings.
    test::SensorSection section(1);
    shared.Write(section.SetCount(0, 1).SetReading(0, 20.5).bytes);
    ASSERT_TRUE(RefreshSensors());
    EXPECT_EQ(ExpandVariable("mbmtemp(0)"), "20");
    EXPECT_EQ(ExpandVariable("mbmmhz"), "2400");
}

TEST_F(SharedSensorsTest, RediscoveringFindsSensorsAddedSinceTheStart)
{
    MachineCopy machine;
    sections = std::make_unique<NamedSectionsLinux>(machine.Sys(), machine.Proc(), shared.prefix);
    NamedSectionsService::Install(sections.get());
    ASSERT_TRUE(RefreshSensors());
    EXPECT_EQ(ExpandVariable("mbmtemp(3)"), "30");
    machine.dir.Write("sys/class/hwmon/hwmon1/temp1_input", "60000\n");
    ASSERT_TRUE(RefreshSensors());
    EXPECT_EQ(ExpandVariable("mbmtemp(3)"), "30");
    NamedSectionsService::Current().RediscoverSensors();
    ASSERT_TRUE(RefreshSensors());
    EXPECT_EQ(ExpandLine("$mbmtemp(3)$ $mbmtemp(4)$"), "60 30");
}

TEST_F(SharedSensorsTest, ViewsAreUnmappedAndHandlesClosed)
{
    test::SensorSection section(1);
    shared.Write(section.SetCount(0, 1).bytes);
    UseSharedMemoryOnly();
    const auto mapping = sections->OpenFileMapping("$M$B$M$5$S$D$");
    ASSERT_NE(mapping, 0u);
    const std::byte* view = sections->MapViewOfFile(mapping, kSensorSectionBytes);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(sections->ViewSize(view), section.bytes.size());
    sections->UnmapViewOfFile(view);
    EXPECT_EQ(sections->ViewSize(view), 0u);
    sections->CloseHandle(mapping);
    EXPECT_EQ(sections->MapViewOfFile(mapping, kSensorSectionBytes), nullptr);
}

// Another process empties the object, lets it grow again, removes it and
// makes it anew, over and over, while the refreshes read it. A mapped view
// would take SIGBUS on a page past the new end. The changer fills the records
// before the index that announces them, so no reading is ever half written.
TEST_F(SharedSensorsTest, AnObjectChangingWhileItIsReadGivesWholeReadingsOrNone)
{
    test::SensorSection section(100);
    section.SetCount(0, 100);
    for (size_t j = 0; j < 100; ++j) section.SetReading(j, 40.5 + static_cast<double>(j));
    shared.Write(section.bytes);
    UseSharedMemoryOnly();

    std::atomic<bool> stop{false};
    std::thread changer([&] {
        const std::string name = shared.Name();
        const std::byte* bytes = section.bytes.data();
        // Holds each state a little while, so that reads often span a change.
        const auto hold = [] {
            volatile int spin = 0;
            while (spin < 20000) spin = spin + 1;
        };
        for (unsigned round = 0; !stop; ++round) {
            const int fd = shm_open(name.c_str(), O_CREAT | O_RDWR, 0600);
            if (fd < 0) continue;
            (void)!ftruncate(fd, 0);
            hold();
            (void)!ftruncate(fd, static_cast<off_t>(section.bytes.size()));
            (void)!pwrite(fd, bytes + 88, section.bytes.size() - 88, 88);
            (void)!pwrite(fd, bytes, 88, 0);
            close(fd);
            hold();
            if (round % 5 == 0) shm_unlink(name.c_str());
        }
    });
    int read = 0;
    for (int refresh = 0; refresh < 20000; ++refresh) {
        read += RefreshSensors();
        for (size_t j = 0; j < 100; ++j)
            if (SensorMirror[j] != 0 && SensorMirror[j] != 40.5 + static_cast<double>(j))
                ADD_FAILURE() << "slot " << j << " holds " << SensorMirror[j] << " at refresh " << refresh;
    }
    stop = true;
    changer.join();
    EXPECT_GT(read, 0);
}

// Sections that forward to the Linux ones, and cut the object to `cutTo`
// bytes as soon as a view of it has been taken: before the refresh reads it.
class CuttingSections : public NamedSections {
public:
    CuttingSections(NamedSections& sections, std::string name, off_t cutTo)
        : sections_(sections), name_(std::move(name)), cutTo_(cutTo)
    {
    }
    Mapping OpenFileMapping(std::string_view name) override { return sections_.OpenFileMapping(name); }
    const std::byte* MapViewOfFile(Mapping mapping, size_t limit) override
    {
        const std::byte* view = sections_.MapViewOfFile(mapping, limit);
        const int fd = shm_open(name_.c_str(), O_RDWR, 0);
        if (fd >= 0) {
            (void)!ftruncate(fd, cutTo_);
            close(fd);
        }
        return view;
    }
    size_t ViewSize(const std::byte* view) override { return sections_.ViewSize(view); }
    void UnmapViewOfFile(const std::byte* view) override { sections_.UnmapViewOfFile(view); }
    void CloseHandle(Mapping mapping) override { sections_.CloseHandle(mapping); }

private:
    NamedSections& sections_;
    std::string name_;
    off_t cutTo_;
};

TEST_F(SharedSensorsTest, AnObjectCutOnceItsViewIsTakenIsReadAsItWas)
{
    test::SensorSection section(100);
    section.SetCount(0, 100);
    for (size_t j = 0; j < 100; ++j) section.SetReading(j, 0.25 + static_cast<double>(j));
    for (const off_t cutTo : {off_t{4096}, off_t{0}}) {
        shared.Write(section.bytes);
        UseSharedMemoryOnly();
        CuttingSections cutting(*sections, shared.Name(), cutTo);
        const NamedSectionsService::Scoped installed(cutting);
        SensorMirror.fill(0);
        ASSERT_TRUE(RefreshSensors());
        EXPECT_EQ(SensorMirror[0], 0.25);
        EXPECT_EQ(SensorMirror[99], 99.25);
    }
}

TEST_F(SharedSensorsTest, AHugeObjectIsCopiedOnlyAsFarAsTheReadingsReach)
{
    test::SensorSection section(101);
    section.SetCount(0, 101).SetReading(99, 99.5).SetReading(100, 100.5);
    shared.Write(section.bytes);
    const int fd = shm_open(shared.Name().c_str(), O_RDWR, 0);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, off_t{1} << 40), 0) << std::strerror(errno);  // a terabyte, never written
    close(fd);
    UseSharedMemoryOnly();

    const auto mapping = sections->OpenFileMapping("$M$B$M$5$S$D$");
    ASSERT_NE(mapping, 0u);
    const std::byte* view = sections->MapViewOfFile(mapping, kSensorSectionBytes);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(sections->ViewSize(view), 8032u);
    sections->UnmapViewOfFile(view);
    sections->CloseHandle(mapping);

    ASSERT_TRUE(RefreshSensors());
    EXPECT_EQ(SensorMirror[99], 99.5);
}

// A FIFO in the object's place: opening it for reading would wait for a
// writer. If the refresh does wait, a writer comes after five seconds to let
// the test end, and the test fails.
TEST_F(SharedSensorsTest, AFifoInTheObjectsPlaceIsNotWaitedFor)
{
    const std::string path = "/dev/shm" + shared.Name();
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0) << std::strerror(errno);
    UseSharedMemoryOnly();

    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    bool rescued = false;
    std::thread rescuer([&] {
        std::unique_lock lock(mutex);
        if (finished.wait_for(lock, std::chrono::seconds(5), [&] { return done; })) return;
        rescued = true;
        lock.unlock();
        const int fd = open(path.c_str(), O_WRONLY);
        if (fd >= 0) close(fd);
    });
    EXPECT_FALSE(RefreshSensors());
    {
        std::lock_guard lock(mutex);
        done = true;
    }
    finished.notify_one();
    rescuer.join();
    EXPECT_FALSE(rescued) << "the refresh waited for a writer";
}

}  // namespace
}  // namespace dotvane::platform
