// The port component on Windows through the real loader: LoadLibraryA and
// GetProcAddress of a fake DLPortIO.dll that the test build puts beside
// this program and that records every port access. The service steps are
// left out here (the NT-family check is switched off); PortServiceWin32Test
// runs them.
#include "config/Settings.h"
#include "lcd/DisplayFactory.h"
#include "lcd/KS0108Driver.h"
#include "lcd/T6963CDriver.h"
#include "lcd/TDLPortIO.h"
#include "platform/FileNames.h"
#include "platform/LibraryLoader.h"
#include "platform/PortLibrary.h"
#include "platform/ServiceManager.h"

#include "tests/lcd/FakePortLibrary.h"
#include "tests/lcd/FakeServiceManager.h"
#include "tests/support/RecordingHost.h"
#include "tests/win32/FakeLibraryLog.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace dotvane::test {
namespace {

namespace PL = platform::PortLibrary;
using Access = RecordingPort::Access;

const std::string kIncompleteFolder = platform::ProgramFolder() + "incomplete";

TEST(PortLibraryWin32, LoaderFindsTheLibraryBesideTheProgramWithEveryEntryPoint)
{
    platform::LibraryLoader& loader = platform::SystemLibraryLoader();
    EXPECT_EQ(loader.FileName("DLPortIO"), "DLPortIO.dll");
    platform::LibraryHandle library = loader.Load("", "DLPortIO.dll");
    ASSERT_NE(library, nullptr);
    for (const char* name : PL::kEntryPointNames) EXPECT_NE(loader.Symbol(library, name), nullptr) << name;
    EXPECT_EQ(loader.Symbol(library, PL::kRequestAccessName), nullptr) << "Windows libraries have no access request";
    EXPECT_EQ(loader.Symbol(library, PL::kCheckDeviceName), nullptr) << "nor a device to check";
    EXPECT_EQ(loader.Symbol(library, "DlPortNoSuchFunction"), nullptr);
    EXPECT_TRUE(loader.Unload(library));
    EXPECT_EQ(::GetModuleHandleA("DLPortIO.dll"), nullptr);

    EXPECT_EQ(loader.Load(platform::ProgramFolder() + "no such folder", "DLPortIO.dll"), nullptr);
    EXPECT_EQ(loader.Symbol(nullptr, "DlPortReadPortUchar"), nullptr);
    EXPECT_FALSE(loader.Unload(nullptr));
}

TEST(PortLibraryWin32, IncompleteCopyLacksOnlyTheLastBufferWrite)
{
    platform::LibraryLoader& loader = platform::SystemLibraryLoader();
    platform::LibraryHandle library = loader.Load(kIncompleteFolder, "DLPortIO.dll");
    ASSERT_NE(library, nullptr);
    for (const char* name : PL::kEntryPointNames) {
        const bool missing = std::string(name) == "DlPortWritePortBufferUlong";
        EXPECT_EQ(loader.Symbol(library, name) == nullptr, missing) << name;
    }
    EXPECT_TRUE(loader.Unload(library));
}

// A port component on the system's loader, opened outside the NT family so
// that only the library is loaded.
class LibraryPortTest : public ::testing::Test {
protected:
    LibraryPortTest() : component(services, platform::SystemLibraryLoader()) { component.RunningOnNT = false; }
    ~LibraryPortTest() override { component.CloseDriver(); }

    FakeServiceManager services;
    TDLPortIO component;
    RecordingHost host;
    TMainSettings settings;
    SelectedDisplay display{component, settings, host};
};

TEST_F(LibraryPortTest, AccessesReachTheLibraryWithTheirWidths)
{
    component.OpenDriver();
    ASSERT_TRUE(component.ActiveHW);
    component.SetPortByte(0x378, 0x41);
    component.SetPortWord(0x37A, 0xBEEF);
    CallFakeLibrary<FakeDlPortIO::AnswerFunction>("FakePortAnswer", 0x5Au);
    EXPECT_EQ(component.GetPortByte(0xBBB), 0x5A);
    EXPECT_EQ(FakeLibraryLog(), (std::vector<Access>{{true, 0x378, 0x41, 1}, {true, 0x37A, 0xBEEF, 2},
                                                    {false, 0xBBB, 0x5A, 1}}));
    // Without the entry point that checks a device, the port always answers.
    EXPECT_EQ(component.Health(), PortHealth{});

    component.CloseDriver();
    EXPECT_FALSE(component.ActiveHW);
    EXPECT_EQ(::GetModuleHandleA("DLPortIO.dll"), nullptr);
    // Closed, the component ignores writes and reads all ones.
    component.SetPortByte(0x378, 0x00);
    EXPECT_EQ(component.GetPortByte(0x379), 0xFF);
}

TEST_F(LibraryPortTest, LibraryLackingAnEntryPointIsNotKept)
{
    component.DLLPath = kIncompleteFolder;
    settings.LCD.Type = 0;
    EXPECT_EQ(display.Open(), (PortOpenFailure{"Could not open the DriverLINX driver.", ""}));
    EXPECT_FALSE(component.ActiveHW);
    EXPECT_EQ(::GetModuleHandleA("DLPortIO.dll"), nullptr) << "the library is unloaded again";
    EXPECT_EQ(component.LastError, "");
}

// What a display operation sends to the port, once through the fake
// DLPortIO.dll on the real loader and once through the in-process fake
// library; both must be the same, access by access.
class ControllerSequenceTest : public ::testing::Test {
protected:
    using Operations = std::function<void(SelectedDisplay& display)>;

    // Opens the display of `type` and runs `operations` through the DLL;
    // the log starts with the opening.
    std::vector<Access> ThroughTheDll(int32_t type, const Operations& operations)
    {
        TMainSettings settings;
        settings.LCD.Type = type;
        FakeServiceManager services;
        TDLPortIO component(services, platform::SystemLibraryLoader());
        component.RunningOnNT = false;
        RecordingHost host;
        SelectedDisplay display(component, settings, host);
        EXPECT_EQ(display.Open(), std::nullopt);
        EXPECT_TRUE(component.ActiveHW);
        operations(display);
        return FakeLibraryLog();
    }

    std::vector<Access> InProcess(int32_t type, const Operations& operations)
    {
        TMainSettings settings;
        settings.LCD.Type = type;
        RecordingPort port;
        FakePortLibrary library(port);
        FakeServiceManager services;
        TDLPortIO component(services, library);
        component.RunningOnNT = false;
        RecordingHost host;
        SelectedDisplay display(component, settings, host);
        display.Open();
        operations(display);
        return port.Log;
    }
};

void TextAndPixels(SelectedDisplay& display)
{
    display.SetTextPosition(2, 1);
    display.WriteText("Hi there");
    display.SetPixel(5, 6);
    display.ResetPixel(5, 6);
    display.Clear(false);
    display.Blank();
}

TEST_F(ControllerSequenceTest, T6963CThroughTheLibrary)
{
    const std::vector<Access> dll = ThroughTheDll(0, TextAndPixels);
    EXPECT_EQ(dll, InProcess(0, TextAndPixels));
    ASSERT_FALSE(dll.empty());
    for (const Access& a : dll) {
        EXPECT_EQ(a.Width, 1) << "the T6963C driver moves single bytes";
        EXPECT_TRUE(a.Port == 888 || a.Port == 890 || a.Port == 888 + 0x402) << a.Port;
    }

    // One data byte in wiring A: data, then C/D low and the strobes.
    const std::vector<Access> data = ThroughTheDll(0, [](SelectedDisplay& display) {
        static_cast<TT6963CDriver&>(display.Of(DisplayKind::T6963C)).WriteData(0x41);
    });
    ASSERT_GE(data.size(), 6u);
    EXPECT_EQ(std::vector<Access>(data.end() - 6, data.end()),
              (std::vector<Access>{{true, 888, 0x41, 1}, {true, 890, 0x00, 1}, {true, 890, 0x02, 1},
                                   {true, 890, 0x03, 1}, {true, 890, 0x02, 1}, {true, 890, 0x00, 1}}));
}

TEST_F(ControllerSequenceTest, KS0108ThroughTheLibrary)
{
    const std::vector<Access> dll = ThroughTheDll(1, TextAndPixels);
    EXPECT_EQ(dll, InProcess(1, TextAndPixels));
    ASSERT_FALSE(dll.empty());
    for (const Access& a : dll) {
        EXPECT_TRUE(a.IsWrite);
        EXPECT_EQ(a.Width, 2) << "the KS0108 driver writes 16-bit words";
        EXPECT_TRUE(a.Port == 888 || a.Port == 890) << a.Port;
    }

    // One instruction to the right half, byte-exact.
    const std::vector<Access> instruction =
        ThroughTheDll(1, [](SelectedDisplay& display) {
            static_cast<TKS0108Driver&>(display.Of(DisplayKind::KS0108)).WriteInstruction(0x3F, TKS0108Driver::kRight);
        });
    ASSERT_GE(instruction.size(), 5u);
    EXPECT_EQ(std::vector<Access>(instruction.end() - 5, instruction.end()),
              (std::vector<Access>{{true, 890, 0x0F, 2}, {true, 888, 0x3F, 2}, {true, 890, 0x0E, 2},
                                   {true, 890, 0x0F, 2}, {true, 888, 0x00, 2}}));
}

}  // namespace
}  // namespace dotvane::test
