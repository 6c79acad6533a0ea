// The real port library, loaded the way the program loads it, reaching the
// port through a ppdev device: the stand-in kernel linked into this test
// program answers the device's calls in front of an emulated display
// module, and refuses I/O permission as it is refused to a user.
#include "PpdevStandIn.h"
#include "tests/lcd/FakeClock.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/TempDir.h"

#include "config/Settings.h"
#include "lcd/DisplayFactory.h"
#include "lcd/KS0108Driver.h"
#include "lcd/T6963CDriver.h"
#include "lcd/TDLPortIO.h"
#include "platform/LibraryLoader.h"
#include "platform/ServiceManager.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

namespace dotvane::test {
namespace {

using Calls = std::vector<std::string>;

std::string Fixture(const std::string& name) { return std::string(DOTVANE_FIXTURES) + "/" + name; }

bool IsRegisterCall(const std::string& call) { return call.starts_with("PPW") || call.starts_with("PPR"); }

// The calls that are not register accesses: the device's life.
Calls LifeCalls(const Calls& calls)
{
    Calls life;
    for (const std::string& call : calls) {
        if (!IsRegisterCall(call) || call == "PPRELEASE") life.push_back(call);
    }
    return life;
}

// A machine with one ppdev device: `device`, for the port with the minor
// number `minor`.
PpdevStandInConfig Device(const std::string& device, unsigned minor = 0)
{
    PpdevStandInConfig config;
    config.Device = device;
    config.Minor = minor;
    return config;
}

class DlPortIOPpdevTest : public ::testing::Test {
protected:
    DlPortIOPpdevTest() { component.DLLPath = DOTVANE_BINARY_DIR "/bin"; }

    ~DlPortIOPpdevTest() override
    {
        component.CloseDriver();
        PpdevStandIn::Stop();
    }

    // Opens the display of the type set, keeping what it reports.
    void OpenDisplay() { opened = display.Open(); }

    // A machine whose ports are described by the fixture tree `ports`, with
    // a ppdev device for one of them and a module on that port.
    void Machine(const std::string& ports, PpdevStandInConfig config)
    {
        config.ProcRoot = Fixture(ports);
        PpdevStandIn::Reset(config);
    }

    // The T6963C at Size 4 (128 × 64, 8-pixel cells) in the given wiring.
    void UseT6963C(const std::string& device, int wiring, uint16_t base = 888)
    {
        PpdevStandInConfig config = Device(device);
        config.Panel.Base = base;
        config.Panel.T6963C.WiringB = wiring != 0;
        Machine("two-ports", config);
        MainSettings.LCD.Type = 0;
        MainSettings.T6963C.Size = 4;
        MainSettings.T6963C.Wiring = wiring;
        MainSettings.Port.Base = base;
    }

    void UseKS0108(const std::string& device)
    {
        PpdevStandInConfig config = Device(device);
        config.Panel.Panel = emulator::SimulationConfig::Module::KS0108;
        Machine("two-ports", config);
        MainSettings.LCD.Type = 1;
    }

    static emulator::Glass Glass() { return PpdevStandIn::Simulation().Render(); }

    RecordingHost host;
    TMainSettings MainSettings;
    TDLPortIO component{platform::SystemServiceManager(), platform::SystemLibraryLoader()};
    SelectedDisplay display{component, MainSettings, host};
    TT6963CDriver& T6963CDriver = static_cast<TT6963CDriver&>(display.Of(DisplayKind::T6963C));
    TKS0108Driver& KS0108Driver = static_cast<TKS0108Driver&>(display.Of(DisplayKind::KS0108));
    // What the last opening reported.
    std::optional<PortOpenFailure> opened;
};

TEST_F(DlPortIOPpdevTest, OpeningClaimsThePortAloneAndAsksNoIoPermission)
{
    UseT6963C("/dev/parport1", 0);
    OpenDisplay();
    ASSERT_TRUE(component.ActiveHW);
    EXPECT_EQ(opened, std::nullopt);
    EXPECT_EQ(LifeCalls(PpdevStandIn::TakeCalls()), (Calls{"open /dev/parport1", "PPEXCL", "PPCLAIM"}));
}

TEST_F(DlPortIOPpdevTest, ClosingReleasesThePortBeforeClosingTheDeviceAndReopeningClaimsAgain)
{
    UseT6963C("/dev/parport1", 0);
    OpenDisplay();
    ASSERT_TRUE(component.ActiveHW);
    component.CloseDriver();
    EXPECT_FALSE(component.ActiveHW);
    EXPECT_FALSE(PpdevStandIn::Claimed());
    const Calls first = PpdevStandIn::TakeCalls();
    ASSERT_GE(first.size(), 2u);
    EXPECT_EQ(Calls(first.end() - 2, first.end()), (Calls{"PPRELEASE", "close"}));

    component.OpenDriver();
    ASSERT_TRUE(component.ActiveHW);
    component.CloseDriver();
    EXPECT_EQ(LifeCalls(PpdevStandIn::TakeCalls()),
              (Calls{"open /dev/parport1", "PPEXCL", "PPCLAIM", "PPRELEASE", "close"}));
}

TEST_F(DlPortIOPpdevTest, T6963CWiringABytesBecomeDeviceCalls)
{
    UseT6963C("/dev/parport1", 0);
    OpenDisplay();
    PpdevStandIn::TakeCalls();
    T6963CDriver.WriteData(0x41);
    T6963CDriver.WriteCommand(0xC0);
    EXPECT_EQ(PpdevStandIn::TakeCalls(),
              (Calls{"PPWDATA 41", "PPWCONTROL 00", "PPWCONTROL 02", "PPWCONTROL 03", "PPWCONTROL 02", "PPWCONTROL 00",
                     "PPWDATA C0", "PPWCONTROL 04", "PPWCONTROL 06", "PPWCONTROL 07", "PPWCONTROL 06",
                     "PPWCONTROL 00"}));
}

TEST_F(DlPortIOPpdevTest, T6963CWiringBBytesBecomeDeviceCalls)
{
    UseT6963C("/dev/parport1", 1);
    OpenDisplay();
    PpdevStandIn::TakeCalls();
    T6963CDriver.WriteData(0x41);
    EXPECT_EQ(PpdevStandIn::TakeCalls(), (Calls{"PPWCONTROL 0C", "PPWCONTROL 08", "PPWDATA 41", "PPWCONTROL 09",
                                                "PPWCONTROL 08", "PPWCONTROL 0C"}));
}

// The busy check reads the status with the data lines released through
// PPDATADIR, the extended control register costing no call; the module
// answers busy once after every byte, then ready.
TEST_F(DlPortIOPpdevTest, T6963CStatusIsReadWithTheDataLinesAsInputs)
{
    PpdevStandInConfig config = Device("/dev/parport1", 1);
    config.Panel.T6963C.BusyPolls = 1;
    Machine("two-ports", config);
    MainSettings.LCD.Type = 0;
    MainSettings.T6963C.Size = 4;
    MainSettings.T6963C.CheckBusyFlag = true;
    FakeClock clock;  // the busy module answers well within the wait's budget
    clock.Step = 1;
    OpenDisplay();
    ASSERT_TRUE(component.ActiveHW);
    PpdevStandIn::TakeCalls();
    T6963CDriver.WriteData(0x41);
    EXPECT_EQ(PpdevStandIn::TakeCalls(),
              (Calls{"PPDATADIR 1", "PPWCONTROL 06", "PPWCONTROL 0E", "PPRDATA 00", "PPWCONTROL 06",
                     "PPWCONTROL 06", "PPWCONTROL 0E", "PPRDATA 23", "PPWCONTROL 06",
                     "PPWCONTROL 00", "PPDATADIR 0",
                     "PPWDATA 41", "PPWCONTROL 00", "PPWCONTROL 02", "PPWCONTROL 03", "PPWCONTROL 02", "PPWCONTROL 00"}));
    EXPECT_EQ(host.status, "");
}

// Every register write is a 16-bit write of the byte: the data register
// and the control register get it, while the high byte's addresses (the
// read-only status register and an EPP register) get nothing.
TEST_F(DlPortIOPpdevTest, KS0108WordWritesBecomeByteCalls)
{
    UseKS0108("/dev/parport1");
    OpenDisplay();
    ASSERT_TRUE(component.ActiveHW);
    PpdevStandIn::TakeCalls();
    KS0108Driver.WriteInstruction(0x3F, TKS0108Driver::kRight);
    EXPECT_EQ(PpdevStandIn::TakeCalls(),
              (Calls{"PPWCONTROL 0F", "PPWDATA 3F", "PPWCONTROL 0E", "PPWCONTROL 0F", "PPWDATA 00"}));
}

TEST_F(DlPortIOPpdevTest, T6963CWiringATextReachesTheGlass)
{
    UseT6963C("/dev/parport1", 0);
    OpenDisplay();
    display.SetTextPosition(2, 3);
    display.WriteText("ppdev A");
    display.SetPixel(127, 63);
    const emulator::Glass glass = Glass();
    EXPECT_EQ(emulator::ReadText(glass, 0, 24, 8, 10), "  ppdev A ");
    EXPECT_TRUE(glass.At(127, 63));
}

TEST_F(DlPortIOPpdevTest, T6963CWiringBTextReachesTheGlass)
{
    UseT6963C("/dev/parport1", 1);
    OpenDisplay();
    display.SetTextPosition(0, 7);
    display.WriteText("wiring B");
    EXPECT_EQ(emulator::ReadText(Glass(), 0, 56, 8, 9), "wiring B ");
}

TEST_F(DlPortIOPpdevTest, T6963CWithTheBusyCheckReachesTheGlass)
{
    PpdevStandInConfig config = Device("/dev/parport1", 1);
    config.Panel.T6963C.BusyPolls = 3;
    Machine("two-ports", config);
    MainSettings.LCD.Type = 0;
    MainSettings.T6963C.Size = 4;
    MainSettings.T6963C.CheckBusyFlag = true;
    FakeClock clock;
    clock.Step = 1;
    OpenDisplay();
    display.SetTextPosition(0, 0);
    display.WriteText("busy");
    EXPECT_EQ(emulator::ReadText(Glass(), 0, 0, 8, 5), "busy ");
    EXPECT_GT(PpdevStandIn::Simulation().T6963C()->StatusReads(), 0);
    EXPECT_EQ(host.status, "");
}

TEST_F(DlPortIOPpdevTest, KS0108TextReachesTheGlass)
{
    UseKS0108("/dev/parport1");
    OpenDisplay();
    display.SetTextPosition(3, 5);
    display.WriteText("KS0108 ppdev");
    EXPECT_EQ(emulator::ReadText(Glass(), 0, 40, 6, 16), "   KS0108 ppdev ");
    display.Blank();
    EXPECT_EQ(Glass().LitCount(), 0);
}

// [Port] Device wins over the device of the port at the base.
TEST_F(DlPortIOPpdevTest, TheNamedDeviceIsUsed)
{
    Machine("two-ports", Device("/dev/parport5", 5));
    MainSettings.LCD.Type = 1;
    MainSettings.Port.Device = "/dev/parport5";
    OpenDisplay();
    ASSERT_TRUE(component.ActiveHW);
    EXPECT_EQ(LifeCalls(PpdevStandIn::TakeCalls()), (Calls{"open /dev/parport5", "PPEXCL", "PPCLAIM"}));
}

// Without a name, the T6963C's Base picks the port: 956 is parport0 in the
// fixture tree.
TEST_F(DlPortIOPpdevTest, TheDeviceIsFoundByTheBase)
{
    UseT6963C("/dev/parport0", 0, 956);
    OpenDisplay();
    ASSERT_TRUE(component.ActiveHW);
    EXPECT_EQ(LifeCalls(PpdevStandIn::TakeCalls()), (Calls{"open /dev/parport0", "PPEXCL", "PPCLAIM"}));
    display.SetTextPosition(0, 1);
    display.WriteText("at 956");
    EXPECT_EQ(emulator::ReadText(Glass(), 0, 8, 8, 7), "at 956 ");
}

// The KS0108 always uses 888, whatever Base says.
TEST_F(DlPortIOPpdevTest, TheKS0108FindsTheDeviceAt888)
{
    UseKS0108("/dev/parport1");
    MainSettings.Port.Base = 956;
    OpenDisplay();
    ASSERT_TRUE(component.ActiveHW);
    EXPECT_EQ(LifeCalls(PpdevStandIn::TakeCalls()), (Calls{"open /dev/parport1", "PPEXCL", "PPCLAIM"}));
}

TEST_F(DlPortIOPpdevTest, WithoutAPortAtTheBaseIoPermissionIsAskedAsBefore)
{
    Machine("far-port", Device("/dev/parport3", 3));
    MainSettings.LCD.Type = 0;
    OpenDisplay();
    EXPECT_FALSE(component.ActiveHW);
    EXPECT_EQ(PpdevStandIn::TakeCalls(), (Calls{"ioperm 888 3 -> EPERM"}));
    EXPECT_EQ(opened, (PortOpenFailure{"Could not open the DriverLINX driver.", ""}));
    EXPECT_EQ(component.DeviceProblem, "");
}

// The port at the base is known but has no device (ppdev is not loaded).
TEST_F(DlPortIOPpdevTest, WithoutTheDeviceOfThePortIoPermissionIsAsked)
{
    if (std::filesystem::exists("/dev/parport15")) GTEST_SKIP() << "this machine has a /dev/parport15";
    Machine("late-port", Device("/dev/parport0"));
    MainSettings.LCD.Type = 1;
    OpenDisplay();
    EXPECT_FALSE(component.ActiveHW);
    EXPECT_EQ(PpdevStandIn::TakeCalls(), (Calls{"ioperm 888 4 -> EPERM"}));
    EXPECT_EQ(opened, (PortOpenFailure{"Could not open the DriverLINX driver.", ""}));
}

TEST_F(DlPortIOPpdevTest, ADeviceThatRefusesTheUserIsReportedOnTheStatusLine)
{
    PpdevStandInConfig config = Device("/dev/parport1", 1);
    config.OpenError = EACCES;
    Machine("two-ports", config);
    MainSettings.LCD.Type = 0;
    OpenDisplay();
    EXPECT_FALSE(component.ActiveHW);
    EXPECT_EQ(opened, (PortOpenFailure{"Could not open the DriverLINX driver.",
                                       "/dev/parport1: permission denied; add the user to the lp group"}));
    EXPECT_EQ(component.LastError, "PortDevice: Error #13");
    // No fallback to I/O permission, and nothing reaches the port afterwards.
    EXPECT_EQ(PpdevStandIn::TakeCalls(), (Calls{"open /dev/parport1 -> EACCES"}));
    display.WriteText("nothing");
    EXPECT_TRUE(PpdevStandIn::TakeCalls().empty());
}

TEST_F(DlPortIOPpdevTest, APortHeldByThePrinterDriverIsReportedOnTheStatusLine)
{
    PpdevStandInConfig config = Device("/dev/parport1", 1);
    config.OtherDriver = true;
    Machine("two-ports", config);
    MainSettings.LCD.Type = 1;
    OpenDisplay();
    EXPECT_FALSE(component.ActiveHW);
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->Message, "Could not open the DriverLINX driver.");
    EXPECT_EQ(opened->DeviceProblem, "/dev/parport1: the port is in use by another driver or program; unload the "
                                     "printer driver (modprobe -r lp) or stop the program that holds the port");
    EXPECT_EQ(LifeCalls(PpdevStandIn::TakeCalls()),
              (Calls{"open /dev/parport1", "PPEXCL", "PPCLAIM -> ENXIO", "close"}));
}

// The device fails while the program runs. The display's port tells it,
// with the device's name, at the next question after the accesses, and
// tells when it answers again; a device that has gone costs no call until
// it is opened again, ten seconds on.
TEST_F(DlPortIOPpdevTest, ADeviceThatFailsMidRunIsToldAndAnswersAgain)
{
    const PortHealth answering{"/dev/parport1", 0};
    UseT6963C("/dev/parport1", 0);
    OpenDisplay();
    ASSERT_TRUE(component.ActiveHW);
    EXPECT_EQ(display.Health(), answering);

    PpdevStandIn::SetFault(EIO);
    display.SetTextPosition(0, 0);
    display.WriteText("lost");
    EXPECT_EQ(display.Health(), (PortHealth{"/dev/parport1", EIO}));
    PpdevStandIn::SetFault(0);
    EXPECT_EQ(display.Health(), answering);
    display.SetTextPosition(0, 0);
    display.WriteText("again");
    EXPECT_EQ(emulator::ReadText(Glass(), 0, 0, 8, 6), "again ");

    PpdevStandIn::TakeCalls();
    PpdevStandIn::SetFault(ENODEV);
    display.WriteText("gone");
    EXPECT_EQ(display.Health(), (PortHealth{"/dev/parport1", ENODEV}));
    EXPECT_EQ(display.Health(), (PortHealth{"/dev/parport1", ENODEV}));
    EXPECT_EQ(PpdevStandIn::TakeCalls(), (Calls{"PPWDATA -> ENODEV", "close"}));
    PpdevStandIn::SetFault(0);
    display.WriteText("dropped");
    EXPECT_EQ(display.Health(), (PortHealth{"/dev/parport1", ENODEV}));
    EXPECT_TRUE(PpdevStandIn::TakeCalls().empty());
}

TEST_F(DlPortIOPpdevTest, ANamedDeviceThatIsMissingOrNoPortIsReported)
{
    TempDir folder;
    const std::string missing = (folder.Path() / "parport9").string();
    const std::string plain = folder.Write("plain", "888\n").string();
    Machine("two-ports", Device("/dev/parport1", 1));
    MainSettings.LCD.Type = 1;

    MainSettings.Port.Device = missing;
    OpenDisplay();
    EXPECT_FALSE(component.ActiveHW);
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->DeviceProblem,
              missing + ": no such device; load the ppdev module (modprobe ppdev) or correct [Port] Device");

    MainSettings.Port.Device = plain;
    OpenDisplay();
    EXPECT_FALSE(component.ActiveHW);
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->DeviceProblem, plain + ": not a parallel port device (ppdev)");
    EXPECT_TRUE(PpdevStandIn::TakeCalls().empty());
}

}  // namespace
}  // namespace dotvane::test
