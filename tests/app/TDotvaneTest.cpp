#include "app/WebPages.h"
#include "tests/support/AppFixture.h"
#include "tests/support/BmpFile.h"
#include "tests/support/FakeImageDecoder.h"
#include "tests/support/FakeSystemInfo.h"
#include "tests/support/FakeNamedSections.h"
#include "tests/support/SensorSection.h"

#ifndef _WIN32
#include "platform/linux/KernelFileSnapshot.h"
#endif

#include <cerrno>
#include <filesystem>
#include <stdexcept>
#include <vector>

namespace dotvane {
namespace {

class TDotvaneTest : public test::AppFixture {};

TEST_F(TDotvaneTest, StartUpSizesTheWindowAndSetsTheTimers)
{
    WriteMain("[Pop3]\nUpdate=30000\n[Seti@Home]\nInterval=120000\n[ExternalIP]\nUpdate=50000\n");
    Start();
    EXPECT_EQ(host.width, 128);
    EXPECT_EQ(host.height, 64);
    ASSERT_EQ(host.timers.size(), 5u);
    EXPECT_EQ(logic->UpdateTimer1().Interval(), 1000);
    EXPECT_EQ(logic->changescreen_Timer1().Interval(), 5000);
    EXPECT_EQ(logic->POP3_Timer1().Interval(), 30000);
    EXPECT_EQ(logic->SetiTimer1().Interval(), 120000);
    EXPECT_EQ(logic->ExternalIP_Timer1().Interval(), 10000);
    for (ManualTimer* timer : host.timers) EXPECT_TRUE(timer->Enabled());
    EXPECT_EQ(display.calls, (std::vector<std::string>{"Open"}));
    EXPECT_TRUE(host.enabledOnlyTick);
    EXPECT_FALSE(host.pauseTick);
}

TEST_F(TDotvaneTest, LargerDisplayGivesALargerWindow)
{
    WriteMain("[LCD]\nXPixels=240\nYPixels=128\n");
    Start();
    EXPECT_EQ(host.width, 240);
    EXPECT_EQ(host.height, 128);
}

TEST_F(TDotvaneTest, WindowUsesTheDisplaySizeHeldTo1To1024)
{
    struct Case {
        const char* settings;
        int32_t width, height;
    };
    const std::vector<Case> cases{
        {"XPixels=0\nYPixels=0", 1, 1},
        {"XPixels=-5\nYPixels=-1073741834", 1, 1},
        {"XPixels=1024\nYPixels=1025", 1024, 1024},
        {"XPixels=100000\nYPixels=2147483647", 1024, 1024},
    };
    for (const Case& c : cases) {
        WriteMain(std::string("[LCD]\n") + c.settings + "\n");
        logic.reset();
        Start();
        EXPECT_EQ(host.width, c.width) << c.settings;
        EXPECT_EQ(host.height, c.height) << c.settings;
    }
    // The settings keep what the file says.
    EXPECT_EQ(State().MainSettings.LCD.XPixels, 100000);
    EXPECT_EQ(State().MainSettings.LCD.YPixels, 2147483647);
}

TEST_F(TDotvaneTest, FirstRefreshComesAfterOneSecond)
{
    WriteScreens("[Screen0]\nLine0=hello\n");
    Start();
    Refresh().Advance(999);
    EXPECT_EQ(display.Count("Text 'hello'"), 0);
    Refresh().Advance(1);
    EXPECT_EQ(display.calls, (std::vector<std::string>{"Open", "Pos 0,0", "Text 'hello'"}));
}

TEST_F(TDotvaneTest, ReloadRightAfterStartDoesNotClear)
{
    WriteScreens("[Screen0]\nLine0=old\n");
    Start();
    Refresh().Fire();
    WriteMain("[LCD]\nXPixels=100\n");
    WriteScreens("[Screen0]\nLine0=new\n");
    logic->Reload1Click();
    EXPECT_EQ(display.Count("Clear"), 0);
    EXPECT_EQ(State().MainSettings.LCD.XPixels, 100);
    EXPECT_EQ(host.width, 128);  // the window keeps its size
    Refresh().Fire();
    EXPECT_EQ(display.Count("Text 'new'"), 1);
}

TEST_F(TDotvaneTest, ReloadClearsWhenTheScreenDiffersFromTheOneTheRotationLeft)
{
    WriteScreens("[Screen0]\nEnable=1\nLine0=zero\n[Screen1]\nEnable=1\nLine0=one\n");
    Start();
    Tick();
    display.calls.clear();
    logic->Reload1Click();
    EXPECT_EQ(display.calls, (std::vector<std::string>{"Clear"}));
    Refresh().Fire();
    EXPECT_EQ(display.Count("Text 'one'"), 1);
}

TEST_F(TDotvaneTest, ReloadKeepsTheScreenAndItsPeriods)
{
    WriteScreens("[Screen1]\nEnable=1\nInterval=8000\nUpdate=400\n");
    Start();
    Tick();
    WriteScreens("[Screen1]\nEnable=1\nInterval=3000\nUpdate=700\n");
    logic->Reload1Click();
    EXPECT_EQ(State().CurrentScreen, 1);
    EXPECT_EQ(Rotation().Interval(), 8000);
    EXPECT_EQ(Refresh().Interval(), 400);
    EXPECT_EQ(State().ScreenTable[1].Interval, 3000);
}

#ifndef _WIN32
// Sections that note whether the system's files were in a tick whenever
// the sensors were read.
class TickNotingSections : public test::FakeNamedSections {
public:
    Mapping OpenFileMapping(std::string_view name) override
    {
        inTick.push_back(platform::SystemKernelFiles().InTick());
        return FakeNamedSections::OpenFileMapping(name);
    }
    std::vector<bool> inTick;
};

TEST_F(TDotvaneTest, TheRefreshTickReadsTheSystemInOneTick)
{
    TickNotingSections sections;
    WriteScreens("[Screen0]\nLine0=$mbmtemp(0)$\n");
    Start();
    Refresh().Fire();
    Refresh().Fire();
    EXPECT_EQ(sections.inTick, (std::vector<bool>{true, true}));
    EXPECT_FALSE(platform::SystemKernelFiles().InTick());
}
#endif

TEST_F(TDotvaneTest, TheSensorsAreReadOncePerTickAndOnlyWhenShown)
{
    test::FakeNamedSections sections;
    const auto publish = [&](double temperature) {
        test::SensorSection section(1);
        section.SetCount(0, 1).SetReading(0, temperature);
        sections.sections["$M$B$M$5$S$D$"] = section.bytes;
    };
    publish(41);
    WriteScreens("[Screen0]\nEnable=1\nLine0=still\n[Screen1]\nEnable=1\nLine0=$mbmtemp(0)$ $mbmtemp(0)$C\n");
    Start();
    Refresh().Fire();
    Refresh().Fire();
    EXPECT_EQ(sections.opened, 0);

    logic->Next1Click();
    ASSERT_EQ(State().CurrentScreen, 1);
    EXPECT_EQ(sections.opened, 1);
    EXPECT_EQ(State().LineText[0], "41 41C");
    publish(42);
    Refresh().Fire();
    EXPECT_EQ(sections.opened, 2);
    EXPECT_EQ(State().LineText[0], "42 42C");
}

TEST_F(TDotvaneTest, ReloadHasTheSensorsLookedForAgain)
{
    test::FakeNamedSections sections;
    Start();
    Refresh().Fire();
    EXPECT_EQ(sections.rediscoveries, 0);
    logic->Reload1Click();
    EXPECT_EQ(sections.rediscoveries, 1);
    // Also when the settings cannot be used.
    std::filesystem::remove(dir.Path() / "DOTVANE.INI");
    std::filesystem::create_directories(dir.Path() / "DOTVANE.INI");
    logic->Reload1Click();
    EXPECT_EQ(sections.rediscoveries, 2);
}

// A display whose text writes fail while `failing` is set.
class FailingDisplay : public test::RecordingDisplay {
public:
    bool failing = true;
    void WriteText(std::string_view text) override
    {
        if (failing) throw std::runtime_error("display fault");
        RecordingDisplay::WriteText(text);
    }
};

TEST(TDotvaneFailure, AnErrorInATimerHandlerIsShownAndTheProgramGoesOn)
{
    test::TempDir dir;
    dir.Write("screens/default.ini", "[Screen0]\nLine0=x\n[Screen1]\nEnable=1\nLine0=y\n");
    test::RecordingWindowHost host;
    FailingDisplay display;
    TDotvane logic(host, dir.Folder(), display);
    auto& refresh = static_cast<ManualTimer&>(logic.UpdateTimer1());
    refresh.Fire();
    EXPECT_EQ(host.messages, (std::vector<std::string>{"display fault"}));
    // The same fault again is held back for ten minutes.
    static_cast<ManualTimer&>(logic.changescreen_Timer1()).Fire();
    EXPECT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(logic.State().CurrentScreen, 1);

    display.failing = false;
    logic.Render().ForgetShownText();
    refresh.Fire();
    EXPECT_EQ(display.Count("Text 'y'"), 1);
    EXPECT_TRUE(refresh.Running());
}

class MessageFiringHost : public test::RecordingWindowHost {
public:
    std::function<void()> whileOpen;
    void ShowMessage(const std::string& text) override
    {
        RecordingWindowHost::ShowMessage(text);
        if (whileOpen) whileOpen();
    }
};

TEST(TDotvaneReentry, NoHandlerRunsAgainWhileItsMessageIsOpen)
{
    test::TempDir dir;
    dir.Write("screens/default.ini", "[Screen0]\nLine0=x\n[Screen1]\nEnable=1\n");
    MessageFiringHost host;
    int writes = 0;
    struct CountingFailure : test::RecordingDisplay {
        int* writes;
        void WriteText(std::string_view) override
        {
            ++*writes;
            throw std::runtime_error("fault");
        }
    } failing;
    failing.writes = &writes;
    TDotvane logic(host, dir.Folder(), failing);
    auto& refresh = static_cast<ManualTimer&>(logic.UpdateTimer1());
    host.whileOpen = [&] {
        // Timers keep firing inside the box's own event loop.
        refresh.Fire();
        refresh.Fire();
    };
    refresh.Fire();
    EXPECT_EQ(writes, 1);
    EXPECT_EQ(host.messages.size(), 1u);

    host.whileOpen = nullptr;
}

TEST(TDotvaneStop, AStopWhileABoxIsOpenLeavesTheDisplayBlankAndStillsTheTimers)
{
    test::TempDir dir;
    test::FakeImageDecoder decoder;
    RgbImage icon(4, 4);
    icon.Fill(0);
    ASSERT_TRUE(test::WriteBmp(dir.Folder() + "shown.bmp", icon));
    dir.Write("screens/default.ini", "[Screen0]\nLine0=x\n[Screen1]\nEnable=1\nIcon0=\"missing.bmp(0,0)\"\nIcon1=\"" +
                                         dir.Folder() + "shown.bmp(8,0)\"\n");
    MessageFiringHost host;
    struct IconDisplay : test::RecordingDisplay {
        void DrawIcon(const PixelImage&, int32_t x, int32_t y) override
        {
            calls.push_back("Icon " + std::to_string(x) + "," + std::to_string(y));
        }
    } display;
    TDotvane logic(host, dir.Folder(), display);
    // The stop request comes while the next screen's refresh waits for the
    // box about its missing icon; the refresh then goes on, to the next icon.
    host.whileOpen = [&] { logic.FormClose(); };
    logic.Next1Click();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(display.Count("Blank"), 1);
    EXPECT_EQ(display.calls.back(), "Blank");
    for (ManualTimer* timer : host.timers) timer->Fire();
    logic.Reload1Click();
    EXPECT_EQ(display.calls.back(), "Blank");
}

TEST_F(TDotvaneTest, AFloodOfBoxesShowsEachTextOnceInTenMinutesCutTo1024Characters)
{
    const std::string longName = std::string(5000, 'n') + ".bmp";
    WriteScreens("[Screen0]\nLine0=x\nIcon0=\"a.bmp(0,0)\"\nIcon1=\"b.bmp(0,0)\"\nIcon2=\"" + longName + "(0,0)\"\n");
    test::FakeTickCount ticks;
    Start();
    // A refresh a minute for ten minutes, with the rotation's status texts
    // in between.
    for (int tick = 0; tick < 10; ++tick) {
        Refresh().Fire();
        logic->Next1Click();
        ticks.milliseconds += 60000;
    }
    // The status line shows each text, however often.
    EXPECT_EQ(host.statusHistory.size(), 10u);
    ASSERT_EQ(host.messages.size(), 3u);
    EXPECT_EQ(host.messages[0], "Could not load or display icon a.bmp");
    EXPECT_EQ(host.messages[1], "Could not load or display icon b.bmp");
    EXPECT_EQ(host.messages[2], "Could not load or display icon " + std::string(990, 'n') + "...");
    Refresh().Fire();
    EXPECT_EQ(host.messages.size(), 6u);
    EXPECT_NE(host.messages[3].find("a.bmp (held back 10 times since "), std::string::npos) << host.messages[3];
}

TEST_F(TDotvaneTest, HidingStopsTheVirtualDisplayButNotTheHardware)
{
    WriteScreens("[Screen0]\nLine0=$mailcount(0)$\n");
    Start();
    Refresh().Fire();
    const RgbImage before = logic->Render().PresentedPicture();
    ASSERT_FALSE(before.IsNull());
    logic->PopUpMenu1_MinimizeClick();
    EXPECT_FALSE(host.shown);
    EXPECT_FALSE(State().WindowShown);
    State().MainSettings.LCD.XPixels = 64;
    logic->Render().ForgetShownText();
    Refresh().Fire();
    EXPECT_EQ(display.Count("Text '0'"), 2);
    EXPECT_EQ(logic->Render().PresentedPicture().Width(), before.Width());

    logic->TrayIconDoubleClick();
    EXPECT_TRUE(host.shown);
    EXPECT_TRUE(State().WindowShown);
    Refresh().Fire();
    EXPECT_EQ(logic->Render().PresentedPicture().Width(), 64);
}

TEST_F(TDotvaneTest, WithoutAWindowTheVirtualDisplayIsNeverDrawnButTheHardwareIs)
{
    WriteScreens("[Screen0]\nLine0=$mailcount(0)$\nIcon0=\"images\\none.bmp(0,0)\"\n");
    host.hasWindow = false;
    Start();
    EXPECT_FALSE(State().WindowShown);
    Refresh().Fire();
    Rotation().Fire();
    EXPECT_TRUE(logic->Render().PresentedPicture().IsNull());
    EXPECT_TRUE(logic->Render().VlcdBitmap.image.IsNull());
    EXPECT_EQ(display.Count("Text '0'"), 1);
    // Timers and messages go on as with a hidden window.
    for (ManualTimer* timer : host.timers) EXPECT_TRUE(timer->Enabled());
    EXPECT_EQ(host.messages.back(), "Could not load or display icon images\\none.bmp");
}

TEST_F(TDotvaneTest, ExitClosesTheWindowAndCloseShutsDownInOrder)
{
    Start();
    logic->Exit2Click();
    logic->PopUpMenu1_ExitClick();
    EXPECT_EQ(host.closeRequests, 2);
    Refresh().Fire();
    display.calls.clear();
    logic->FormClose();
    EXPECT_FALSE(Refresh().Enabled());
    EXPECT_FALSE(Rotation().Enabled());
    EXPECT_EQ(display.calls, (std::vector<std::string>{"Blank"}));
    EXPECT_TRUE(logic->Render().VlcdBitmap.image.IsNull());
}

TEST_F(TDotvaneTest, HelpCommandsOpenTheirPages)
{
    Start();
    logic->Helpweb1Click();
    logic->Website1Click();
    EXPECT_EQ(host.openedUrls, (std::vector<std::string>{kHelpPage, kHomePage}));
}

TEST_F(TDotvaneTest, LoadingTheSettingsSetsTheMailTimerAndForgetsCountsAndTheSkippedScreen)
{
    WriteMain("[Pop3]\nUpdate=30000\n[SkipScreen]\nEnable=1\nNoWinamp=1\n");
    WriteScreens("[Screen1]\nEnable=1\n[Screen2]\nEnable=1\n");
    Start();
    EXPECT_EQ(logic->POP3_Timer1().Interval(), 30000);
    EXPECT_EQ(Tick(), 2);  // no player: screen 1 is skipped
    EXPECT_EQ(State().SkippedScreen, 1);
    logic->Values().MailCount = {1, 2, 3, 4, 5};

    WriteMain("[SkipScreen]\nEnable=1\nNoWinamp=1\n");
    logic->Reload1Click();
    EXPECT_EQ(logic->POP3_Timer1().Interval(), 600000);
    EXPECT_EQ(logic->Values().MailCount, (MailCounts{0, 0, 0, 0, 0}));
    EXPECT_EQ(State().SkippedScreen, -1);
    EXPECT_EQ(State().MainSettings.Pop3.Update, 600000);
}

TEST_F(TDotvaneTest, ADisplayThatCannotOpenIsReportedAndStartUpGoesOn)
{
    display.openError = PortOpenFailure{"Could not open the DriverLINX driver.", ""};
    WriteScreens("[Screen0]\nLine0=still here\n");
    Start();
    EXPECT_EQ(host.errors, (std::vector<std::string>{"Could not open the DriverLINX driver."}));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(host.statusHistory.empty());
    Refresh().Fire();
    EXPECT_EQ(display.Count("Text 'still here'"), 1);
}

TEST_F(TDotvaneTest, WhatWentWrongWithThePortsDeviceGoesToTheStatusLine)
{
    display.openError = PortOpenFailure{"Could not open the DriverLINX driver.",
                                        "/dev/parport0: permission denied; add the user to the lp group"};
    Start();
    EXPECT_EQ(host.errors, (std::vector<std::string>{"Could not open the DriverLINX driver."}));
    EXPECT_EQ(host.statusHistory,
              (std::vector<std::string>{"/dev/parport0: permission denied; add the user to the lp group"}));
}

// The port's device as the refresh ticks find it, and what the status line
// is told: once when it stops answering, whatever the errors, and once when
// it answers again.
TEST_F(TDotvaneTest, APortDeviceThatFailsAndAnswersAgainIsToldOncePerChange)
{
    const std::string gone = "/dev/parport0: No such device; the LCD is not being updated";
    const std::string failing = "/dev/parport0: Input/output error; the LCD is not being updated";
    const std::string again = "/dev/parport0: the LCD is being updated again";
    const PortHealth ok{"/dev/parport0", 0}, noDevice{"/dev/parport0", ENODEV}, io{"/dev/parport0", EIO};
    struct Case {
        const char* name;
        std::vector<PortHealth> ticks;
        std::vector<std::string> told;
    };
    const std::vector<Case> cases{
        {"answering", {ok, ok, {}}, {}},
        {"pulled and plugged in again", {ok, noDevice, noDevice, noDevice, ok, ok}, {gone, again}},
        {"failing from the start", {io, io, ok}, {failing, again}},
        {"another error while failing", {io, noDevice, noDevice}, {failing}},
        {"failing twice", {noDevice, ok, io, ok}, {gone, again, failing, again}},
    };
    for (const Case& c : cases) {
        logic.reset();
        host.statusHistory.clear();
        display.health = {};
        Start();
        for (const PortHealth& health : c.ticks) {
            display.health = health;
            Refresh().Fire();
        }
        EXPECT_EQ(host.statusHistory, c.told) << c.name;
    }
}

// What was sent while the device failed was lost: when it answers again the
// display is set up anew and every row is written again, changed or not.
TEST_F(TDotvaneTest, ADisplayWhosePortAnswersAgainIsSetUpAndDrawnAnew)
{
    WriteScreens("[Screen0]\nLine0=kept\n");
    Start();
    Refresh().Fire();
    display.health = {"/dev/parport0", ENODEV};
    Refresh().Fire();
    Refresh().Fire();
    display.calls.clear();
    display.health = {"/dev/parport0", 0};
    Refresh().Fire();
    EXPECT_EQ(display.calls, (std::vector<std::string>{"Open", "Pos 0,0", "Text 'kept'"}));
    Refresh().Fire();
    EXPECT_EQ(display.Count("Text 'kept'"), 1);
}

TEST_F(TDotvaneTest, ClearingForAScreenWithABitmapKeepsTheBitmap)
{
    WriteScreens("[Screen1]\nEnable=1\nBitmap=images\\back.bmp\n[Screen2]\nEnable=1\n"
                 "[Screen3]\nEnable=1\nBitmap=images\\back.bmp\n");
    Start();
    Tick();
    Tick();
    logic->Next1Click();
    EXPECT_EQ(display.calls,
              (std::vector<std::string>{"Open", "Clear keeping the bitmap", "Clear", "Clear keeping the bitmap"}));

    // A reload onto a screen that the rotation did not leave clears the same way.
    display.calls.clear();
    logic->Reload1Click();
    EXPECT_EQ(display.calls, (std::vector<std::string>{"Clear keeping the bitmap"}));
}

TEST_F(TDotvaneTest, AFolderAsSettingsFileIsToldAndStartUpGoesOn)
{
    std::filesystem::create_directories(dir.Path() / "DOTVANE.INI");
    WriteScreens("[Screen0]\nLine0=hello\n");
    ASSERT_NO_THROW(Start());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].find("DOTVANE.INI: it is not a regular file"), std::string::npos);
    EXPECT_EQ(host.width, 128);
    Refresh().Fire();
    EXPECT_EQ(display.Count("Text 'hello'"), 1);

    // Reload tells it again and the program goes on.
    logic->Reload1Click();
    EXPECT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.closeRequests, 0);
}

TEST_F(TDotvaneTest, AFolderAsScreenFileIsToldAndStartUpGoesOn)
{
    WriteMain("[Screens]\nScreenFile=screens\n");
    WriteScreens("[Screen0]\nLine0=hello\n");
    ASSERT_NO_THROW(Start());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].find("screens: it is not a regular file"), std::string::npos);
    Refresh().Fire();
    EXPECT_EQ(display.Count("Text 'hello'"), 0);
}

TEST_F(TDotvaneTest, AnEmptyScreenFileNameStartsWithTheDefaultScreens)
{
    WriteMain("[Screens]\nScreenFile=\n");
    WriteScreens("[Screen0]\nLine0=hello\n");
    ASSERT_NO_THROW(Start());
    EXPECT_TRUE(host.messages.empty());
    Refresh().Fire();
    EXPECT_EQ(display.Count("Text 'hello'"), 1);
}

}  // namespace
}  // namespace dotvane
