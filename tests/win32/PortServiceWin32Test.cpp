// The port component's service steps on the service control manager of the
// system (Wine's, when the tests run under Wine), with the fake kernel
// driver DLPortIO.SYS that the test build puts beside this program and the
// fake DLPortIO.dll.
#include "lcd/TDLPortIO.h"
#include "platform/FileNames.h"
#include "platform/ServiceManager.h"

#include "tests/support/TempDir.h"

#include "platform/win32/Win32Api.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dotvane::test {
namespace {

constexpr const char* kService = "DLPortIO";
constexpr DWORD kErrorServiceDoesNotExist = 1060;

// The program folder as the port component's driver folder: no trailing
// separator.
std::string ProgramFolderWithoutSeparator()
{
    std::string folder = platform::ProgramFolder();
    folder.pop_back();
    return folder;
}

// What the service control manager holds about the service "DLPortIO".
struct ServiceInfo {
    bool Exists = false;
    DWORD OpenError = 0;
    DWORD State = 0;
    DWORD Type = 0;
    DWORD StartType = 0;
    DWORD ErrorControl = 0;
    std::string ImagePath;
    std::string LoadOrderGroup;
    std::string DisplayName;
};

ServiceInfo Inspect()
{
    ServiceInfo info;
    const SC_HANDLE manager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (manager == nullptr) return info;
    const SC_HANDLE service = ::OpenServiceA(manager, kService, SERVICE_QUERY_STATUS | SERVICE_QUERY_CONFIG);
    if (service == nullptr) {
        info.OpenError = ::GetLastError();
    } else {
        info.Exists = true;
        SERVICE_STATUS status{};
        if (::QueryServiceStatus(service, &status)) info.State = status.dwCurrentState;
        std::vector<char> buffer(8192);
        auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.data());
        DWORD needed = 0;
        if (::QueryServiceConfigA(service, config, static_cast<DWORD>(buffer.size()), &needed)) {
            info.Type = config->dwServiceType;
            info.StartType = config->dwStartType;
            info.ErrorControl = config->dwErrorControl;
            info.ImagePath = config->lpBinaryPathName ? config->lpBinaryPathName : "";
            info.LoadOrderGroup = config->lpLoadOrderGroup ? config->lpLoadOrderGroup : "";
            info.DisplayName = config->lpDisplayName ? config->lpDisplayName : "";
        }
        ::CloseServiceHandle(service);
    }
    ::CloseServiceHandle(manager);
    return info;
}

// Installs the service as another program would have, with the driver
// beside this program, and starts it when asked.
void InstallService(bool start)
{
    const SC_HANDLE manager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CREATE_SERVICE);
    ASSERT_NE(manager, nullptr);
    const std::string image = ProgramFolderWithoutSeparator() + "\\DLPortIO.SYS";
    const SC_HANDLE service =
        ::CreateServiceA(manager, kService, "DriverLINX Port I/O Driver", SERVICE_ALL_ACCESS, SERVICE_KERNEL_DRIVER,
                         SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL, image.c_str(), nullptr, nullptr, nullptr, nullptr,
                         nullptr);
    ASSERT_NE(service, nullptr) << ::GetLastError();
    if (start) {
        EXPECT_TRUE(::StartServiceA(service, 0, nullptr)) << ::GetLastError();
    }
    ::CloseServiceHandle(service);
    ::CloseServiceHandle(manager);
}

// Stops and deletes the service if it is there.
void RemoveService()
{
    const SC_HANDLE manager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (manager == nullptr) return;
    const SC_HANDLE service = ::OpenServiceA(manager, kService, SERVICE_STOP | SERVICE_QUERY_STATUS | DELETE);
    if (service != nullptr) {
        SERVICE_STATUS status{};
        ::ControlService(service, SERVICE_CONTROL_STOP, &status);
        ::DeleteService(service);
        ::CloseServiceHandle(service);
    }
    ::CloseServiceHandle(manager);
}

class PortServiceTest : public ::testing::Test {
protected:
    void SetUp() override { RemoveService(); }
    void TearDown() override
    {
        component.CloseDriver();
        RemoveService();
    }
    // Opens the component as a display's port, for the T6963C's registers.
    bool OpenForADisplay()
    {
        const PortRange registers[] = {{888, 3}, {888 + 0x402, 1}};
        return !component.OpenRegisters("", registers);
    }

    TDLPortIO component;
};

TEST_F(PortServiceTest, TheSystemIsOfTheNTFamily)
{
    EXPECT_TRUE(platform::SystemServiceManager().PlatformIsNT());
    EXPECT_TRUE(component.RunningOnNT);
}

TEST_F(PortServiceTest, MissingServiceIsCreatedBesideTheProgramStartedAndRemovedAgain)
{
    ASSERT_FALSE(Inspect().Exists);
    EXPECT_TRUE(OpenForADisplay());
    ASSERT_TRUE(component.ActiveHW) << component.LastError;
    EXPECT_FALSE(component.DriverWasInstalled);
    EXPECT_FALSE(component.DriverWasRunning);

    const ServiceInfo info = Inspect();
    ASSERT_TRUE(info.Exists);
    EXPECT_EQ(info.State, static_cast<DWORD>(SERVICE_RUNNING));
    EXPECT_EQ(info.ImagePath, platform::ProgramFolder() + "DLPortIO.SYS");
    EXPECT_EQ(info.DisplayName, "DriverLINX Port I/O Driver");
    EXPECT_EQ(info.LoadOrderGroup, "SST miniport drivers");
    EXPECT_EQ(info.Type, static_cast<DWORD>(SERVICE_KERNEL_DRIVER));
    EXPECT_EQ(info.StartType, static_cast<DWORD>(SERVICE_DEMAND_START));
    EXPECT_EQ(info.ErrorControl, static_cast<DWORD>(SERVICE_ERROR_NORMAL));

    // A second open finds the component open and does nothing.
    component.OpenDriver();
    EXPECT_FALSE(component.DriverWasInstalled);

    component.CloseDriver();
    EXPECT_FALSE(component.ActiveHW);
    EXPECT_EQ(component.LastError, "");
    const ServiceInfo after = Inspect();
    EXPECT_FALSE(after.Exists);
    EXPECT_EQ(after.OpenError, kErrorServiceDoesNotExist);
    EXPECT_EQ(::GetModuleHandleA("DLPortIO.dll"), nullptr);
}

TEST_F(PortServiceTest, RunningServiceIsNeitherStoppedNorDeleted)
{
    InstallService(true);
    ASSERT_EQ(Inspect().State, static_cast<DWORD>(SERVICE_RUNNING));
    EXPECT_TRUE(OpenForADisplay());
    ASSERT_TRUE(component.ActiveHW) << component.LastError;
    EXPECT_TRUE(component.DriverWasInstalled);
    EXPECT_TRUE(component.DriverWasRunning);
    component.CloseDriver();
    EXPECT_FALSE(component.ActiveHW);
    const ServiceInfo info = Inspect();
    EXPECT_TRUE(info.Exists);
    EXPECT_EQ(info.State, static_cast<DWORD>(SERVICE_RUNNING));
}

TEST_F(PortServiceTest, StoppedServiceIsStartedAndStoppedAgainButKept)
{
    InstallService(false);
    ASSERT_EQ(Inspect().State, static_cast<DWORD>(SERVICE_STOPPED));
    EXPECT_TRUE(OpenForADisplay());
    ASSERT_TRUE(component.ActiveHW) << component.LastError;
    EXPECT_TRUE(component.DriverWasInstalled);
    EXPECT_FALSE(component.DriverWasRunning);
    EXPECT_EQ(Inspect().State, static_cast<DWORD>(SERVICE_RUNNING));
    component.CloseDriver();
    const ServiceInfo info = Inspect();
    EXPECT_TRUE(info.Exists);
    EXPECT_EQ(info.State, static_cast<DWORD>(SERVICE_STOPPED));
}

// Without the driver file the service cannot start: the component removes
// the service it created and keeps the system's error in LastError. Wine
// reports a driver that cannot be loaded as ERROR_DLL_INIT_FAILED (1114).
TEST_F(PortServiceTest, DriverThatCannotStartIsRemovedAgain)
{
    TempDir empty;
    component.DriverPath = empty.Path().string();
    component.OpenDriver();
    EXPECT_FALSE(component.ActiveHW);
    EXPECT_EQ(component.LastError, "DriverStart: Error #1114");
    EXPECT_FALSE(Inspect().Exists);
    EXPECT_EQ(::GetModuleHandleA("DLPortIO.dll"), nullptr) << "no library is loaded after a failed start";
}

TEST_F(PortServiceTest, LibraryLackingAnEntryPointLeavesNoServiceBehind)
{
    component.DLLPath = platform::ProgramFolder() + "incomplete";
    EXPECT_FALSE(OpenForADisplay());
    EXPECT_FALSE(component.ActiveHW);
    EXPECT_EQ(component.LastError, "") << "the service steps themselves all worked";
    const ServiceInfo info = Inspect();
    EXPECT_FALSE(info.Exists);
    EXPECT_EQ(info.OpenError, kErrorServiceDoesNotExist);
    EXPECT_EQ(::GetModuleHandleA("DLPortIO.dll"), nullptr);
}

TEST_F(PortServiceTest, StepFailuresNameTheStepAndTheSystemsError)
{
    ASSERT_TRUE(component.ConnectSCM());
    EXPECT_FALSE(component.DriverStart());
    EXPECT_EQ(component.LastError, "DriverStart: Error #1060");
    EXPECT_FALSE(component.DriverStop());
    EXPECT_EQ(component.LastError, "DriverStop: Error #1060");
    EXPECT_FALSE(component.DriverRemove());
    EXPECT_EQ(component.LastError, "DriverRemove: Error #1060");

    // Stopping a service that does not run: ERROR_SERVICE_NOT_ACTIVE.
    InstallService(false);
    EXPECT_FALSE(component.DriverStop());
    EXPECT_EQ(component.LastError, "DriverStop: Error #1062");
    // A service that exists already counts as installed.
    EXPECT_TRUE(component.DriverInstall());
    EXPECT_TRUE(component.DriverWasInstalled);
    component.DisconnectSCM();
}

TEST_F(PortServiceTest, DestroyingTheComponentClosesItsDriver)
{
    {
        TDLPortIO scoped;
        scoped.DriverPath = ProgramFolderWithoutSeparator();
        scoped.OpenDriver();
        ASSERT_TRUE(scoped.ActiveHW) << scoped.LastError;
        EXPECT_EQ(Inspect().State, static_cast<DWORD>(SERVICE_RUNNING));
    }
    EXPECT_FALSE(Inspect().Exists);
    EXPECT_EQ(::GetModuleHandleA("DLPortIO.dll"), nullptr);
}

}  // namespace
}  // namespace dotvane::test
