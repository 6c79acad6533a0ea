// The system information sources on Windows, checked against what the same
// Win32 calls answer directly, and through the variables that show them.
#include "platform/ComputerInfo.h"
#include "platform/Disks.h"
#include "platform/FileNames.h"
#include "platform/HighResolutionClock.h"
#include "platform/HostAddress.h"
#include "platform/LocalClock.h"
#include "platform/MemoryStatus.h"
#include "platform/PowerStatus.h"
#include "platform/TickCount.h"

#include "tests/support/TempDir.h"
#include "tests/support/Variables.h"

#include "platform/win32/Win32Api.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>

namespace dotvane::platform {
namespace {

std::string Decimal(uint64_t value) { return std::to_string(value); }

class PowerStatusWin32 : public test::VariablesTest {};

TEST_F(PowerStatusWin32, FieldsAndBatteryTextsFollowTheSystemsAnswer)
{
    SYSTEM_POWER_STATUS raw{};
    ASSERT_TRUE(::GetSystemPowerStatus(&raw));
    PowerStatusRecord record;
    ASSERT_TRUE(PowerStatusService::Current().GetSystemPowerStatus(record));
    EXPECT_EQ(record.ACLineStatus, raw.ACLineStatus);
    EXPECT_EQ(record.BatteryFlag, raw.BatteryFlag);
    EXPECT_EQ(record.BatteryLifePercent, raw.BatteryLifePercent);
    EXPECT_EQ(record.BatteryLifeTime, raw.BatteryLifeTime);
    EXPECT_EQ(record.BatteryFullLifeTime, raw.BatteryFullLifeTime);

    const std::map<int, std::string> acLine{{0, "Offline"}, {1, "Online"}};
    const std::map<int, std::string> charge{{1, "High"}, {2, "Low"}, {4, "Critical"}, {8, "Charging"}, {128, "No Battery"}};
    EXPECT_EQ(ExpandLine("$bat_acline$"), acLine.contains(raw.ACLineStatus) ? acLine.at(raw.ACLineStatus) : "Unknown");
    EXPECT_EQ(ExpandLine("$bat_charge$"), charge.contains(raw.BatteryFlag) ? charge.at(raw.BatteryFlag) : "Unknown");
    EXPECT_EQ(ExpandLine("$bat_lifepercent$"), Decimal(raw.BatteryLifePercent));
    EXPECT_EQ(ExpandLine("$bat_lifetime$"), std::to_string(static_cast<int32_t>(raw.BatteryLifeTime)));
    EXPECT_EQ(ExpandLine("$bat_fulllifetime$"), std::to_string(static_cast<int32_t>(raw.BatteryFullLifeTime)));
}

// A machine without a battery (as the test machines are) reports that flag
// and the unknown markers, which show as these texts.
TEST_F(PowerStatusWin32, WithoutBatteryTheUnknownMarkersShow)
{
    SYSTEM_POWER_STATUS raw{};
    ASSERT_TRUE(::GetSystemPowerStatus(&raw));
    if (raw.BatteryFlag != 128) GTEST_SKIP() << "this machine reports a battery";
    EXPECT_EQ(ExpandLine("$bat_charge$"), "No Battery");
    if (raw.BatteryLifeTime == 0xFFFFFFFFu) {
        EXPECT_EQ(ExpandLine("$bat_lifetime$"), "-1");
    }
    if (raw.BatteryLifePercent == 255) {
        EXPECT_EQ(ExpandLine("$bat_lifepercent$"), "255");
    }
}

class TickCountWin32 : public test::VariablesTest {};

TEST_F(TickCountWin32, IsTheThirtyTwoBitTickCount)
{
    const DWORD before = ::GetTickCount();
    const uint64_t ticks = TickCountService::Current().GetTickCount64();
    const DWORD after = ::GetTickCount();
    EXPECT_LE(ticks, 0xFFFFFFFFu);
    if (before <= after) {
        EXPECT_GE(ticks, before);
        EXPECT_LE(ticks, after);
    }
    const std::string seconds = ExpandLine("$uptimes$");
    ASSERT_EQ(seconds.size(), 2u);
    EXPECT_LT(std::stoi(seconds), 60);
}

class MemoryStatusWin32 : public test::VariablesTest {};

TEST_F(MemoryStatusWin32, FiguresComeFromGlobalMemoryStatus)
{
    MEMORYSTATUSEX raw{};
    raw.dwLength = sizeof raw;
    ASSERT_TRUE(::GlobalMemoryStatusEx(&raw));
    MemoryStatusRecord record;
    MemoryStatusService::Current().GlobalMemoryStatus(record, MemoryFigures::All);
    EXPECT_LE(record.MemoryLoad, 100u);
    EXPECT_EQ(record.TotalPhys, raw.ullTotalPhys);
    EXPECT_EQ(record.TotalVirtual, raw.ullTotalVirtual);
    EXPECT_GT(record.AvailPhys, 0u);
    EXPECT_LE(record.AvailPhys, record.TotalPhys);
    EXPECT_GT(record.TotalPageFile, 0u);
    EXPECT_LE(record.AvailPageFile, record.TotalPageFile);
    EXPECT_GT(record.AvailVirtual, 0u);
    EXPECT_LE(record.AvailVirtual, record.TotalVirtual);

    EXPECT_EQ(ExpandLine("$memtotphys$"), Decimal(raw.ullTotalPhys >> 10));
    EXPECT_EQ(ExpandLine("$memtotvirt$"), Decimal(raw.ullTotalVirtual >> 10));
    const std::string usage = ExpandLine("$memusage$");
    ASSERT_FALSE(usage.empty());
    EXPECT_LE(std::stoi(usage), 100);
}

class ComputerInfoWin32 : public test::VariablesTest {};

TEST_F(ComputerInfoWin32, NameAndPlatformOfTheSystem)
{
    char raw[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD size = sizeof raw;
    ASSERT_TRUE(::GetComputerNameA(raw, &size));
    EXPECT_EQ(ComputerInfoService::Current().GetComputerName(50), std::string(raw, size));
    EXPECT_EQ(ExpandLine("$computername$"), std::string(raw, size));
    ASSERT_GT(size, 1u);
    // A buffer that cannot hold the name and its terminator gives nothing.
    EXPECT_EQ(ComputerInfoService::Current().GetComputerName(size), "");
    EXPECT_EQ(ComputerInfoService::Current().GetComputerName(0), "");

    EXPECT_EQ(ComputerInfoService::Current().GetPlatformId(), kPlatformNt);
    EXPECT_EQ(ExpandLine("$winver$"), "winnt");
}

class DisksWin32 : public test::VariablesTest {};

TEST_F(DisksWin32, SystemDriveIsFixedAndAMissingDriveHasNoRoot)
{
    EXPECT_EQ(DisksService::Current().GetDriveType("C:\\"), kDriveFixed);
    EXPECT_EQ(ExpandLine("$drivetype(C:\\)$"), "Fixed");
    // A letter without a drive has no root directory. (Whether a folder
    // counts as no root is the system's to say: Windows says so, Wine
    // answers for the folder's drive.)
    EXPECT_EQ(DisksService::Current().GetDriveType("Q:\\"), kDriveNoRootDir);
    EXPECT_EQ(ExpandLine("$drivetype(Q:\\)$"), "Unknown");
    EXPECT_EQ(DisksService::Current().GetDriveType("C:\\windows"), ::GetDriveTypeA("C:\\windows"));
}

TEST_F(DisksWin32, SpaceOfTheSystemDrive)
{
    ULARGE_INTEGER available{}, total{}, totalFree{};
    ASSERT_TRUE(::GetDiskFreeSpaceExA("C:\\", &available, &total, &totalFree));
    DiskSpace space;
    ASSERT_TRUE(DisksService::Current().GetDiskFreeSpaceEx("C:\\", space));
    EXPECT_EQ(space.TotalBytes, total.QuadPart);
    EXPECT_GT(space.TotalFreeBytes, 0u);
    EXPECT_LE(space.TotalFreeBytes, space.TotalBytes);
    EXPECT_LE(space.FreeBytesAvailable, space.TotalFreeBytes);
    EXPECT_EQ(ExpandLine("$disksize(C:\\)$"), Decimal(total.QuadPart / 1024 / 1024));
    const std::string percent = ExpandLine("$diskpctfull(C:\\)$");
    ASSERT_FALSE(percent.empty());
    EXPECT_LE(std::stoi(percent), 100);
    // A folder on the drive answers for the drive.
    DiskSpace folder;
    ASSERT_TRUE(DisksService::Current().GetDiskFreeSpaceEx("C:\\windows", folder));
    EXPECT_EQ(folder.TotalBytes, space.TotalBytes);
}

TEST_F(DisksWin32, PathWithoutDiskGivesNothing)
{
    DiskSpace space;
    EXPECT_FALSE(DisksService::Current().GetDiskFreeSpaceEx("Q:\\", space));
    EXPECT_EQ(ExpandLine("[$diskfree(Q:\\)$][$disksize(Q:\\)$][$diskpctfull(Q:\\)$]"), "[][][]");
}

class HostAddressWin32 : public test::VariablesTest {};

TEST_F(HostAddressWin32, HostNameAndItsFirstAddressThroughWinsock)
{
    const std::string name = HostAddressService::Current().GetHostName(200);
    ASSERT_FALSE(name.empty());
    char raw[200];
    ASSERT_EQ(::gethostname(raw, sizeof raw), 0);
    EXPECT_EQ(name, raw);

    EXPECT_EQ(HostAddressService::Current().ResolveFirstIpv4("localhost"), (std::array<uint8_t, 4>{127, 0, 0, 1}));
    const auto own = HostAddressService::Current().ResolveFirstIpv4(name);
    ASSERT_TRUE(own.has_value());
    const hostent* host = ::gethostbyname(raw);
    ASSERT_NE(host, nullptr);
    const auto* first = reinterpret_cast<const uint8_t*>(host->h_addr_list[0]);
    EXPECT_EQ(*own, (std::array<uint8_t, 4>{first[0], first[1], first[2], first[3]}));
    EXPECT_EQ(ExpandLine("$localip$"), Decimal(first[0]) + "." + Decimal(first[1]) + "." + Decimal(first[2]) + "." +
                                           Decimal(first[3]));
}

TEST(LocalClockWin32, FieldsAndFormatsOfTheUsersLocale)
{
    SYSTEMTIME before{};
    ::GetLocalTime(&before);
    const LocalTime now = LocalClockService::Current().GetLocalTime();
    SYSTEMTIME after{};
    ::GetLocalTime(&after);
    if (before.wDay == after.wDay) {
        EXPECT_EQ(now.Year, before.wYear);
        EXPECT_EQ(now.Month, before.wMonth);
        EXPECT_EQ(now.Day, before.wDay);
        EXPECT_EQ(now.DayOfWeek, before.wDayOfWeek);
    }

    // Saturday 3 February 2001, 13:05:07: every field lands in its place.
    const LocalTime time{2001, 2, 6, 3, 13, 5, 7};
    SYSTEMTIME system{};
    system.wYear = 2001;
    system.wMonth = 2;
    system.wDayOfWeek = 6;
    system.wDay = 3;
    system.wHour = 13;
    system.wMinute = 5;
    system.wSecond = 7;
    char date[128];
    ASSERT_GT(::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &system, nullptr, date, sizeof date), 0);
    char clock[128];
    ASSERT_GT(::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &system, nullptr, clock, sizeof clock), 0);
    EXPECT_EQ(LocalClockService::Current().FormatShortDate(time), date);
    EXPECT_EQ(LocalClockService::Current().FormatLongTime(time), clock);
    EXPECT_NE(LocalClockService::Current().FormatShortDate(time).find("2001"), std::string::npos);
    EXPECT_NE(LocalClockService::Current().FormatLongTime(time).find("05"), std::string::npos);
    // A month that does not exist cannot be formatted.
    EXPECT_EQ(LocalClockService::Current().FormatShortDate(LocalTime{2001, 13, 6, 3, 13, 5, 7}), "");
}

TEST(HighResolutionClockWin32, PerformanceCounterRunsForward)
{
    LARGE_INTEGER frequency{};
    ASSERT_TRUE(::QueryPerformanceFrequency(&frequency));
    int64_t ticksPerSecond = 0;
    ASSERT_TRUE(HighResolutionClockService::Current().QueryFrequency(ticksPerSecond));
    EXPECT_EQ(ticksPerSecond, frequency.QuadPart);
    EXPECT_GE(ticksPerSecond, 1'000'000) << "the display delays need a counter of at least 1 MHz";

    int64_t previous = 0;
    ASSERT_TRUE(HighResolutionClockService::Current().QueryCounter(previous));
    for (int i = 0; i < 1000; ++i) {
        int64_t ticks = 0;
        ASSERT_TRUE(HighResolutionClockService::Current().QueryCounter(ticks));
        ASSERT_GE(ticks, previous);
        previous = ticks;
    }
}

TEST(FileNamesWin32, ProgramFolderHoldsThisProgram)
{
    char raw[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(nullptr, raw, MAX_PATH);
    ASSERT_GT(length, 0u);
    const std::string program(raw, length);
    const std::string folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '\\');
    EXPECT_EQ(program.substr(0, folder.size()), folder);
    EXPECT_EQ(program.find('\\', folder.size()), std::string::npos);
    EXPECT_NE(::GetFileAttributesA((folder + program.substr(folder.size())).c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(FileNamesWin32, NamesAreTakenAsWrittenInTheAnsiCodePage)
{
    EXPECT_EQ(NativePath("screens\\default.ini"), std::filesystem::path(L"screens\\default.ini"));
    EXPECT_EQ(NativePath("C:\\data\\x.txt"), std::filesystem::path(L"C:\\data\\x.txt"));
    EXPECT_EQ(NativePath(""), std::filesystem::path());

    // A name with a character outside ASCII, created through the ANSI call,
    // opens through the path made of the same bytes.
    test::TempDir dir;
    const std::string folder = dir.Path().string();
    const std::string name = folder + "\\caf\xE9.txt";
    const HANDLE file = ::CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ASSERT_TRUE(::WriteFile(file, "menu", 4, &written, nullptr));
    ::CloseHandle(file);
    std::ifstream in(NativePath(name));
    std::string content;
    in >> content;
    EXPECT_EQ(content, "menu");
}

}  // namespace
}  // namespace dotvane::platform
