#include "vars/ExpandLine.h"

#include "tests/support/FakeSystemInfo.h"
#include "tests/support/Variables.h"
#include "vars/DiskVariables.h"

#include <gtest/gtest.h>

namespace dotvane {
namespace {

using test::FakeComputerInfo;
using test::FakeDisks;
using test::FakeHostAddress;
using test::FakeLocalClock;
using test::FakeMemoryStatus;
using test::FakePowerStatus;
using test::FakeTickCount;

class BatteryVariables : public test::VariablesTest {};
class ClockVariables : public test::VariablesTest {};
class DiskVariables : public test::VariablesTest {};
class IdentityVariables : public test::VariablesTest {};
class MemoryVariables : public test::VariablesTest {};
class UptimeVariables : public test::VariablesTest {};

TEST_F(BatteryVariables, MapTheStatusBytes)
{
    FakePowerStatus power;
    power.record = {1, 8, 57, 3600, 7200};
    EXPECT_EQ(ExpandVariable("bat_acline"), "Online");
    EXPECT_EQ(ExpandVariable("bat_charge"), "Charging");
    EXPECT_EQ(ExpandVariable("bat_lifepercent"), "57");
    EXPECT_EQ(ExpandVariable("bat_lifetime"), "3600");
    EXPECT_EQ(ExpandVariable("bat_fulllifetime"), "7200");

    const std::pair<uint8_t, const char*> acLines[] = {{0, "Offline"}, {1, "Online"}, {2, "Unknown"}, {255, "Unknown"}};
    for (const auto& [status, text] : acLines) {
        power.record.ACLineStatus = status;
        EXPECT_EQ(ExpandVariable("bat_acline"), text) << int(status);
    }
    // The flag is compared whole: combinations read as unknown.
    const std::pair<uint8_t, const char*> flags[] = {{1, "High"},       {2, "Low"},     {4, "Critical"},
                                                     {8, "Charging"},   {128, "No Battery"}, {9, "Unknown"},
                                                     {0, "Unknown"},    {255, "Unknown"},    {6, "Unknown"}};
    for (const auto& [flag, text] : flags) {
        power.record.BatteryFlag = flag;
        EXPECT_EQ(ExpandVariable("bat_charge"), text) << int(flag);
    }
}

TEST_F(BatteryVariables, UnknownMarkersAndNamesOfTheFamily)
{
    FakePowerStatus power;  // every field holds its unknown marker
    EXPECT_EQ(ExpandVariable("bat_lifepercent"), "255");
    EXPECT_EQ(ExpandVariable("bat_lifetime"), "-1");
    EXPECT_EQ(ExpandVariable("bat_fulllifetime"), "-1");
    EXPECT_EQ(ExpandVariable("bat_charge"), "Unknown");
    const int before = power.queries;
    // Names of the family that it does not list still ask once, then give
    // the empty text; letter case matters.
    EXPECT_EQ(ExpandVariable("bat_"), "");
    EXPECT_EQ(ExpandVariable("bat_ACLINE"), "");
    EXPECT_EQ(power.queries, before + 2);
    EXPECT_EQ(ExpandVariable("Bat_acline"), "");
    EXPECT_EQ(power.queries, before + 2);
}

TEST_F(UptimeVariables, SplitTheTickCount)
{
    FakeTickCount ticks;
    ticks.milliseconds = ((3 * 60 + 5) * 60 + 7) * 1000 + 999;
    EXPECT_EQ(ExpandLine("$uptimed$|$uptimeh$|$uptimem$|$uptimes$"), " 0| 3| 5| 7");
    ticks.milliseconds = uint64_t{100} * 24 * 3600 * 1000 + (23 * 3600 + 59 * 60 + 59) * 1000;
    EXPECT_EQ(ExpandLine("$uptimed$|$uptimeh$|$uptimem$|$uptimes$"), "100|23|59|59");
    // Beyond the 49.7 days where a 32-bit count would wrap.
    ticks.milliseconds = uint64_t{50} * 24 * 3600 * 1000;
    EXPECT_EQ(ExpandVariable("uptimed"), "50");
    ticks.milliseconds = 999;
    EXPECT_EQ(ExpandLine("$uptimed$$uptimes$"), " 0 0");
    EXPECT_EQ(ExpandVariable("uptime"), "");
    EXPECT_EQ(ExpandVariable("uptimex"), "");
}

TEST_F(MemoryVariables, KilobytesAndTheLoad)
{
    FakeMemoryStatus memory;
    memory.record = {42, 8ull << 30, (3ull << 30) + 1023, 10ull << 30, 5ull << 30, 1ull << 47, (1ull << 47) - (1ull << 30)};
    EXPECT_EQ(ExpandVariable("memusage"), "42");
    EXPECT_EQ(ExpandVariable("memtotphys"), "8388608");
    EXPECT_EQ(ExpandVariable("memavphys"), "3145728");  // rounded down
    EXPECT_EQ(ExpandVariable("memtotpage"), "10485760");
    EXPECT_EQ(ExpandVariable("memavpage"), "5242880");
    EXPECT_EQ(memory.wanted, platform::MemoryFigures::WithoutVirtual);
    EXPECT_EQ(ExpandVariable("memtotvirt"), "137438953472");
    EXPECT_EQ(memory.wanted, platform::MemoryFigures::All);
    EXPECT_EQ(ExpandVariable("memavvirt"), "137437904896");
    EXPECT_EQ(memory.wanted, platform::MemoryFigures::All);
    const int before = memory.queries;
    EXPECT_EQ(ExpandVariable("memory"), "");
    EXPECT_EQ(memory.queries, before + 1);
}

TEST_F(IdentityVariables, ComputerNameLocalAddressAndPlatform)
{
    FakeComputerInfo computer;
    FakeHostAddress host;
    computer.name = "WORKSTATION";
    EXPECT_EQ(ExpandVariable("computername"), "WORKSTATION");
    EXPECT_EQ(computer.requestedBuffer, 50u);
    computer.name = std::string(60, 'n');
    EXPECT_EQ(ExpandVariable("computername"), std::string(49, 'n'));
    EXPECT_EQ(ExpandVariable("computername(x)"), "");

    host.hostName = "box";
    host.addresses["box"] = {192, 168, 0, 17};
    EXPECT_EQ(ExpandVariable("localip"), "192.168.0.17");
    EXPECT_EQ(host.requestedBuffer, 200u);
    EXPECT_EQ(host.resolved.back(), "box");
    host.addresses.clear();
    EXPECT_EQ(ExpandVariable("localip"), "");
    host.hostName.clear();
    const size_t lookups = host.resolved.size();
    EXPECT_EQ(ExpandVariable("localip"), "");
    EXPECT_EQ(host.resolved.size(), lookups);

    const std::pair<uint32_t, const char*> platforms[] = {{0, ""}, {1, "win9x"}, {2, "winnt"}, {3, ""}};
    for (const auto& [id, text] : platforms) {
        computer.platformId = id;
        EXPECT_EQ(ExpandVariable("winver"), text) << id;
    }
}

TEST_F(IdentityVariables, LoopbackLocalAddressGivesWayToTheNetworkAddress)
{
    FakeHostAddress host;
    host.hostName = "debian";
    host.addresses["debian"] = {127, 0, 1, 1};
    host.network = {{192, 168, 1, 23}};
    EXPECT_EQ(ExpandVariable("localip"), "192.168.1.23");
    host.addresses["debian"] = {127, 0, 0, 1};
    EXPECT_EQ(ExpandVariable("localip"), "192.168.1.23");
    // Without a network the loopback address is all there is.
    host.network.reset();
    EXPECT_EQ(ExpandVariable("localip"), "127.0.0.1");
    // Any other address stands as the name resolves; the interfaces are not
    // asked.
    host.network = {{192, 168, 1, 23}};
    host.addresses["debian"] = {10, 0, 0, 5};
    const int queries = host.networkQueries;
    EXPECT_EQ(ExpandVariable("localip"), "10.0.0.5");
    EXPECT_EQ(host.networkQueries, queries);
}

TEST_F(ClockVariables, PaddedWeekdayDateAndTime)
{
    FakeLocalClock clock;
    MainSettings.WeekdayNames = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    clock.now = {2024, 3, 2, 5, 7, 8, 9};
    EXPECT_EQ(ExpandLine("[$weekday$]"), "[Tuesday    ]");
    EXPECT_EQ(ExpandLine("[$date$]"), "[5.3.2024  ]");
    EXPECT_EQ(ExpandLine("[$time$]"), "[7:8:9   ]");
    clock.now.DayOfWeek = 0;
    EXPECT_EQ(ExpandVariable("weekday"), "Sunday     ");
    // A long name is shown whole; an unset one as 11 blanks.
    MainSettings.WeekdayNames[0] = "Sonntag-Feiertag";
    EXPECT_EQ(ExpandVariable("weekday"), "Sonntag-Feiertag");
    MainSettings.WeekdayNames[0].clear();
    EXPECT_EQ(ExpandVariable("weekday"), std::string(11, ' '));
    clock.now = {2024, 12, 2, 31, 23, 59, 59};
    EXPECT_EQ(ExpandVariable("date"), "31.12.2024");
    EXPECT_EQ(ExpandVariable("time"), "23:59:59");
    EXPECT_EQ(ExpandVariable("Date"), "");
}

TEST_F(DiskVariables, SpaceInMegabytesAndPercentInUse)
{
    FakeDisks disks;
    const uint64_t MB = 1024 * 1024;
    disks.spaces["C:\\"] = {100 * MB, 500 * MB + 7, 120 * MB + MB - 1};
    disks.spaces["/empty"] = {0, 0, 0};
    disks.spaces["/full"] = {0, 2000 * MB, 0};
    EXPECT_EQ(ExpandVariable("diskfree(C:\\)"), "120");  // all users' free space, rounded down
    EXPECT_EQ(ExpandVariable("disksize(C:\\)"), "500");
    EXPECT_EQ(ExpandVariable("diskpctfull(C:\\)"), "75");
    EXPECT_EQ(ExpandVariable("diskpctfull(/empty)"), "0");
    EXPECT_EQ(ExpandVariable("diskpctfull(/full)"), "100");
    // A path the system cannot answer for, and a missing ")".
    EXPECT_EQ(ExpandVariable("diskfree(Q:\\)"), "");
    EXPECT_EQ(ExpandVariable("diskpctfull(Q:\\)"), "");
    disks.askedPaths.clear();
    EXPECT_EQ(ExpandVariable("disksize(C:\\"), "");
    EXPECT_TRUE(disks.askedPaths.empty());
    // The argument goes to the system unchanged, blanks included.
    ExpandVariable("diskfree( /mnt/a b)");
    EXPECT_EQ(disks.askedPaths.back(), " /mnt/a b");
}

TEST_F(DiskVariables, PercentInUseNeverFailsAndShowsFullOnlyWhenFull)
{
    EXPECT_EQ(PercentInUse(0, 0), 0u);
    EXPECT_EQ(PercentInUse(0, 5), 0u);
    EXPECT_EQ(PercentInUse(100, 100), 0u);
    EXPECT_EQ(PercentInUse(100, 200), 0u);  // more free than total reads as empty
    EXPECT_EQ(PercentInUse(1000, 1), 99u);  // 99.9 % is not full
    EXPECT_EQ(PercentInUse(1000, 0), 100u);
    EXPECT_EQ(PercentInUse(3, 2), 33u);
    const uint64_t huge = ~uint64_t{0};
    EXPECT_EQ(PercentInUse(huge, 1), 99u);
    EXPECT_EQ(PercentInUse(huge, huge / 2), 50u);
    EXPECT_EQ(PercentInUse(huge, 0), 100u);
}

TEST_F(DiskVariables, DriveTypeNames)
{
    FakeDisks disks;
    disks.types = {{"A:\\", 2}, {"C:\\", 3}, {"N:\\", 4}, {"D:\\", 5}, {"R:\\", 6}, {"X:\\", 0}, {"Y:\\", 7}};
    const std::pair<const char*, const char*> cases[] = {
        {"drivetype(A:\\)", "Removable"}, {"drivetype(C:\\)", "Fixed"},   {"drivetype(N:\\)", "Remote"},
        {"drivetype(D:\\)", "CDROM"},     {"drivetype(R:\\)", "RamDisk"}, {"drivetype(X:\\)", "Unknown"},
        {"drivetype(Y:\\)", "Unknown"},   {"drivetype(C:\\dir)", "Unknown"}, {"drivetype(C:\\", ""},
    };
    for (const auto& [name, text] : cases) EXPECT_EQ(ExpandVariable(name), text) << name;
}

}  // namespace
}  // namespace dotvane
