#include "FakePortLibrary.h"
#include "FakeServiceManager.h"

#include "lcd/TDLPortIO.h"
#include "platform/FileNames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>

namespace dotvane::test {
namespace {

using Calls = std::vector<std::string>;

bool Has(const Calls& calls, const std::string& call) { return std::find(calls.begin(), calls.end(), call) != calls.end(); }

class TDLPortIOTest : public ::testing::Test {
protected:
    RecordingPort port;
    FakePortLibrary library{port};
    FakeServiceManager services;
};

TEST_F(TDLPortIOTest, RunningServiceIsNeitherCreatedNorStartedNorStoppedNorDeleted)
{
    services.ServiceExists = true;
    services.State = platform::kServiceRunning;
    {
        TDLPortIO component(services, library);
        component.OpenDriver();
        EXPECT_TRUE(component.ActiveHW);
        EXPECT_TRUE(component.DriverWasInstalled);
        EXPECT_TRUE(component.DriverWasRunning);
        EXPECT_EQ(services.Calls, (Calls{"OpenManager 0x17", "Open 0x4", "Close service", "Open 0x4", "Query",
                                         "Close service"}));
        services.Calls.clear();
        component.CloseDriver();
        EXPECT_FALSE(component.ActiveHW);
        EXPECT_EQ(services.Calls, (Calls{"Close manager"}));
    }
    EXPECT_TRUE(services.ServiceExists);
    EXPECT_EQ(services.State, platform::kServiceRunning);
    EXPECT_EQ(services.OpenHandles, 0);
    EXPECT_EQ(library.Unloads, 1);
}

TEST_F(TDLPortIOTest, MissingServiceIsCreatedInTheDriverFolderStartedAndRemovedAgain)
{
    TDLPortIO component(services, library);
    component.DriverPath = "C:\\Program Files\\Dotvane";
    component.OpenDriver();
    ASSERT_TRUE(component.ActiveHW);
    EXPECT_TRUE(Has(services.Calls, "Create DLPortIO C:\\Program Files\\Dotvane\\DLPortIO.SYS"));
    EXPECT_EQ(services.CreatedWith,
              (Calls{"DriverLINX Port I/O Driver", "0x10034", "1", "3", "1", "SST miniport drivers"}));
    EXPECT_TRUE(Has(services.Calls, "Open 0x10"));
    EXPECT_EQ(services.State, platform::kServiceRunning);

    services.Calls.clear();
    component.CloseDriver();
    EXPECT_FALSE(component.ActiveHW);
    EXPECT_EQ(services.Calls, (Calls{"Open 0x24", "Stop", "Close service", "Open 0x10000", "Delete", "Close service",
                                     "Close manager"}));
    EXPECT_FALSE(services.ServiceExists);
    EXPECT_EQ(services.OpenHandles, 0);
}

TEST_F(TDLPortIOTest, StoppedServiceIsStartedAndStoppedButKept)
{
    services.ServiceExists = true;
    TDLPortIO component(services, library);
    component.OpenDriver();
    ASSERT_TRUE(component.ActiveHW);
    EXPECT_FALSE(Has(services.Calls, "Create DLPortIO C:\\WINNT\\System32\\DRIVERS\\DLPortIO.SYS"));
    EXPECT_TRUE(Has(services.Calls, "Start"));
    component.CloseDriver();
    EXPECT_TRUE(services.ServiceExists);
    EXPECT_EQ(services.State, platform::kServiceStopped);
    EXPECT_FALSE(Has(services.Calls, "Delete"));
}

TEST_F(TDLPortIOTest, LibraryLackingOneEntryPointFailsAndLeavesNothingBehind)
{
    for (const char* missing : platform::PortLibrary::kEntryPointNames) {
        FakeServiceManager fresh;
        library.Missing = {missing};
        library.Loads.clear();
        library.Unloads = 0;
        TDLPortIO component(fresh, library);
        component.OpenDriver();
        EXPECT_FALSE(component.ActiveHW) << missing;
        EXPECT_FALSE(fresh.ServiceExists) << missing;
        EXPECT_TRUE(Has(fresh.Calls, "Delete")) << missing;
        EXPECT_EQ(fresh.OpenHandles, 0) << missing;
        EXPECT_FALSE(library.IsLoaded()) << missing;
        EXPECT_EQ(library.Unloads, 1) << missing;
        // Nothing reaches the library afterwards.
        port.Log.clear();
        component.SetPortByte(888, 1);
        component.SetPortWord(888, 1);
        EXPECT_EQ(component.GetPortByte(888), 0xFF);
        EXPECT_TRUE(port.Log.empty());
    }
}

TEST_F(TDLPortIOTest, FailedOpenForRegistersIsAnsweredFalse)
{
    library.Missing = {"DlPortWritePortBufferUlong"};
    TDLPortIO component(services, library);
    const PortRange registers[] = {{888, 3}};
    EXPECT_EQ(component.OpenRegisters("", registers), (PortOpenFailure{"Could not open the DriverLINX driver.", ""}));
    EXPECT_FALSE(component.ActiveHW);
    EXPECT_FALSE(services.ServiceExists);
}

TEST_F(TDLPortIOTest, OutsideTheNTFamilyOnlyTheLibraryIsLoaded)
{
    services.IsNT = false;
    TDLPortIO component(services, library);
    EXPECT_FALSE(component.RunningOnNT);
    component.DLLPath = "/opt/ports";
    component.OpenDriver();
    EXPECT_TRUE(component.ActiveHW);
    EXPECT_TRUE(services.Calls.empty());
    EXPECT_EQ(library.Loads, (std::vector<std::pair<std::string, std::string>>{{"/opt/ports", "DLPortIO.fake"}}));
    component.CloseDriver();
    EXPECT_TRUE(services.Calls.empty());
    EXPECT_FALSE(library.IsLoaded());
}

TEST_F(TDLPortIOTest, OpeningTwiceDoesNothingTheSecondTime)
{
    TDLPortIO component(services, library);
    component.OpenDriver();
    const Calls first = services.Calls;
    component.OpenDriver();
    EXPECT_EQ(services.Calls, first);
    EXPECT_EQ(library.Loads.size(), 1u);
}

TEST_F(TDLPortIOTest, ServiceStepFailuresNameTheStepAndTheError)
{
    struct Case {
        std::string Failing;
        uint32_t Error;
        bool Exists;
        std::string Text;
    };
    const std::vector<Case> cases{
        {"OpenManager", 1722, false, "ConnectSCM: Error #1722"},
        {"Create", 1073, false, "DriverInstall: Error #1073"},
        {"Start", 2, false, "DriverStart: Error #2"},
        {"Query", 6, true, "DriverStart: Error #6"},
    };
    for (const Case& c : cases) {
        FakeServiceManager fresh;
        fresh.ServiceExists = c.Exists;
        fresh.Failures[c.Failing] = c.Error;
        library.Loads.clear();
        TDLPortIO component(fresh, library);
        component.OpenDriver();
        EXPECT_FALSE(component.ActiveHW) << c.Failing;
        EXPECT_EQ(component.LastError, c.Text);
        EXPECT_TRUE(library.Loads.empty()) << c.Failing;
        EXPECT_EQ(fresh.OpenHandles, 0) << c.Failing;
        EXPECT_EQ(fresh.ServiceExists, c.Exists) << c.Failing;
    }
}

TEST_F(TDLPortIOTest, ServiceInAnUnsettledStateCountsAsErrorMinusOne)
{
    services.ServiceExists = true;
    services.State = 2;  // start pending
    TDLPortIO component(services, library);
    component.OpenDriver();
    EXPECT_FALSE(component.ActiveHW);
    EXPECT_EQ(component.LastError, "DriverStart: Error #-1");
    EXPECT_TRUE(services.ServiceExists);
}

TEST_F(TDLPortIOTest, DeniedFullAccessRetriesWithoutCreateRight)
{
    services.OnlyReducedAccess = true;
    services.ServiceExists = true;
    services.State = platform::kServiceRunning;
    TDLPortIO component(services, library);
    component.OpenDriver();
    EXPECT_TRUE(component.ActiveHW);
    EXPECT_EQ(Calls(services.Calls.begin(), services.Calls.begin() + 2), (Calls{"OpenManager 0x17", "OpenManager 0x15"}));
}

TEST_F(TDLPortIOTest, FailedStopKeepsTheLibraryLoaded)
{
    TDLPortIO component(services, library);
    component.OpenDriver();
    services.Failures["Stop"] = 1052;
    component.CloseDriver();
    EXPECT_TRUE(component.ActiveHW);
    EXPECT_TRUE(library.IsLoaded());
    EXPECT_EQ(component.LastError, "DriverStop: Error #1052");
    EXPECT_FALSE(Has(services.Calls, "Delete"));
    services.Failures.clear();
    component.CloseDriver();
    EXPECT_FALSE(component.ActiveHW);
    EXPECT_FALSE(services.ServiceExists);
}

TEST_F(TDLPortIOTest, LibraryThatDoesNotLoadUndoesTheService)
{
    library.LoadFails = true;
    TDLPortIO component(services, library);
    component.OpenDriver();
    EXPECT_FALSE(component.ActiveHW);
    EXPECT_FALSE(services.ServiceExists);
    EXPECT_EQ(services.OpenHandles, 0);
    EXPECT_EQ(library.Unloads, 0);
}

TEST_F(TDLPortIOTest, DestructorClosesAnOpenDriver)
{
    {
        TDLPortIO component(services, library);
        component.OpenDriver();
        ASSERT_TRUE(library.IsLoaded());
    }
    EXPECT_FALSE(library.IsLoaded());
    EXPECT_FALSE(services.ServiceExists);
}

TEST_F(TDLPortIOTest, FailedUnloadLeavesTheComponentOpen)
{
    services.IsNT = false;
    TDLPortIO component(services, library);
    component.OpenDriver();
    library.UnloadFails = true;
    component.CloseDriver();
    EXPECT_TRUE(component.ActiveHW);
    library.UnloadFails = false;
}

TEST_F(TDLPortIOTest, PortAccessesReachTheLibraryZeroExtended)
{
    services.IsNT = false;
    TDLPortIO component(services, library);
    component.OpenDriver();
    port.Answer = [](uint32_t p) -> uint32_t { return p == 0xFFFF ? 0x5A : 0; };
    component.SetPortByte(0xFFFF, 0x81);
    component.SetPortWord(0x378, 0xBEEF);
    EXPECT_EQ(component.GetPortByte(0xFFFF), 0x5A);
    EXPECT_EQ(port.Log, (std::vector<RecordingPort::Access>{
                            {true, 0xFFFF, 0x81, 1}, {true, 0x378, 0xBEEF, 2}, {false, 0xFFFF, 0x5A, 1}}));
}

TEST_F(TDLPortIOTest, ClosedComponentIgnoresWritesAndReadsAllOnes)
{
    TDLPortIO component(services, library);
    component.SetPortByte(888, 0x12);
    component.SetPortWord(890, 0x34);
    EXPECT_EQ(component.GetPortByte(888), 0xFF);
    EXPECT_TRUE(port.Log.empty());
}

TEST_F(TDLPortIOTest, RegistersAreAskedForWhereTheLibraryWantsThat)
{
    services.IsNT = false;
    TDLPortIO component(services, library);
    component.Registers = {{0x378, 3}, {0x778, 1}};
    component.OpenDriver();
    EXPECT_TRUE(component.ActiveHW);
    EXPECT_EQ(library.AccessRequests, (std::vector<std::pair<uint32_t, uint32_t>>{{0x378, 3}, {0x778, 1}}));
}

TEST_F(TDLPortIOTest, RefusedPortAccessFailsTheOpen)
{
    services.IsNT = false;
    library.AccessError = 1;  // EPERM
    TDLPortIO component(services, library);
    component.Registers = {{888, 4}};
    component.OpenDriver();
    EXPECT_FALSE(component.ActiveHW);
    EXPECT_EQ(component.LastError, "PortAccess: Error #1");
    EXPECT_FALSE(library.IsLoaded());
    component.SetPortByte(888, 1);
    EXPECT_TRUE(port.Log.empty());
}

TEST_F(TDLPortIOTest, LibraryWithoutAccessRequestOpensAsBefore)
{
    services.IsNT = false;
    library.Missing = {"DlPortRequestAccess"};
    library.AccessError = 1;
    TDLPortIO component(services, library);
    component.Registers = {{888, 4}};
    component.OpenDriver();
    EXPECT_TRUE(component.ActiveHW);
}

// The library's optional device check is asked once per question and its
// answer passed on; a library without it (DLPortIO.dll), or a component
// that is not open, always answers.
TEST_F(TDLPortIOTest, HealthIsWhatTheLibrarysDeviceCheckAnswers)
{
    struct Case {
        const char* name;
        bool withCheck;
        PortHealth device;
        PortHealth expected;
        int checks;
    };
    const PortHealth gone{"/dev/parport0", ENODEV};
    const std::vector<Case> cases{
        {"answering", true, {"/dev/parport0", 0}, {"/dev/parport0", 0}, 1},
        {"failing", true, gone, gone, 1},
        {"no device", true, {}, {}, 1},
        {"library without the check", false, gone, {}, 0},
    };
    services.IsNT = false;
    for (const Case& c : cases) {
        library.Missing = c.withCheck ? std::set<std::string>{} : std::set<std::string>{"DlPortCheckDevice"};
        library.Device = c.device;
        library.DeviceChecks = 0;
        TDLPortIO component(services, library);
        EXPECT_EQ(component.Health(), PortHealth{}) << c.name << ": not open";
        component.OpenDriver();
        ASSERT_TRUE(component.ActiveHW) << c.name;
        EXPECT_EQ(component.Health(), c.expected) << c.name;
        EXPECT_EQ(library.DeviceChecks, c.checks) << c.name;
        component.CloseDriver();
        EXPECT_EQ(component.Health(), PortHealth{}) << c.name << ": closed";
    }
}

// As the display drivers' port: the kernel driver file in the program's
// folder, the registers asked for, and every register addressed from the
// base the driver gives.
TEST_F(TDLPortIOTest, AsAParallelPortItOpensForTheRegistersAndAddressesThemFromTheBase)
{
    services.IsNT = false;
    TDLPortIO component(services, library);
    const PortRange registers[] = {{0x278, 3}, {0x67A, 1}};
    EXPECT_EQ(component.OpenRegisters("", registers), std::nullopt);
    EXPECT_EQ(component.DeviceBase, 0x278) << "a device is looked for by the data register";
    std::string folder = platform::ProgramFolder();
    folder.pop_back();
    EXPECT_EQ(component.DriverPath, folder);
    EXPECT_EQ(library.AccessRequests, (std::vector<std::pair<uint32_t, uint32_t>>{{0x278, 3}, {0x67A, 1}}));

    port.Log.clear();
    ParallelPort& parallel = component;
    parallel.WriteRegister(0x278, PortRegister::Control, 0x0C);
    parallel.WriteRegisterWord(888, PortRegister::Data, 0x1234);
    port.Answer = [](uint32_t p) -> uint32_t { return p & 0xFF; };
    EXPECT_EQ(parallel.ReadRegister(0x278, PortRegister::ExtendedControl), 0x7A);
    EXPECT_EQ(parallel.ReadRegister(0x278, PortRegister::Status), 0x79);
    // Addresses are 16 bits: past 0xFFFF they wrap round.
    EXPECT_EQ(parallel.ReadRegister(0xFFFF, PortRegister::Control), 0x01);
    EXPECT_EQ(port.Log, (std::vector<RecordingPort::Access>{{true, 0x27A, 0x0C, 1},
                                                             {true, 888, 0x1234, 2},
                                                             {false, 0x67A, 0x7A, 1},
                                                             {false, 0x279, 0x79, 1},
                                                             {false, 0x0001, 0x01, 1}}));
}

}  // namespace
}  // namespace dotvane::test
