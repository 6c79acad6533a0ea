#include "FakeClock.h"

#include "config/Settings.h"
#include "lcd/KS0108Driver.h"
#include "lcd/T6963CDriver.h"
#include "lcd/emulator/PanelPort.h"
#include "tests/support/RecordingHost.h"

#include <gtest/gtest.h>

namespace dotvane::test {
namespace {

using emulator::PanelPort;
using emulator::ReadText;
using emulator::SimulationConfig;

SimulationConfig Module(SimulationConfig::Module module)
{
    SimulationConfig config;
    config.Panel = module;
    return config;
}

// Both controllers at once, each on an emulated port of its own, without a
// port library in between.
class PanelPortTest : public ::testing::Test {
protected:
    FakeClock clock;
    RecordingHost host;
    TMainSettings settings;
    PanelPort t6963cPort{Module(SimulationConfig::Module::T6963C)};
    PanelPort ks0108Port{Module(SimulationConfig::Module::KS0108)};
    TT6963CDriver t6963c{t6963cPort, settings, host};
    TKS0108Driver ks0108{ks0108Port, settings};
};

TEST_F(PanelPortTest, TwoDisplaysShowTheirOwnTextSideBySide)
{
    settings.T6963C.Size = 4;
    EXPECT_EQ(t6963c.Open(), std::nullopt);
    EXPECT_EQ(ks0108.Open(), std::nullopt);
    t6963c.SetTextPosition(0, 2);
    t6963c.WriteText("on the T6963C");
    ks0108.SetTextPosition(1, 5);
    ks0108.WriteText("on the KS0108");

    EXPECT_EQ(ReadText(t6963cPort.simulation.Render(), 0, 16, 8, 16), "on the T6963C   ");
    EXPECT_EQ(ReadText(ks0108Port.simulation.Render(), 0, 40, 6, 21), " on the KS0108       ");
    // Neither wrote anything into the other's rows.
    EXPECT_EQ(ReadText(t6963cPort.simulation.Render(), 0, 40, 8, 16), std::string(16, ' '));
    EXPECT_EQ(ReadText(ks0108Port.simulation.Render(), 0, 16, 6, 21), std::string(21, ' '));
}

TEST_F(PanelPortTest, TheT6963CFollowsPortBaseAndMissesAModuleElsewhere)
{
    settings.T6963C.Size = 4;
    settings.Port.Base = 0x278;  // the module sits at 888
    t6963c.Open();
    t6963c.SetTextPosition(0, 0);
    t6963c.WriteText("lost");
    EXPECT_EQ(t6963cPort.simulation.Render().LitCount(), 0);

    settings.Port.Base = 888;  // read again at the next byte
    t6963c.InitController();
    t6963c.SetTextPosition(0, 0);
    t6963c.WriteText("found");
    EXPECT_EQ(ReadText(t6963cPort.simulation.Render(), 0, 0, 8, 5), "found");
}

}  // namespace
}  // namespace dotvane::test
