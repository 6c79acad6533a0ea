// A player's title outside ASCII, from the session bus to the emulated
// panels and the virtual display: each character takes one cell, drawn as
// the panel can draw it, and a row splits where it would for ASCII.
#include "platform/linux/mpris/MprisPlayer.h"

#include "lcd/emulator/Glass.h"
#include "tests/platform/mpris/FakeMprisService.h"
#include "tests/render/HardwareFixture.h"

#include <gtest/gtest.h>

#include <vector>

namespace dotvane::platform {
namespace {

using emulator::SimulationConfig;
using test::FakeTrackState;

// "Björk – Jóga" and the same title as ASCII.
const QString kTitle = QString::fromUtf8("Bj\xC3\xB6rk \xE2\x80\x93 J\xC3\xB3ga");
const QString kAsciiTitle = QStringLiteral("Bjork - Joga");

// The codes of the character generator ROM for "Björk – Jóga": the ROM's
// own ö, ó as its base letter o, the dash as "-".
const std::vector<uint8_t> kTitleCodes{0x22, 0x4A, 0x74, 0x52, 0x4B, 0x00, 0x0D, 0x00, 0x2A, 0x4F, 0x47, 0x41};

// What the panels and the virtual display show after one refresh of a
// screen whose first row is the player's title.
struct Shown {
    emulator::Glass glass;
    emulator::Glass virtualDisplay;
    std::vector<uint8_t> textMemory;  // the first two rows of text cells
    uint16_t textArea = 0;
    uint16_t addressPointer = 0;      // where the last text write left it
};

class MprisTitleOnDisplaysTest : public test::PanelTest {
protected:
    void SetUp() override { ASSERT_TRUE(fake.Registered()); }

    Shown Show(SimulationConfig::Module module, int32_t columns, const QString& title)
    {
        fake.Update([&](FakeTrackState& s) {
            s.playbackStatus = QStringLiteral("Playing");
            s.trackId = QStringLiteral("/org/example/track/1");
            s.title = title;
            s.artists.clear();
        });
        const bool t6963c = module == SimulationConfig::Module::T6963C;
        OpenPanel(Config(module, 128, 64, 8));
        TMainSettings& MainSettings = fixture->MainSettings;
        MainSettings.LCD.Type = t6963c ? 0 : 1;
        MainSettings.T6963C.Size = 4;
        MainSettings.LCD.TextColumns = columns;
        harness->ScreenTable[0].Line[0] = "$winamptitle$";
        fixture->display.Open();
        fixture->display.Clear(false);
        harness->renderer.ForgetShownText();
        harness->renderer.RefreshScreen();
        EXPECT_TRUE(fixture->host.messages.empty());

        Shown shown;
        shown.glass = Glass();
        const RgbImage& picture = harness->renderer.PresentedPicture();
        shown.virtualDisplay = emulator::Glass(picture.Width(), picture.Height());
        for (int y = 0; y < picture.Height(); ++y)
            for (int x = 0; x < picture.Width(); ++x) shown.virtualDisplay.Set(x, y, picture.Pixel(x, y) == 0);
        if (t6963c) {
            const emulator::T6963CPanel& panelModel = *panel->simulation.T6963C();
            shown.textArea = panelModel.TextArea();
            shown.addressPointer = static_cast<uint16_t>(panelModel.AddressPointer() - panelModel.TextHome());
            for (int i = 0; i < 2 * shown.textArea; ++i)
                shown.textMemory.push_back(panelModel.Memory(static_cast<uint16_t>(panelModel.TextHome() + i)));
        }
        return shown;
    }

    // Ten times the program's wait, so that the fake is heard under load.
    std::unique_ptr<Player> player_ = CreateMprisPlayer(std::string(), 10 * kPlayerBudgetMs);
    const PlayerService::Scoped installed_{*player_};
    test::FakeMprisService fake{QStringLiteral("fake")};
};

TEST_F(MprisTitleOnDisplaysTest, TheKS0108AndTheVirtualDisplayShowTheBaseLetters)
{
    const Shown shown = Show(SimulationConfig::Module::KS0108, 21, kTitle);
    ASSERT_TRUE(player_->FindWindow());
    // Twelve cells of six columns, and nothing after them.
    EXPECT_EQ(emulator::ReadText(shown.glass, 0, 0, 6, 21), "Bjork - Joga         ");
    EXPECT_EQ(emulator::ReadText(shown.virtualDisplay, 0, 0, 6, 21), "Bjork - Joga         ");

    const Shown ascii = Show(SimulationConfig::Module::KS0108, 21, kAsciiTitle);
    EXPECT_EQ(shown.glass, ascii.glass);
    EXPECT_EQ(shown.virtualDisplay, ascii.virtualDisplay);
}

TEST_F(MprisTitleOnDisplaysTest, TheT6963CReceivesTheRomCodesOfTwelveLetters)
{
    const Shown shown = Show(SimulationConfig::Module::T6963C, 21, kTitle);
    ASSERT_EQ(shown.textArea, 16);
    EXPECT_EQ(std::vector<uint8_t>(shown.textMemory.begin(), shown.textMemory.begin() + 12), kTitleCodes);
    EXPECT_EQ(shown.addressPointer, 12);
    EXPECT_EQ(emulator::ReadText(shown.glass, 0, 0, 8, 16), "Bjork - Joga    ");
    EXPECT_EQ(emulator::ReadText(shown.virtualDisplay, 0, 0, 6, 21), "Bjork - Joga         ");

    // The ASCII title differs in the ö alone.
    const Shown ascii = Show(SimulationConfig::Module::T6963C, 21, kAsciiTitle);
    std::vector<uint8_t> codes = shown.textMemory;
    codes[2] = 0x4F;
    EXPECT_EQ(codes, ascii.textMemory);
    EXPECT_EQ(ascii.addressPointer, 12);
}

TEST_F(MprisTitleOnDisplaysTest, ARowSplitsAtTheSameColumnAsForAnAsciiTitle)
{
    // Eight columns: seven cells on the row, the other five from the second
    // column of the next.
    const Shown ks0108 = Show(SimulationConfig::Module::KS0108, 8, kTitle);
    EXPECT_EQ(emulator::ReadText(ks0108.glass, 0, 0, 6, 8), "Bjork - ");
    EXPECT_EQ(emulator::ReadText(ks0108.glass, 6, 8, 6, 6), " Joga ");
    EXPECT_EQ(emulator::ReadText(ks0108.virtualDisplay, 0, 0, 6, 8), "Bjork - ");
    EXPECT_EQ(emulator::ReadText(ks0108.virtualDisplay, 7, 8, 6, 6), " Joga ");
    const Shown ks0108Ascii = Show(SimulationConfig::Module::KS0108, 8, kAsciiTitle);
    EXPECT_EQ(ks0108.glass, ks0108Ascii.glass);
    EXPECT_EQ(ks0108.virtualDisplay, ks0108Ascii.virtualDisplay);

    const Shown t6963c = Show(SimulationConfig::Module::T6963C, 8, kTitle);
    const uint16_t next = t6963c.textArea;
    EXPECT_EQ(std::vector<uint8_t>(t6963c.textMemory.begin(), t6963c.textMemory.begin() + 8),
              (std::vector<uint8_t>{0x22, 0x4A, 0x74, 0x52, 0x4B, 0x00, 0x0D, 0x00}));
    EXPECT_EQ(std::vector<uint8_t>(t6963c.textMemory.begin() + next, t6963c.textMemory.begin() + next + 6),
              (std::vector<uint8_t>{0x00, 0x00, 0x2A, 0x4F, 0x47, 0x41}));
    EXPECT_EQ(t6963c.addressPointer, next + 6);
    const Shown t6963cAscii = Show(SimulationConfig::Module::T6963C, 8, kAsciiTitle);
    EXPECT_EQ(t6963cAscii.addressPointer, next + 6);
}

}  // namespace
}  // namespace dotvane::platform
