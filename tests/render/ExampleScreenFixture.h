#pragma once

#include "config/SettingsFiles.h"
#include "tests/render/HardwareFixture.h"
#include "tests/support/FakePlayer.h"
#include "tests/support/FakeSystemInfo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace dotvane::test {

// The bundled graphics screen on an emulated controller and on the virtual
// display, drawn with a shell's own font engine (Fonts) and image decoder
// (Pictures) in place of the fakes. Each shell's test compares the pictures
// with golden ones that hold its glyphs.
template <class Fonts, class Pictures>
class ExampleScreenFixture : public PanelTest {
protected:
    static constexpr int kGraphicsScreen = 9;

    void SetUp() override
    {
        previous = std::filesystem::current_path();
        std::filesystem::current_path(std::string(DOTVANE_SOURCE_DIR) + "/examples");
        player.SetReply(0, platform::kPlayerGetStatus, 1);
    }
    void TearDown() override { std::filesystem::current_path(previous); }

    static RgbImage GlassPicture(const emulator::Glass& glass)
    {
        RgbImage picture(glass.Width, glass.Height);
        for (int y = 0; y < glass.Height; ++y)
            for (int x = 0; x < glass.Width; ++x) picture.SetPixel(x, y, glass.At(x, y) ? 0x000000 : 0xFFFFFF);
        return picture;
    }

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
    Fonts rasterizer;
    Pictures decoder;
    FakeMemoryStatus memory;
    FakePlayer player;
};

}  // namespace dotvane::test
