#include "PngReader.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/TempDir.h"

#include "config/Settings.h"
#include "lcd/DisplayFactory.h"
#include "lcd/TDLPortIO.h"
#include "lcd/emulator/Glass.h"
#include "platform/LibraryLoader.h"
#include "platform/PortLibrary.h"
#include "platform/ServiceManager.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace dotvane::test {
namespace {

namespace PL = platform::PortLibrary;

const std::string kBuiltLibraryFolder = DOTVANE_BINARY_DIR "/bin";
const std::string kSimulatedLibraryFolder = DOTVANE_BINARY_DIR "/bin/simport";

TEST(PortLibraryTest, BothBuildsExportEveryEntryPoint)
{
    platform::LibraryLoader& loader = platform::SystemLibraryLoader();
    EXPECT_EQ(loader.FileName("DLPortIO"), "libdlportio.so");
    for (const std::string& folder : {kBuiltLibraryFolder, kSimulatedLibraryFolder}) {
        platform::LibraryHandle library = loader.Load(folder, "libdlportio.so");
        ASSERT_NE(library, nullptr) << folder;
        for (const char* name : PL::kEntryPointNames) EXPECT_NE(loader.Symbol(library, name), nullptr) << name;
        EXPECT_NE(loader.Symbol(library, PL::kRequestAccessName), nullptr);
        EXPECT_EQ(loader.Symbol(library, "DlPortNoSuchFunction"), nullptr);
        EXPECT_TRUE(loader.Unload(library));
    }
    EXPECT_EQ(loader.Load(kBuiltLibraryFolder, "libnosuchlibrary.so"), nullptr);
}

// The programs and the tests run from the folder the library is built into
// and find it there by name, through their run path.
TEST(PortLibraryTest, TheCopyBesideTheProgramIsFoundByName)
{
    platform::LibraryLoader& loader = platform::SystemLibraryLoader();
    platform::LibraryHandle library = loader.Load("", "libdlportio.so");
    ASSERT_NE(library, nullptr);
    EXPECT_NE(loader.Symbol(library, "DlPortWritePortUchar"), nullptr);
    EXPECT_TRUE(loader.Unload(library));
}

// Without I/O permission (no root or CAP_SYS_RAWIO, lockdown, or a sandbox
// without ioperm) the real library refuses the ports and touches none.
TEST(PortLibraryTest, RefusedPortsReadAllOnesAndIgnoreWrites)
{
    platform::LibraryLoader& loader = platform::SystemLibraryLoader();
    platform::LibraryHandle library = loader.Load(kBuiltLibraryFolder, "libdlportio.so");
    ASSERT_NE(library, nullptr);
    const auto request = reinterpret_cast<PL::RequestAccess>(loader.Symbol(library, PL::kRequestAccessName));
    const auto read = reinterpret_cast<PL::ReadUchar>(loader.Symbol(library, "DlPortReadPortUchar"));
    const auto readWord = reinterpret_cast<PL::ReadUshort>(loader.Symbol(library, "DlPortReadPortUshort"));
    const auto readBuffer = reinterpret_cast<PL::ReadBufferUchar>(loader.Symbol(library, "DlPortReadPortBufferUchar"));
    EXPECT_NE(request(0xFFFF, 2), 0);  // past the last port
    EXPECT_EQ(request(0x80, 0), 0);
    if (request(0x80, 1) == 0) {
        loader.Unload(library);
        GTEST_SKIP() << "this process may use I/O ports; real port traffic is not tested";
    }
    EXPECT_EQ(read(0x80), 0xFF);
    EXPECT_EQ(readWord(0x80), 0xFFFF);
    uint8_t buffer[3] = {1, 2, 3};
    readBuffer(0x80, buffer, 3);
    EXPECT_EQ(buffer[2], 0xFF);
    loader.Unload(library);
}

// Runs the display driver on the simulated port library, loaded the way the
// program loads it, and reads the glass back from its picture.
class SimulatedLibraryTest : public ::testing::Test {
protected:
    void SetUpLibrary(const std::string& panel)
    {
        picture = (folder.Path() / "glass.png").string();
        setenv("DOTVANE_SIM_PANEL", panel.c_str(), 1);
        setenv("DOTVANE_SIM_PNG", picture.c_str(), 1);
        setenv("DOTVANE_SIM_SCALE", "2", 1);
        component.DLLPath = kSimulatedLibraryFolder;
    }

    ~SimulatedLibraryTest() override
    {
        component.CloseDriver();
        for (const char* name : {"DOTVANE_SIM_PANEL", "DOTVANE_SIM_PNG", "DOTVANE_SIM_SCALE"}) unsetenv(name);
    }

    emulator::Glass Picture() const
    {
        const auto glass = ReadGlassPng(ReadFileBytes(picture), 2);
        return glass.value_or(emulator::Glass{});
    }

    TempDir folder;
    std::string picture;
    RecordingHost host;
    TMainSettings MainSettings;
    TDLPortIO component{platform::SystemServiceManager(), platform::SystemLibraryLoader()};
    SelectedDisplay display{component, MainSettings, host};
};

TEST_F(SimulatedLibraryTest, KS0108TextAppearsInThePicture)
{
    SetUpLibrary("ks0108");
    MainSettings.LCD.Type = 1;
    EXPECT_EQ(display.Open(), std::nullopt);
    ASSERT_TRUE(component.ActiveHW);
    EXPECT_EQ(Picture().LitCount(), 0);
    display.SetTextPosition(1, 6);
    display.WriteText("simulated");
    const emulator::Glass glass = Picture();
    ASSERT_EQ(glass.Width, 128);
    EXPECT_EQ(emulator::ReadText(glass, 0, 48, 6, 11), " simulated ");
    display.Blank();
    EXPECT_EQ(Picture().LitCount(), 0);
}

TEST_F(SimulatedLibraryTest, T6963CTextAndPixelAppearInThePicture)
{
    SetUpLibrary("t6963c");
    MainSettings.LCD.Type = 0;
    MainSettings.T6963C.Size = 4;
    EXPECT_EQ(display.Open(), std::nullopt);
    ASSERT_TRUE(component.ActiveHW);
    display.SetTextPosition(0, 2);
    display.WriteText("T6963C");
    display.SetPixel(120, 60);
    const emulator::Glass glass = Picture();
    ASSERT_EQ(glass.Height, 64);
    EXPECT_EQ(emulator::ReadText(glass, 0, 16, 8, 7), "T6963C ");
    EXPECT_TRUE(glass.At(120, 60));
}

}  // namespace
}  // namespace dotvane::test
