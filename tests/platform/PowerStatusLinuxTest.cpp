#include "platform/linux/PowerStatusLinux.h"

#include "tests/support/TempDir.h"
#include "tests/support/Variables.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace dotvane::platform {
namespace {

constexpr uint32_t kUnknown = 0xFFFFFFFFu;

struct PowerCase {
    const char* tree;
    int acLine;
    int flag;
    int percent;
    uint32_t lifeTime;
    uint32_t fullLifeTime;
};

class PowerStatusLinuxTest : public ::testing::TestWithParam<PowerCase> {};

TEST_P(PowerStatusLinuxTest, MapsTheSupplyTree)
{
    const PowerCase& c = GetParam();
    PowerStatusLinux source(std::string(DOTVANE_FIXTURES "/power/") + c.tree);
    PowerStatusRecord status;
    status.ACLineStatus = 77;  // must be overwritten
    ASSERT_TRUE(source.GetSystemPowerStatus(status));
    EXPECT_EQ(status.ACLineStatus, c.acLine);
    EXPECT_EQ(status.BatteryFlag, c.flag);
    EXPECT_EQ(status.BatteryLifePercent, c.percent);
    EXPECT_EQ(status.BatteryLifeTime, c.lifeTime);
    EXPECT_EQ(status.BatteryFullLifeTime, c.fullLifeTime);
}

INSTANTIATE_TEST_SUITE_P(
    Trees, PowerStatusLinuxTest,
    ::testing::Values(
        // A mouse battery (scope Device) is no system battery; with no mains
        // supply listed either, the machine runs on mains.
        PowerCase{"desktop", 1, 128, 255, kUnknown, kUnknown},
        // High and charging together: 1 | 8; on mains the times are unknown.
        PowerCase{"charging", 1, 9, 80, kUnknown, kUnknown},
        // 45 Wh at 9 W: 5 h; 50 Wh at 9 W: 20000 s.
        PowerCase{"discharging", 0, 1, 90, 18000, 20000},
        // Charge and a negative current; no mains listed, the battery's
        // discharging says off line; 25 % is low.
        PowerCase{"charge-only", 0, 2, 25, 7200, 28800},
        // The kernel's own estimate wins; no power draw leaves the full time
        // unknown; 3 % is critical only.
        PowerCase{"critical", 0, 4, 3, 420, kUnknown},
        PowerCase{"unknown", 255, 255, 255, kUnknown, kUnknown},
        PowerCase{"absent", 1, 128, 255, kUnknown, kUnknown},
        // 40 of 60 Wh together: 67 %, high; 40 Wh at 8 W; 60 Wh at 8 W.
        PowerCase{"two-batteries", 0, 1, 67, 18000, 27000},
        PowerCase{"level-only", 0, 2, 255, kUnknown, kUnknown},
        // A supply that cannot tell its type, or a mains supply that cannot
        // tell whether it is on line, leaves the AC line unknown; so does a
        // folder of supplies that cannot be read.
        PowerCase{"unreadable", 255, 128, 255, kUnknown, kUnknown},
        PowerCase{"mains-unreadable", 255, 128, 255, kUnknown, kUnknown},
        PowerCase{"no-such-tree", 255, 128, 255, kUnknown, kUnknown}),
    [](const ::testing::TestParamInfo<PowerCase>& info) {
        std::string name = info.param.tree;
        for (char& ch : name)
            if (ch == '-') ch = '_';
        return name;
    });

TEST(PowerStatusLinux, NoSuppliesAtAllIsOnMains)
{
    test::TempDir root;
    std::filesystem::create_directories(root.Path() / "class" / "power_supply");
    PowerStatusLinux source(root.Path());
    PowerStatusRecord status;
    ASSERT_TRUE(source.GetSystemPowerStatus(status));
    EXPECT_EQ(status.ACLineStatus, 1);
    EXPECT_EQ(status.BatteryFlag, 128);
    EXPECT_EQ(status.BatteryLifePercent, 255);
    EXPECT_EQ(status.BatteryLifeTime, kUnknown);
    EXPECT_EQ(status.BatteryFullLifeTime, kUnknown);
}

// The trees all the way to the texts of the battery variables.
class PowerStatusLinuxVariables : public test::VariablesTest {};

TEST_F(PowerStatusLinuxVariables, ShowTheTexts)
{
    const std::pair<const char*, const char*> cases[] = {
        {"desktop", "Online|No Battery|255|-1|-1"},
        {"mains-unreadable", "Unknown|No Battery|255|-1|-1"},
        {"unknown", "Unknown|Unknown|255|-1|-1"},
        {"charging", "Online|Unknown|80|-1|-1"},
        {"discharging", "Offline|High|90|18000|20000"},
        {"critical", "Offline|Critical|3|420|-1"},
    };
    for (const auto& [tree, texts] : cases) {
        PowerStatusLinux source(std::string(DOTVANE_FIXTURES "/power/") + tree);
        const PowerStatusService::Scoped installed(source);
        EXPECT_EQ(ExpandLine("$bat_acline$|$bat_charge$|$bat_lifepercent$|$bat_lifetime$|$bat_fulllifetime$"), texts)
            << tree;
    }
}

}  // namespace
}  // namespace dotvane::platform
