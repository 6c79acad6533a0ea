// The bundled graphics screen on both emulated controllers and on the
// virtual display, with Qt's fonts and image decoder, against golden
// pictures.
#include "config/SettingsFiles.h"
#include "platform/qt/QtImageDecoder.h"
#include "platform/qt/QtTextRasterizer.h"
#include "tests/render/HardwareFixture.h"
#include "tests/support/FakePlayer.h"
#include "tests/support/FakeSystemInfo.h"
#include "tests/support/Golden.h"

#include <gtest/gtest.h>

namespace dotvane {
namespace {

const std::string kGolden = std::string(DOTVANE_FIXTURES) + "/golden";
constexpr int kGraphicsScreen = 9;

RgbImage GlassPicture(const emulator::Glass& glass)
{
    RgbImage picture(glass.Width, glass.Height);
    for (int y = 0; y < glass.Height; ++y)
        for (int x = 0; x < glass.Width; ++x) picture.SetPixel(x, y, glass.At(x, y) ? 0x000000 : 0xFFFFFF);
    return picture;
}

class ExampleScreenTest : public test::PanelTest {
protected:
    void SetUp() override
    {
        previous = std::filesystem::current_path();
        std::filesystem::current_path(std::string(DOTVANE_SOURCE_DIR) + "/examples");
        player.SetReply(0, 104, 1);
    }
    void TearDown() override { std::filesystem::current_path(previous); }

    // Shows the graphics screen on a display of the given type as a screen
    // change does, then refreshes it five times with a rising memory load.
    void Show(int32_t type, emulator::SimulationConfig::Module module)
    {
        OpenPanel(Config(module, 128, 64, 8));
        SettingsFiles files = ReadSettingsFiles(std::string(DOTVANE_SOURCE_DIR) + "/examples/");
        TMainSettings& MainSettings = fixture->MainSettings;
        MainSettings = std::move(files.MainSettings);
        MainSettings.LCD.Type = type;
        MainSettings.T6963C.Size = 4;
        harness->ScreenTable = files.Screens.ScreenTable;
        harness->FontTable = files.Screens.FontTable;
        harness->CurrentScreen = kGraphicsScreen;
        // Qt's own in place of the harness's fakes.
        const platform::TextRasterizerService::Scoped fonts(rasterizer);
        const platform::ImageDecoderService::Scoped pictures(decoder);
        Renderer& renderer = harness->renderer;
        fixture->display.Open();
        fixture->display.Clear(!harness->ScreenTable[kGraphicsScreen].Bitmap.empty());
        renderer.ForgetShownText();
        renderer.ShowScreenBitmap(harness->ScreenTable[kGraphicsScreen].Bitmap);
        for (uint32_t load : {10, 25, 40, 30, 55}) {
            memory.record.MemoryLoad = load;
            renderer.RefreshScreen();
        }
        EXPECT_TRUE(fixture->host.messages.empty());
    }

    std::filesystem::path previous;
    platform::QtTextRasterizer rasterizer;
    platform::QtImageDecoder decoder;
    test::FakeMemoryStatus memory;
    test::FakePlayer player;
};

TEST_F(ExampleScreenTest, OnTheT6963C)
{
    Show(0, emulator::SimulationConfig::Module::T6963C);
    test::ExpectMatchesGolden(GlassPicture(Glass()), kGolden, "example-t6963c-glass");
    test::ExpectMatchesGolden(harness->renderer.PresentedPicture(), kGolden, "example-t6963c-virtual");
}

TEST_F(ExampleScreenTest, OnTheKS0108)
{
    Show(1, emulator::SimulationConfig::Module::KS0108);
    test::ExpectMatchesGolden(GlassPicture(Glass()), kGolden, "example-ks0108-glass");
    test::ExpectMatchesGolden(harness->renderer.PresentedPicture(), kGolden, "example-ks0108-virtual");
}

TEST_F(ExampleScreenTest, OnTheVirtualDisplayAlone)
{
    Show(3, emulator::SimulationConfig::Module::KS0108);
    test::ExpectMatchesGolden(harness->renderer.PresentedPicture(), kGolden, "example-virtual-only");
}

}  // namespace
}  // namespace dotvane
