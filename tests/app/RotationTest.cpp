#include "platform/Player.h"
#include "tests/support/AppFixture.h"

#include <vector>

namespace dotvane {
namespace {

class RotationTest : public test::AppFixture {};

class RunningPlayer : public platform::Player {
    // Stands in for the system's own while it lives.
    platform::PlayerService::Scoped installed_{*this};

public:
    bool FindWindow() override { return true; }
    int32_t SendQuery(int32_t, int32_t) override { return 0; }
    std::string WindowText() override { return {}; }
};

TEST_F(RotationTest, TicksVisitTheEnabledScreensInTurn)
{
    WriteScreens("[Screen0]\nEnable=1\nInterval=60000\n[Screen2]\nEnable=1\n[Screen5]\nEnable=1\nInterval=7000\n");
    Start();
    // Screen 0 keeps the window's first period instead of its own 60 s.
    Rotation().Advance(4999);
    EXPECT_EQ(State().CurrentScreen, 0);
    Rotation().Advance(1);
    EXPECT_EQ(State().CurrentScreen, 2);
    std::vector<int> shown;
    for (int i = 0; i < 3; ++i) shown.push_back(Tick());
    EXPECT_EQ(shown, (std::vector<int>{5, 0, 2}));
    EXPECT_EQ(State().PreviousScreen, 0);
}

TEST_F(RotationTest, ShowingAScreenAppliesItsPeriods)
{
    WriteScreens("[Screen1]\nEnable=1\nInterval=7000\nUpdate=250\n");
    Start();
    EXPECT_EQ(Refresh().Interval(), 1000);
    Tick();
    EXPECT_EQ(Rotation().Interval(), 7000);
    EXPECT_EQ(Refresh().Interval(), 250);
}

TEST_F(RotationTest, OnlyOneEnabledScreenIsShownAgainWithoutClearing)
{
    WriteScreens("[Screen3]\nEnable=1\nLine0=three\nLine1=lines\n");
    Start();
    EXPECT_EQ(Tick(), 3);
    EXPECT_EQ(display.Count("Clear"), 1);
    EXPECT_EQ(display.Count("Text 'three'"), 1);
    EXPECT_EQ(Tick(), 3);
    EXPECT_EQ(Tick(), 3);
    EXPECT_EQ(display.Count("Clear"), 1);
    EXPECT_EQ(display.Count("Text 'three'"), 1);
}

TEST_F(RotationTest, NoEligibleScreenKeepsTheCurrentOne)
{
    Start();
    EXPECT_EQ(Tick(), 0);
    EXPECT_EQ(display.Count("Clear"), 0);

    WriteMain("[SkipScreen]\nEnable=1\nNoWinamp=4\n");
    WriteScreens("[Screen4]\nEnable=1\n");
    logic->Reload1Click();
    EXPECT_EQ(Tick(), 0);
}

TEST_F(RotationTest, SkipsOneScreenWhileThePlayerIsAbsent)
{
    WriteMain("[SkipScreen]\nEnable=1\nNoWinamp=2\n");
    WriteScreens("[Screen1]\nEnable=1\n[Screen2]\nEnable=1\n[Screen3]\nEnable=1\n");
    Start();
    std::vector<int> shown;
    for (int i = 0; i < 4; ++i) shown.push_back(Tick());
    EXPECT_EQ(shown, (std::vector<int>{1, 3, 1, 3}));
    EXPECT_EQ(State().SkippedScreen, 2);

    RunningPlayer player;
    shown.clear();
    for (int i = 0; i < 3; ++i) shown.push_back(Tick());
    EXPECT_EQ(shown, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(State().SkippedScreen, -1);
}

TEST_F(RotationTest, SkippingOffAfterAReloadSkipsNothing)
{
    WriteMain("[SkipScreen]\nEnable=1\nNoWinamp=2\n");
    WriteScreens("[Screen1]\nEnable=1\n[Screen2]\nEnable=1\n");
    Start();
    EXPECT_EQ(Tick(), 1);
    EXPECT_EQ(Tick(), 1);
    WriteMain("[SkipScreen]\nEnable=0\nNoWinamp=2\n");
    logic->Reload1Click();
    EXPECT_EQ(Tick(), 2);
}

TEST_F(RotationTest, NoWinampOutsideTheScreensSkipsNothing)
{
    for (const char* value : {"-1", "25"}) {
        WriteMain(std::string("[SkipScreen]\nEnable=1\nNoWinamp=") + value + "\n");
        WriteScreens("[Screen0]\nEnable=1\n[Screen1]\nEnable=1\n");
        Start();
        EXPECT_EQ(Tick(), 1) << value;
        EXPECT_EQ(Tick(), 0) << value;
    }
}

TEST_F(RotationTest, NextCanShowADisabledScreenAndTheTickMovesOn)
{
    WriteScreens("[Screen4]\nEnable=1\n[Screen7]\nEnable=1\n");
    Start();
    logic->Enabledonly1Click();
    EXPECT_FALSE(host.enabledOnlyTick);
    State().CurrentScreen = 4;
    logic->Next1Click();
    EXPECT_EQ(State().CurrentScreen, 5);
    EXPECT_EQ(host.status, "Next - Screen: 5");
    EXPECT_EQ(Tick(), 7);
}

TEST_F(RotationTest, NextAndPreviousWithEnabledOnly)
{
    WriteScreens("[Screen2]\nEnable=1\n[Screen6]\nEnable=1\n");
    Start();
    EXPECT_TRUE(host.enabledOnlyTick);
    logic->Next1Click();
    EXPECT_EQ(host.status, "Next - Screen: 2");
    logic->Next1Click();
    EXPECT_EQ(host.status, "Next - Screen: 6");
    logic->Next1Click();
    EXPECT_EQ(host.status, "No more screens");
    EXPECT_EQ(State().CurrentScreen, 6);
    logic->Previous1Click();
    EXPECT_EQ(host.status, "Previous - Screen: 2");
    logic->Previous1Click();
    EXPECT_EQ(host.status, "First screen already");
    EXPECT_EQ(State().CurrentScreen, 2);
    // Next and Previous never touch the screen the rotation left.
    EXPECT_EQ(State().PreviousScreen, 0);
}

TEST_F(RotationTest, NextStopsAtTheLastScreenAndPreviousAtTheFirst)
{
    Start();
    logic->Previous1Click();
    EXPECT_EQ(host.status, "First screen already");
    logic->Enabledonly1Click();
    State().CurrentScreen = 20;
    logic->Next1Click();
    EXPECT_EQ(host.status, "No more screens");
    EXPECT_EQ(State().CurrentScreen, 20);
    logic->Previous1Click();
    EXPECT_EQ(host.status, "Previous - Screen: 19");
}

TEST_F(RotationTest, NextAlwaysClearsEvenOntoTheSameRows)
{
    WriteScreens("[Screen0]\nLine0=same\n[Screen1]\nEnable=1\nLine0=same\n");
    Start();
    Refresh().Fire();
    EXPECT_EQ(display.Count("Text 'same'"), 1);
    logic->Next1Click();
    EXPECT_EQ(display.Count("Clear"), 1);
    EXPECT_EQ(display.Count("Text 'same'"), 2);
}

TEST_F(RotationTest, NextWhilePausedChangesScreenAndPeriodsButStaysPaused)
{
    WriteScreens("[Screen1]\nEnable=1\nInterval=9000\nUpdate=500\n");
    Start();
    logic->Pause1Click();
    EXPECT_TRUE(host.pauseTick);
    EXPECT_TRUE(logic->PauseTicked());
    logic->Next1Click();
    EXPECT_EQ(State().CurrentScreen, 1);
    EXPECT_EQ(Rotation().Interval(), 9000);
    EXPECT_EQ(Refresh().Interval(), 500);
    EXPECT_FALSE(Rotation().Enabled());
    EXPECT_TRUE(host.pauseTick);
    Rotation().Advance(100000);
    EXPECT_EQ(State().CurrentScreen, 1);

    logic->Pause1Click();
    EXPECT_FALSE(host.pauseTick);
    EXPECT_EQ(Rotation().Interval(), 9000);
    Rotation().Advance(9000);
    EXPECT_EQ(State().CurrentScreen, 1);  // the only enabled screen
    EXPECT_EQ(State().PreviousScreen, 1);
}

TEST_F(RotationTest, PauseLeavesTheRefreshRunning)
{
    WriteScreens("[Screen0]\nLine0=$mailcount(0)$\n");
    Start();
    logic->Pause1Click();
    Refresh().Advance(1000);
    EXPECT_EQ(display.Count("Text '0'"), 1);
}

TEST_F(RotationTest, IntervalZeroStopsTheRotationAndUpdateZeroTheRefresh)
{
    WriteScreens("[Screen1]\nEnable=1\nInterval=0\nUpdate=0\nLine0=x\n[Screen2]\nEnable=1\n");
    Start();
    EXPECT_EQ(Tick(), 1);
    EXPECT_FALSE(Rotation().Running());
    EXPECT_FALSE(Refresh().Running());
    Rotation().Advance(1000000);
    Refresh().Advance(1000000);
    EXPECT_EQ(State().CurrentScreen, 1);
    EXPECT_EQ(display.Count("Text 'x'"), 1);
}

}  // namespace
}  // namespace dotvane
