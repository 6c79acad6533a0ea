#include "PpdevStandIn.h"

#include "platform/linux/dlportio/PpdevPort.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace dotvane::test {
namespace {

using dlportio::PpdevPort;
using Calls = std::vector<std::string>;

class PpdevPortTest : public ::testing::Test {
protected:
    PpdevPortTest() { Start(PpdevStandInConfig{}); }
    ~PpdevPortTest() override
    {
        port.Close();
        PpdevStandIn::Stop();
    }

    void Start(PpdevStandInConfig config)
    {
        config.Panel.Base = 888;
        PpdevStandIn::Reset(config);
    }

    void OpenClaimed()
    {
        PpdevPort::Step step = PpdevPort::Step::Open;
        ASSERT_EQ(port.Open("/dev/parport0", 888, step), 0);
        ASSERT_EQ(PpdevStandIn::TakeCalls(), (Calls{"open /dev/parport0", "PPEXCL", "PPCLAIM"}));
    }

    PpdevPort port;
};

TEST_F(PpdevPortTest, ClaimsAloneOnOpenAndReleasesBeforeClosing)
{
    OpenClaimed();
    EXPECT_TRUE(port.IsOpen());
    EXPECT_TRUE(PpdevStandIn::Claimed());
    port.Close();
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(PpdevStandIn::TakeCalls(), (Calls{"PPRELEASE", "close"}));
    port.Close();
    EXPECT_TRUE(PpdevStandIn::TakeCalls().empty());
}

TEST_F(PpdevPortTest, DataStatusAndControlRegistersMapOntoTheDeviceCalls)
{
    OpenClaimed();
    port.Write(888, 0x41);
    port.Write(890, 0x0C);
    EXPECT_EQ(port.Read(888), 0x41);  // standard mode reads back the latch
    EXPECT_EQ(port.Read(889), 0x7F);
    EXPECT_EQ(port.Read(890), 0x0C);
    EXPECT_EQ(PpdevStandIn::TakeCalls(),
              (Calls{"PPWDATA 41", "PPWCONTROL 0C", "PPRDATA 41", "PPRSTATUS 7F", "PPRCONTROL 0C"}));
    EXPECT_EQ(PpdevStandIn::Simulation().Port().Control(), 0x0C);
}

// The status register is read-only and the EPP registers above the control
// register are out of the device's reach: nothing is sent for them.
TEST_F(PpdevPortTest, AddressesOutsideTheRegistersAreDropped)
{
    OpenClaimed();
    port.Write(889, 0x12);
    port.Write(891, 0x00);
    port.Write(887, 0x00);
    port.Write(888 + 0x400, 0x00);
    EXPECT_EQ(port.Read(891), 0xFF);
    EXPECT_EQ(port.Read(892), 0xFF);
    EXPECT_TRUE(PpdevStandIn::TakeCalls().empty());
}

// A control byte with the direction bit releases the data lines before the
// control lines change; clearing the bit drives them again only after. The
// bit itself never goes to PPWCONTROL, which sets the four lines only.
TEST_F(PpdevPortTest, TheDirectionBitBecomesDataDirection)
{
    OpenClaimed();
    port.Write(890, 0x26);
    port.Write(890, 0x2E);
    EXPECT_EQ(port.Read(890), 0x2E);
    port.Write(890, 0x26);
    port.Write(890, 0x00);
    port.Write(890, 0x00);
    EXPECT_EQ(port.Read(890), 0x00);
    EXPECT_EQ(PpdevStandIn::TakeCalls(),
              (Calls{"PPDATADIR 1", "PPWCONTROL 06", "PPWCONTROL 0E", "PPRCONTROL 0E", "PPWCONTROL 06",
                     "PPWCONTROL 00", "PPDATADIR 0", "PPWCONTROL 00", "PPRCONTROL 00"}));
}

// With the data lines released, the data register reads the lines (here
// floating high: no module drives them) instead of the latch.
TEST_F(PpdevPortTest, DataIsReadAsInputWhileTheDirectionBitIsSet)
{
    OpenClaimed();
    port.Write(888, 0x41);
    port.Write(890, 0x20);
    EXPECT_EQ(port.Read(888), 0xFF);
    port.Write(890, 0x00);
    EXPECT_EQ(port.Read(888), 0x41);
    EXPECT_EQ(PpdevStandIn::TakeCalls(), (Calls{"PPWDATA 41", "PPDATADIR 1", "PPWCONTROL 00", "PPRDATA FF",
                                                "PPWCONTROL 00", "PPDATADIR 0", "PPRDATA 41"}));
}

// The kernel sets the extended control register when it claims the port;
// the library keeps what the program writes there and sends nothing.
TEST_F(PpdevPortTest, TheExtendedControlRegisterIsKeptNotWritten)
{
    OpenClaimed();
    EXPECT_EQ(port.Read(888 + 0x402), 0x21);
    port.Write(888 + 0x402, 0x35);
    EXPECT_EQ(port.Read(888 + 0x402), 0x35);
    EXPECT_TRUE(PpdevStandIn::TakeCalls().empty());
    EXPECT_EQ(PpdevStandIn::Simulation().Port().ExtendedControl(), 0x34);
}

TEST_F(PpdevPortTest, RegistersFollowTheBaseGiven)
{
    PpdevPort::Step step = PpdevPort::Step::Open;
    ASSERT_EQ(port.Open("/dev/parport0", 632, step), 0);
    PpdevStandIn::TakeCalls();
    port.Write(632, 0x55);
    port.Write(634, 0x01);
    port.Write(888, 0x66);
    EXPECT_EQ(PpdevStandIn::TakeCalls(), (Calls{"PPWDATA 55", "PPWCONTROL 01"}));
}

TEST_F(PpdevPortTest, AClosedPortSendsNothing)
{
    port.Write(888, 1);
    EXPECT_EQ(port.Read(888), 0xFF);
    EXPECT_TRUE(PpdevStandIn::TakeCalls().empty());
}

TEST_F(PpdevPortTest, AUserOutsideTheGroupCannotOpen)
{
    PpdevStandInConfig config;
    config.OpenError = EACCES;
    Start(config);
    PpdevPort::Step step = PpdevPort::Step::Claim;
    EXPECT_EQ(port.Open("/dev/parport0", 888, step), EACCES);
    EXPECT_EQ(step, PpdevPort::Step::Open);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(PpdevStandIn::TakeCalls(), (Calls{"open /dev/parport0 -> EACCES"}));
}

// Another driver's device is closed again without any ppdev request.
TEST_F(PpdevPortTest, AnotherKindOfDeviceIsNotAskedAnything)
{
    PpdevStandInConfig config;
    config.NotPpdev = true;
    Start(config);
    PpdevPort::Step step = PpdevPort::Step::Open;
    EXPECT_EQ(port.Open("/dev/parport0", 888, step), ENOTTY);
    EXPECT_EQ(step, PpdevPort::Step::NotPpdev);
    EXPECT_EQ(PpdevStandIn::TakeCalls(), (Calls{"open /dev/parport0", "close"}));
}

// Asking for the port alone makes a port that the printer driver uses fail
// at once, where a shared claim would wait for that driver.
TEST_F(PpdevPortTest, APortInUseFailsAtOnceInsteadOfWaiting)
{
    PpdevStandInConfig config;
    config.OtherDriver = true;
    Start(config);
    PpdevPort::Step step = PpdevPort::Step::Open;
    EXPECT_EQ(port.Open("/dev/parport0", 888, step), ENXIO);
    EXPECT_EQ(step, PpdevPort::Step::Claim);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(PpdevStandIn::TakeCalls(), (Calls{"open /dev/parport0", "PPEXCL", "PPCLAIM -> ENXIO", "close"}));
}

// A device that fails mid-run, step by step: the fault the stand-in kernel
// then has (-1 leaves it), a data write of 0x41, a Check `At` seconds after
// the start, and what the Check answers and which calls were made.
struct FaultStep {
    int Fault;
    bool Write;
    int At;
    int Answer;
    Calls Made;
};

struct FaultCase {
    const char* Name;
    std::vector<FaultStep> Steps;
};

class DeviceFaultTest : public PpdevPortTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(DeviceFaultTest, CheckTellsWhetherTheDeviceAnswersAndOpensAGoneOneAgain)
{
    OpenClaimed();
    const PpdevPort::Clock::time_point start{};
    int index = 0;
    for (const FaultStep& step : GetParam().Steps) {
        if (step.Fault >= 0) PpdevStandIn::SetFault(step.Fault);
        if (step.Write) port.Write(888, 0x41);
        EXPECT_EQ(port.Check(start + std::chrono::seconds(step.At)), step.Answer) << "step " << index;
        EXPECT_EQ(PpdevStandIn::TakeCalls(), step.Made) << "step " << index;
        EXPECT_TRUE(port.IsOpen()) << "step " << index;
        ++index;
    }
    EXPECT_EQ(port.Device(), "/dev/parport0");
}

INSTANTIATE_TEST_SUITE_P(
    MidRun, DeviceFaultTest,
    ::testing::Values(
        // Every call fails with EIO; without calls since the last Check the
        // status is read to find out, and once it answers the writes go on.
        FaultCase{"Eio",
                  {{-1, true, 0, 0, {"PPWDATA 41"}},
                   {-1, false, 1, 0, {"PPRSTATUS 7F"}},
                   {EIO, true, 2, EIO, {"PPWDATA -> EIO"}},
                   {-1, false, 3, EIO, {"PPRSTATUS -> EIO"}},
                   {0, false, 4, 0, {"PPRSTATUS 7F"}},
                   {-1, true, 5, 0, {"PPWDATA 41"}}}},
        // A pulled adapter: the device is closed at its first ENODEV and
        // costs no call from then on; it is opened again every 10 s after
        // the Check that found it gone, and serves the port once back.
        FaultCase{"Enodev",
                  {{ENODEV, true, 0, ENODEV, {"PPWDATA -> ENODEV", "close"}},
                   {-1, true, 9, ENODEV, {}},
                   {-1, false, 10, ENODEV, {"open /dev/parport0 -> ENOENT"}},
                   {0, true, 15, ENODEV, {}},
                   {-1, false, 20, 0, {"open /dev/parport0", "PPEXCL", "PPCLAIM"}},
                   {-1, true, 21, 0, {"PPWDATA 41"}}}},
        // A device that goes while failing with EIO is opened again too.
        FaultCase{"EioThenEnodev",
                  {{EIO, true, 0, EIO, {"PPWDATA -> EIO"}},
                   {ENODEV, false, 1, ENODEV, {"PPRSTATUS -> ENODEV", "close"}},
                   {0, false, 11, 0, {"open /dev/parport0", "PPEXCL", "PPCLAIM"}}}}),
    [](const ::testing::TestParamInfo<FaultCase>& info) { return std::string(info.param.Name); });

struct FailureCase {
    PpdevPort::Step Step;
    int Error;
    const char* Text;
};

class DescribeFailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(DescribeFailureTest, SaysWhichDeviceAndWhyInPlainWords)
{
    EXPECT_EQ(dlportio::DescribeFailure("/dev/parport0", GetParam().Step, GetParam().Error), GetParam().Text);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, DescribeFailureTest,
    ::testing::Values(
        FailureCase{PpdevPort::Step::Open, EACCES, "/dev/parport0: permission denied; add the user to the lp group"},
        FailureCase{PpdevPort::Step::Open, EPERM, "/dev/parport0: permission denied; add the user to the lp group"},
        FailureCase{PpdevPort::Step::Open, ENOENT,
                    "/dev/parport0: no such device; load the ppdev module (modprobe ppdev) or correct [Port] Device"},
        FailureCase{PpdevPort::Step::Open, ENXIO, "/dev/parport0: no parallel port behind this device"},
        FailureCase{PpdevPort::Step::Open, EISDIR, "/dev/parport0: is a directory"},
        FailureCase{PpdevPort::Step::NotPpdev, ENOTTY, "/dev/parport0: not a parallel port device (ppdev)"},
        FailureCase{PpdevPort::Step::Claim, ENXIO,
                    "/dev/parport0: the port is in use by another driver or program; unload the printer driver "
                    "(modprobe -r lp) or stop the program that holds the port"},
        FailureCase{PpdevPort::Step::Claim, ENOTTY, "/dev/parport0: not a parallel port device (ppdev)"},
        FailureCase{PpdevPort::Step::Claim, EINTR,
                    "/dev/parport0: the port cannot be claimed: interrupted system call"}));

}  // namespace
}  // namespace dotvane::test
