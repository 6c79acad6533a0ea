#include "platform/linux/MemoryStatusLinux.h"

#include "tests/support/Variables.h"

#include "tests/support/CountingFiles.h"
#include "tests/support/HeldFifo.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace dotvane::platform {
namespace {

constexpr uint64_t KB = 1024;

TEST(MemoryStatusLinux, ReadsMeminfoAndTheProcessLimits)
{
    MemoryStatusRecord status;
    MemoryStatusLinux(DOTVANE_FIXTURES "/memory/limited").GlobalMemoryStatus(status, MemoryFigures::All);
    EXPECT_EQ(status.MemoryLoad, 75u);
    EXPECT_EQ(status.TotalPhys, 16000000 * KB);
    EXPECT_EQ(status.AvailPhys, 4000000 * KB);
    // Swap stands in for the paging file, added to the physical memory.
    EXPECT_EQ(status.TotalPageFile, 18000000 * KB);
    EXPECT_EQ(status.AvailPageFile, 5500000 * KB);
    // The soft address-space limit, less what the process has mapped.
    EXPECT_EQ(status.TotalVirtual, 8589934592u);
    EXPECT_EQ(status.AvailVirtual, 8589934592u - 2500000 * KB);
}

TEST(MemoryStatusLinux, TheProcessFilesAreReadOnlyForTheVirtualFigures)
{
    const std::filesystem::path proc = DOTVANE_FIXTURES "/memory/limited";
    test::CountingFiles files;
    MemoryStatusLinux memory(proc, files.snapshot);
    MemoryStatusRecord status;
    memory.GlobalMemoryStatus(status, MemoryFigures::WithoutVirtual);
    EXPECT_EQ(status.AvailPhys, 4000000 * KB);
    EXPECT_EQ(status.AvailPageFile, 5500000 * KB);
    EXPECT_EQ(files.Take(), (std::map<std::string, int>{{(proc / "meminfo").string(), 1}}));
    memory.GlobalMemoryStatus(status, MemoryFigures::All);
    EXPECT_EQ(status.TotalVirtual, 8589934592u);
    EXPECT_EQ(files.Take(), (std::map<std::string, int>{{(proc / "meminfo").string(), 1},
                                                        {(proc / "self" / "limits").string(), 1},
                                                        {(proc / "self" / "status").string(), 1}}));
}

TEST(MemoryStatusLinux, OldKernelsAndUnlimitedAddressSpace)
{
    MemoryStatusRecord status;
    MemoryStatusLinux(DOTVANE_FIXTURES "/memory/old-kernel").GlobalMemoryStatus(status, MemoryFigures::All);
    // Without MemAvailable: free + buffers + cache = 1000000 of 2000000.
    EXPECT_EQ(status.AvailPhys, 1000000 * KB);
    EXPECT_EQ(status.MemoryLoad, 50u);
    EXPECT_EQ(status.TotalPageFile, 2000000 * KB);
    EXPECT_EQ(status.AvailPageFile, 1000000 * KB);
    EXPECT_EQ(status.TotalVirtual, MemoryStatusLinux::UserAddressSpace());
    EXPECT_EQ(status.AvailVirtual, MemoryStatusLinux::UserAddressSpace() - 100000 * KB);
#if defined(__x86_64__)
    EXPECT_EQ(MemoryStatusLinux::UserAddressSpace(), uint64_t{128} << 40);
#endif
}

TEST(MemoryStatusLinux, MissingFilesGiveZeroesAndNoDivisionByZero)
{
    MemoryStatusRecord status;
    status.MemoryLoad = 99;
    MemoryStatusLinux(DOTVANE_FIXTURES "/no-such-tree").GlobalMemoryStatus(status, MemoryFigures::All);
    EXPECT_EQ(status.MemoryLoad, 0u);
    EXPECT_EQ(status.TotalPhys, 0u);
    EXPECT_EQ(status.AvailPageFile, 0u);
    EXPECT_EQ(status.TotalVirtual, MemoryStatusLinux::UserAddressSpace());
}

TEST(MemoryStatusLinux, AKeyGivenTwiceCountsWithItsFirstReadableValue)
{
    test::TempDir proc;
    proc.Write("meminfo", "MemTotal: x kB\nMemTotal: 1000 kB\nMemTotal: 3000 kB\nMemAvailable: 250 kB\n"
                          "MemAvailableX: 900 kB\n MemFree: 7 kB\n");
    MemoryStatusRecord status;
    MemoryStatusLinux(proc.Path()).GlobalMemoryStatus(status, MemoryFigures::All);
    EXPECT_EQ(status.TotalPhys, 1000 * KB);
    EXPECT_EQ(status.AvailPhys, 250 * KB);
    EXPECT_EQ(status.MemoryLoad, 75u);
}

class MemoryStatusLinuxVariables : public test::VariablesTest {};

TEST_F(MemoryStatusLinuxVariables, ShowKilobytesAndTheLoad)
{
    MemoryStatusLinux source(DOTVANE_FIXTURES "/memory/limited");
    const MemoryStatusService::Scoped installed(source);
    EXPECT_EQ(ExpandLine("$memusage$|$memtotphys$|$memavphys$|$memtotpage$|$memavpage$|$memtotvirt$|$memavvirt$"),
              "75|16000000|4000000|18000000|5500000|8388608|5888608");
}

TEST(MemoryStatusLinux, ThisMachineGivesConsistentFigures)
{
    MemoryStatusRecord status;
    MemoryStatusLinux().GlobalMemoryStatus(status, MemoryFigures::All);
    EXPECT_GT(status.TotalPhys, 0u);
    EXPECT_LE(status.AvailPhys, status.TotalPhys);
    EXPECT_LE(status.MemoryLoad, 100u);
    EXPECT_GE(status.TotalPageFile, status.TotalPhys);
    EXPECT_LE(status.AvailVirtual, status.TotalVirtual);
    EXPECT_GT(status.AvailVirtual, 0u);
}

TEST(MemoryStatusLinux, FifosAndFoldersAreNotRead)
{
    test::TempDir proc;
    test::HeldFifo meminfo(proc.Path() / "meminfo", "MemTotal: 1000 kB\nMemAvailable: 500 kB\n");
    test::HeldFifo limits(proc.Path() / "self" / "limits", "Max address space 4096 4096 bytes\n");
    std::filesystem::create_directories(proc.Path() / "self" / "status");
    const auto [prompt, status] = test::ReadWhileHeld({&meminfo, &limits}, [&] {
        MemoryStatusRecord record;
        MemoryStatusLinux(proc.Path()).GlobalMemoryStatus(record, MemoryFigures::All);
        return record;
    });
    EXPECT_TRUE(prompt);
    EXPECT_EQ(status.TotalPhys, 0u);
    EXPECT_EQ(status.TotalVirtual, MemoryStatusLinux::UserAddressSpace());
    EXPECT_EQ(status.AvailVirtual, MemoryStatusLinux::UserAddressSpace());
}

}  // namespace
}  // namespace dotvane::platform
