// Texts that get shorter or gain blanks on the glass of both controllers:
// each hardware row ends up showing what the virtual display's row shows.
#include "lcd/emulator/Glass.h"
#include "tests/render/HardwareFixture.h"

#include <gtest/gtest.h>

#include <string>

namespace dotvane {
namespace {

class StaleCellsTest : public test::PanelTest {
protected:
    // The text of row 0 on the glass after showing `before`, then `after`.
    std::string Shown(emulator::SimulationConfig::Module module, const std::string& before, const std::string& after)
    {
        const bool t6963c = module == emulator::SimulationConfig::Module::T6963C;
        OpenPanel(Config(module, 128, 64, 6));
        fixture->MainSettings.LCD.Type = t6963c ? 0 : 1;
        fixture->MainSettings.T6963C.Size = 1;
        fixture->display.Open();
        harness->WindowShown = false;
        for (const std::string& text : {before, after}) {
            harness->ScreenTable[0].Line[0] = text;
            harness->renderer.RefreshScreen();
        }
        std::string row = emulator::ReadText(Glass(), 0, 0, 6, 20);
        return row.erase(row.find_last_not_of(' ') + 1);
    }
};

TEST_F(StaleCellsTest, AShorterTextOrANewBlankLeavesNothingBehind)
{
    const struct {
        const char* before;
        const char* after;
    } cases[] = {
        {"longprocname123", "ab"},
        {"Unknown", "Fixed"},
        {"258019", "22"},
        {"ABCDEFGHIJ", "A C E G I"},
    };
    for (const auto module : {emulator::SimulationConfig::Module::T6963C, emulator::SimulationConfig::Module::KS0108})
        for (const auto& c : cases)
            EXPECT_EQ(Shown(module, c.before, c.after), c.after) << c.before << " -> " << c.after;
}

}  // namespace
}  // namespace dotvane
