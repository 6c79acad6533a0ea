#include "config/IniFile.h"
#include "tests/support/FakePlayer.h"
#include "tests/support/FakeSystemInfo.h"
#include "tests/support/Variables.h"

#include <gtest/gtest.h>

#include <set>

namespace dotvane {
namespace {

// The bundled screens that show the system and player variables: with wide
// but realistic values every reference gives a value and every row fits the
// 22 columns of the example display without wrapping (21 characters).
class ExampleScreens : public test::VariablesTest {};

TEST_F(ExampleScreens, SystemAndPlayerScreensFitTheirRows)
{
    const IniFile screens = IniFile::FromFile(DOTVANE_SOURCE_DIR "/examples/screens/default.ini");
    ASSERT_EQ(screens.ErrorLine(), 0);

    MainSettings.WeekdayNames = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    test::FakeLocalClock clock;
    clock.now = {2024, 12, 3, 31, 23, 59, 59};
    test::FakeComputerInfo computer;
    computer.name = "WORKSTATION-01";
    computer.platformId = 2;
    test::FakeHostAddress host;
    host.hostName = "WORKSTATION-01";
    host.addresses[host.hostName] = {192, 168, 100, 200};
    test::FakeTickCount ticks;
    ticks.milliseconds = uint64_t{99} * 24 * 3600 * 1000 + (23 * 3600 + 59 * 60) * 1000;
    test::FakeMemoryStatus memory;
    memory.record = {100, 1ull << 40, 99999999ull << 10, 1ull << 40, 99999999ull << 10, 1ull << 47, 1ull << 46};
    test::FakePowerStatus power;
    power.record = {0, 128, 100, 86400, 86400};
    test::FakeDisks disks;
    for (const char* path : {"/", "/tmp"}) {
        disks.spaces[path] = {9999999ull << 20, 9999999ull << 20, 9999999ull << 20};
        disks.types[path] = platform::kDriveRemovable;
    }
    test::FakePlayer player;
    player.windowText = "999. Artist - Song - Winamp";
    player.SetReply(0, 104, 1);
    player.SetReply(0, 105, 3599000);
    player.SetReply(1, 105, 5999);
    player.SetReply(0, 126, 48);
    player.SetReply(1, 126, 320);
    player.SetReply(2, 126, 2);
    player.SetReply(0, 125, 998);
    player.SetReply(0, 124, 999);

    std::set<std::string> shown;
    for (const char* section : {"Screen2", "Screen3", "Screen4"}) {
        ASSERT_TRUE(screens.GetBool(section, "Enable", false)) << section;
        for (int row = 0; row < 8; ++row) {
            const std::string line = screens.GetString(section, "Line" + std::to_string(row), "");
            for (size_t open = line.find('$'); open != std::string::npos;) {
                const size_t close = line.find('$', open + 1);
                ASSERT_NE(close, std::string::npos) << line;
                const std::string name = line.substr(open + 1, close - open - 1);
                shown.insert(name.substr(0, name.find('(')));
                // The text file holds whatever the machine has in it.
                if (!name.starts_with("textfile")) {
                    EXPECT_NE(ExpandVariable(name), "") << section << " " << name;
                }
                open = line.find('$', close + 1);
            }
            if (line.find("textfile") == std::string::npos) {
                EXPECT_LE(ExpandLine(line).size(), 21u) << section << " row " << row << ": " << ExpandLine(line);
            }
        }
        EXPECT_EQ(screens.GetString(section, "Line8", ""), "") << section;
    }
    // Every family appears; the uptime, memory and battery families with at
    // least one of their names.
    for (const char* name : {"computername", "winver", "weekday", "date", "time", "localip", "uptimed", "memusage",
                             "bat_acline", "diskfree", "disksize", "diskpctfull", "drivetype", "textfile",
                             "winampstatus", "winamptrackpos", "winamptracklen", "winamptitle", "winampsamplerate",
                             "winampbitrate", "winamptracknum", "winamptracktotal", "winampchannels"})
        EXPECT_TRUE(shown.contains(name)) << name;
}

}  // namespace
}  // namespace dotvane
