#include "platform/linux/KernelFileSnapshot.h"

#include "platform/RefreshTick.h"
#include "platform/linux/HwmonSensorLayout.h"
#include "platform/linux/MemoryStatusLinux.h"
#include "platform/linux/RegularFilesLinux.h"
#include "platform/linux/TickCountLinux.h"
#include "platform/linux/pdh/CounterQueryLinux.h"

#include "tests/support/CountingFiles.h"
#include "tests/support/HeldFifo.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <future>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace dotvane::platform {
namespace {

std::string Text(const FileView& view) { return std::string(view.bytes); }

TEST(KernelFileSnapshot, OutsideATickEveryRequestReadsTheFile)
{
    test::TempDir dir;
    const auto file = dir.Write("meminfo", "MemFree: 1 kB\n");
    test::CountingFiles files;
    EXPECT_EQ(Text(files.snapshot.Read(file, 100)), "MemFree: 1 kB\n");
    dir.Write("meminfo", "MemFree: 2 kB\n");
    EXPECT_EQ(Text(files.snapshot.Read(file, 100)), "MemFree: 2 kB\n");
    EXPECT_EQ(files.ReadsOf(file), 2);
}

TEST(KernelFileSnapshot, InATickEachFileIsReadOnceAndAgainInTheNextTick)
{
    test::TempDir dir;
    const auto meminfo = dir.Write("meminfo", "first\n");
    const auto stat = dir.Write("stat", "cpu 1\n");
    test::CountingFiles files;
    files.snapshot.BeginTick();
    EXPECT_EQ(Text(files.snapshot.Read(meminfo, 100)), "first\n");
    const FileView stat1 = files.snapshot.Read(stat, 100);
    dir.Write("meminfo", "second\n");
    EXPECT_EQ(Text(files.snapshot.Read(meminfo, 100)), "first\n");
    EXPECT_EQ(Text(files.snapshot.Read(meminfo, 100)), "first\n");
    // The view of the first file stays valid while others are read.
    EXPECT_EQ(Text(stat1), "cpu 1\n");
    files.snapshot.EndTick();
    EXPECT_EQ(files.ReadsOf(meminfo), 1);
    EXPECT_EQ(files.ReadsOf(stat), 1);

    files.snapshot.BeginTick();
    EXPECT_EQ(Text(files.snapshot.Read(meminfo, 100)), "second\n");
    EXPECT_EQ(Text(files.snapshot.Read(meminfo, 100)), "second\n");
    files.snapshot.EndTick();
    EXPECT_EQ(files.ReadsOf(meminfo), 2);
}

TEST(KernelFileSnapshot, ATickOpenedInsideAnotherIsPartOfIt)
{
    test::TempDir dir;
    const auto file = dir.Write("uptime", "1.00 2.00\n");
    test::CountingFiles files;
    files.snapshot.BeginTick();
    files.snapshot.BeginTick();
    files.snapshot.Read(file, 100);
    files.snapshot.EndTick();
    EXPECT_TRUE(files.snapshot.InTick());
    dir.Write("uptime", "3.00 4.00\n");
    EXPECT_EQ(Text(files.snapshot.Read(file, 100)), "1.00 2.00\n");
    files.snapshot.EndTick();
    EXPECT_FALSE(files.snapshot.InTick());
    EXPECT_EQ(Text(files.snapshot.Read(file, 100)), "3.00 4.00\n");
    EXPECT_EQ(files.ReadsOf(file), 2);
    // A stray end changes nothing.
    files.snapshot.EndTick();
    EXPECT_FALSE(files.snapshot.InTick());
}

TEST(KernelFileSnapshot, ASmallerLimitIsServedFromTheReadAndALargerOneReadsAgain)
{
    test::TempDir dir;
    const auto file = dir.Write("f", "0123456789");
    test::CountingFiles files;
    files.snapshot.BeginTick();
    FileView view = files.snapshot.Read(file, 100);
    EXPECT_EQ(view.status, FileStatus::Ok);
    view = files.snapshot.Read(file, 4);
    EXPECT_EQ(view.status, FileStatus::TooLarge);
    EXPECT_EQ(Text(view), "0123");
    view = files.snapshot.Read(file, 10);
    EXPECT_EQ(view.status, FileStatus::Ok);
    EXPECT_EQ(Text(view), "0123456789");
    EXPECT_EQ(files.ReadsOf(file), 1);
    files.snapshot.EndTick();

    // Cut at 4 first: the whole file needs a read of its own.
    files.snapshot.BeginTick();
    view = files.snapshot.Read(file, 4);
    EXPECT_EQ(view.status, FileStatus::TooLarge);
    EXPECT_EQ(Text(files.snapshot.Read(file, 4)), "0123");
    EXPECT_EQ(files.ReadsOf(file), 2);
    view = files.snapshot.Read(file, 100);
    EXPECT_EQ(view.status, FileStatus::Ok);
    EXPECT_EQ(Text(view), "0123456789");
    EXPECT_EQ(files.ReadsOf(file), 3);
    files.snapshot.EndTick();
}

TEST(KernelFileSnapshot, WhatCannotBeReadIsRememberedForTheTickToo)
{
    test::TempDir dir;
    test::CountingFiles files;
    const auto missing = dir.Path() / "none";
    files.snapshot.BeginTick();
    EXPECT_EQ(files.snapshot.Read(missing, 100).status, FileStatus::Missing);
    dir.Write("none", "now there\n");
    EXPECT_EQ(files.snapshot.Read(missing, 100).status, FileStatus::Missing);
    EXPECT_EQ(files.snapshot.Read(dir.Path(), 100).status, FileStatus::NotRegular);
    files.snapshot.EndTick();
    EXPECT_EQ(files.ReadsOf(missing), 1);
    EXPECT_EQ(Text(files.snapshot.Read(missing, 100)), "now there\n");
}

TEST(KernelFileSnapshot, AFifoIsNotWaitedForInATick)
{
    test::TempDir dir;
    test::HeldFifo fifo(dir.Path() / "stat", "cpu 1 2 3\n");
    KernelFileSnapshot files;
    const auto [prompt, status] = test::ReadWhileHeld(fifo, [&] {
        files.BeginTick();
        const FileStatus read = files.Read(fifo.Path(), 100).status;
        files.EndTick();
        return read;
    });
    EXPECT_TRUE(prompt);
    EXPECT_EQ(status, FileStatus::NotRegular);
}

TEST(KernelFileSnapshot, TheRefreshTickOpensATickOfTheSystemsFiles)
{
    EXPECT_FALSE(SystemKernelFiles().InTick());
    {
        const RefreshTick tick;
        EXPECT_TRUE(SystemKernelFiles().InTick());
        {
            const RefreshTick inner;
        }
        EXPECT_TRUE(SystemKernelFiles().InTick());
    }
    EXPECT_FALSE(SystemKernelFiles().InTick());
}

// Sensors, counters, memory and uptime on one machine: within a tick each
// file they share is read once, whoever asks and however often.
TEST(KernelFileSnapshot, OneTickReadsEachFileOnceForAllSources)
{
    test::TempDir machine;
    machine.Write("proc/stat", "cpu  100 0 100 700 100 0 0 0\ncpu0 100 0 100 700 100 0 0 0\n");
    machine.Write("proc/meminfo", "MemTotal: 2000 kB\nMemAvailable: 500 kB\n");
    machine.Write("proc/uptime", "1000.50 900.00\n");
    machine.Write("proc/self/limits", "Max address space 8192 8192 bytes\n");
    machine.Write("proc/self/status", "VmSize: 4 kB\n");
    machine.Write("sys/class/hwmon/hwmon0/temp1_input", "45000\n");
    const auto cpufreq = machine.Write("sys/devices/system/cpu/cpu0/cpufreq/scaling_cur_freq", "2400000\n");
    const auto proc = machine.Path() / "proc";
    const auto sys = machine.Path() / "sys";
    test::CountingFiles files;
    HwmonSensorLayout sensors(sys, proc, files.snapshot);
    CounterQueryLinux counters(proc, sys, files.snapshot);
    MemoryStatusLinux memory(proc, files.snapshot);
    TickCountLinux ticks(proc, files.snapshot);
    PdhQueryHandle query = 0;
    ASSERT_EQ(counters.PdhOpenQuery(nullptr, 1, &query), kErrorSuccess);
    PdhCounterHandle counter = 0;
    for (const char* path : {"\\Processor(_Total)\\% Processor Time", "\\Memory\\Available KBytes",
                             "\\System\\System Up Time"})
        ASSERT_EQ(counters.PdhAddCounter(query, path, 0, &counter), kErrorSuccess);

    for (int tick = 0; tick < 2; ++tick) {
        files.snapshot.BeginTick();
        EXPECT_FALSE(sensors.Build().empty());
        ASSERT_EQ(counters.PdhCollectQueryData(query), kErrorSuccess);
        MemoryStatusRecord status;
        for (int variable = 0; variable < 3; ++variable) {
            memory.GlobalMemoryStatus(status, MemoryFigures::All);
            EXPECT_EQ(status.AvailPhys, 500u * 1024);
            EXPECT_EQ(ticks.GetTickCount64(), 1000500u);
        }
        files.snapshot.EndTick();
        const std::map<std::string, int> once{{(proc / "stat").string(), 1},
                                              {(proc / "meminfo").string(), 1},
                                              {(proc / "uptime").string(), 1},
                                              {(proc / "self" / "limits").string(), 1},
                                              {(proc / "self" / "status").string(), 1},
                                              {(sys / "class/hwmon/hwmon0/temp1_input").string(), 1},
                                              {cpufreq.string(), 1}};
        EXPECT_EQ(files.Take(), once) << "tick " << tick;
    }
}

TEST(ReadRegularFileInto, ReusesTheBufferForFilesThatFit)
{
    test::TempDir dir;
    const auto small = dir.Write("small", "12345");
    std::string buffer;
    size_t length = 0;
    ASSERT_EQ(ReadRegularFileInto(small, 100, buffer, length), FileStatus::Ok);
    EXPECT_EQ(buffer.substr(0, length), "12345");
    const char* kept = buffer.data();
    const size_t room = buffer.size();
    const auto other = dir.Write("other", "abc");
    ASSERT_EQ(ReadRegularFileInto(other, 100, buffer, length), FileStatus::Ok);
    EXPECT_EQ(buffer.substr(0, length), "abc");
    EXPECT_EQ(buffer.data(), kept);
    EXPECT_EQ(buffer.size(), room);

    // A kernel file that reports no size grows the buffer as it needs.
    ASSERT_EQ(ReadRegularFileInto("/proc/self/status", 1024 * 1024, buffer, length), FileStatus::Ok);
    EXPECT_NE(buffer.substr(0, length).find("VmRSS:"), std::string::npos);
}

TEST(ReadRegularFileInto, KeepsTheLimitAndGrowsForLargerFiles)
{
    test::TempDir dir;
    const std::string big(300000, 'x');
    const auto file = dir.Write("big", big + "y");
    std::string buffer;
    size_t length = 0;
    EXPECT_EQ(ReadRegularFileInto(file, big.size(), buffer, length), FileStatus::TooLarge);
    EXPECT_EQ(length, big.size());
    EXPECT_EQ(ReadRegularFileInto(file, big.size() + 1, buffer, length), FileStatus::Ok);
    EXPECT_EQ(buffer.substr(0, length), big + "y");
    EXPECT_EQ(ReadRegularFileInto(dir.Path(), 100, buffer, length), FileStatus::NotRegular);
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(ReadRegularFileInto("/dev/zero", 100, buffer, length), FileStatus::NotRegular);
    EXPECT_EQ(length, 0u);
}

// The count of this process's open descriptors.
size_t OpenDescriptors()
{
    size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++count;
    return count;
}

TEST(HeldFile, AKernelFileIsHeldAndReadAnewEachTime)
{
    HeldFile held;
    std::string buffer;
    size_t length = 0;
    const auto threads = [&] {
        EXPECT_EQ(ReadRegularFileInto("/proc/self/status", held, true, 1024 * 1024, buffer, length), FileStatus::Ok);
        const std::string text = buffer.substr(0, length);
        const size_t at = text.find("Threads:");
        return at == std::string::npos ? -1 : std::stoi(text.substr(at + 8));
    };
    const int before = threads();
    ASSERT_TRUE(held.IsHeld());
    const size_t open = OpenDescriptors();
    std::promise<void> started;
    std::promise<void> finish;
    std::thread other([&] {
        started.set_value();
        finish.get_future().wait();
    });
    started.get_future().wait();
    // The held file gives the text of now, not the one of its first read.
    EXPECT_EQ(threads(), before + 1);
    EXPECT_EQ(OpenDescriptors(), open);
    finish.set_value();
    other.join();
    held.Release();
    EXPECT_FALSE(held.IsHeld());
}

TEST(HeldFile, AFileOnDiskIsNeverHeld)
{
    test::TempDir dir;
    const auto file = dir.Write("meminfo", "first\n");
    HeldFile held;
    std::string buffer;
    size_t length = 0;
    ASSERT_EQ(ReadRegularFileInto(file, held, true, 100, buffer, length), FileStatus::Ok);
    EXPECT_FALSE(held.IsHeld());
    // Replaced by another file of the same name: the new one is read.
    dir.Write("meminfo.new", "second\n");
    std::filesystem::rename(dir.Path() / "meminfo.new", file);
    ASSERT_EQ(ReadRegularFileInto(file, held, true, 100, buffer, length), FileStatus::Ok);
    EXPECT_EQ(buffer.substr(0, length), "second\n");
    // Nor is a kernel file when holding is not allowed.
    ASSERT_EQ(ReadRegularFileInto("/proc/self/stat", held, false, 4096, buffer, length), FileStatus::Ok);
    EXPECT_FALSE(held.IsHeld());
}

TEST(KernelFileSnapshot, HoldsAtMostItsShareOfDescriptors)
{
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator("/proc/sys", ec);
         !ec && it != std::filesystem::recursive_directory_iterator() && files.size() < KernelFileSnapshot::kMaxHeld + 40;
         it.increment(ec)) {
        std::error_code kind;
        if (it->is_regular_file(kind) && access(it->path().c_str(), R_OK) == 0) files.push_back(it->path());
    }
    if (files.size() <= KernelFileSnapshot::kMaxHeld) GTEST_SKIP() << "too few files in /proc/sys";
    const size_t before = OpenDescriptors();
    {
        KernelFileSnapshot snapshot;
        for (int tick = 0; tick < 2; ++tick) {
            snapshot.BeginTick();
            for (const auto& file : files) snapshot.Read(file, 64 * 1024);
            snapshot.EndTick();
            EXPECT_GT(OpenDescriptors(), before + KernelFileSnapshot::kMaxHeld / 2);
            EXPECT_LE(OpenDescriptors(), before + KernelFileSnapshot::kMaxHeld);
        }
        // A tick that reads none of them lets them all go.
        snapshot.BeginTick();
        snapshot.EndTick();
        snapshot.BeginTick();
        snapshot.EndTick();
        EXPECT_EQ(OpenDescriptors(), before);
    }
}

}  // namespace
}  // namespace dotvane::platform
