#include "render/SplitLine.h"

#include "tests/support/FakePlayer.h"
#include "tests/support/RecordingDisplay.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/RenderHarness.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>

namespace dotvane {
namespace {

// A recording display that runs `whileWriting` at every text write, as a
// message box opened during a refresh lets the timers run.
class ReenteringDisplay : public test::RecordingDisplay {
public:
    std::function<void()> whileWriting;
    void WriteText(std::string_view text) override
    {
        RecordingDisplay::WriteText(text);
        if (whileWriting) whileWriting();
    }
};

// Refreshes with the window hidden, recording what reaches the display.
class RefreshCycleTest : public ::testing::Test {
protected:
    void SetUp() override { WindowShown = false; }

    void SetLine(int row, std::string text) { ScreenTable[0].Line[row] = std::move(text); }
    std::vector<std::string> Refresh()
    {
        display.calls.clear();
        renderer.RefreshScreen();
        return display.calls;
    }

    ReenteringDisplay display;
    test::RecordingHost host;
    TMainSettings MainSettings;
    test::RenderHarness harness{MainSettings, display, host};
    ScreenEntries& ScreenTable = harness.ScreenTable;
    int& CurrentScreen = harness.CurrentScreen;
    bool& WindowShown = harness.WindowShown;
    const RowTexts& LineText = harness.LineText;
    const RowTexts& ShownText = harness.ShownText;
    Renderer& renderer = harness.renderer;
};

using Calls = std::vector<std::string>;

TEST(SplitLine, HeadAndTailAgainstTheColumns)
{
    const std::string s19(19, 'a'), s20(20, 'b'), s45(45, 'c');
    EXPECT_FALSE(SplitLine(s19, 20).hasTail);
    EXPECT_EQ(SplitLine(s19, 20).head, s19);
    const SplitText twenty = SplitLine(s20, 20);
    EXPECT_EQ(twenty.head.size(), 19u);
    EXPECT_EQ(twenty.tail, "b");
    const SplitText long45 = SplitLine(s45, 20);
    EXPECT_EQ(long45.head.size(), 19u);
    EXPECT_EQ(long45.tail.size(), 18u);  // 26 characters cut to columns - 2
    EXPECT_EQ(SplitLine(std::string(38, 'd'), 20).tail.size(), 19u);  // exactly columns - 1 stays whole
    EXPECT_EQ(SplitLine(std::string(39, 'd'), 20).tail.size(), 18u);
    EXPECT_EQ(SplitLine("ab", 2).head, "a");
    EXPECT_EQ(SplitLine("ab", 2).tail, "b");
    EXPECT_EQ(SplitLine("abc", 2).tail, "");
}

TEST_F(RefreshCycleTest, AScreenOverTheCapsShowsWhatFitsAndIsToldOnce)
{
    test::FakePlayer player;
    // Lines of a screen file of megabytes: 700,000 clocks, 100,000 players.
    std::string clocks, players;
    for (int i = 0; i < 700'000; ++i) clocks += "$time$";
    for (int i = 0; i < 100'000; ++i) players += "$winampstatus$";
    CurrentScreen = 3;
    ScreenTable[3].Line[0] = clocks;
    ScreenTable[3].Line[1] = players;
    const auto start = std::chrono::steady_clock::now();
    Refresh();
    Refresh();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    // What the display's 8 rows of 20 columns can show: 23 states, cut.
    EXPECT_EQ(LineText[0].size(), 160u);
    std::string states;
    for (int i = 0; i < 23; ++i) states += "stopped";
    EXPECT_EQ(LineText[1].size(), 160u);
    EXPECT_TRUE(LineText[1] == states.substr(0, 160)) << LineText[1].substr(0, 200);
    EXPECT_EQ(player.lookups, 2 * 23);
    EXPECT_EQ(host.statusHistory,
              std::vector<std::string>{"Screen 3 is cut: its lines hold more than the display shows, or over 1000 variables"});
}

TEST_F(RefreshCycleTest, WritesOnlyRowsThatChanged)
{
    SetLine(0, "first");
    SetLine(2, "third");
    EXPECT_EQ(Refresh(), (Calls{"Pos 0,0", "Text 'first'", "Pos 0,2", "Text 'third'"}));
    EXPECT_EQ(Refresh(), Calls{});
    SetLine(2, "3rd");
    // The two cells past the shorter text are cleared.
    EXPECT_EQ(Refresh(), (Calls{"Pos 0,2", "Text '3rd'", "Clear 2 at 3,2"}));
    EXPECT_EQ(ShownText[2], "3rd");
    EXPECT_EQ(LineText[0], "first");
}

TEST_F(RefreshCycleTest, LongRowsSplitOntoTheNextRow)
{
    SetLine(0, std::string(19, 'a'));
    SetLine(1, std::string(20, 'b'));
    SetLine(3, std::string(45, 'c'));
    EXPECT_EQ(Refresh(), (Calls{"Pos 0,0", "Text '" + std::string(19, 'a') + "'", "Pos 0,1",
                                "Text '" + std::string(19, 'b') + "'", "Pos 1,2", "Text 'b'", "Pos 0,3",
                                "Text '" + std::string(19, 'c') + "'", "Pos 1,4", "Text '" + std::string(18, 'c') + "'"}));
}

TEST_F(RefreshCycleTest, ATailLandsBeforeTheNextRowIsWritten)
{
    SetLine(0, std::string(22, 'x'));
    SetLine(1, "own");
    EXPECT_EQ(Refresh(), (Calls{"Pos 0,0", "Text '" + std::string(19, 'x') + "'", "Pos 1,1", "Text 'xxx'",
                                "Pos 0,1", "Text 'own'"}));
}

// Each hardware row ends up as the virtual display shows it: what a shorter
// text, or a line that stopped being long, leaves behind is cleared, after
// the rows are written as before.
TEST_F(RefreshCycleTest, ShrinkingRowsAndTailsLeaveNothingBehind)
{
    SetLine(0, "0123456789");
    SetLine(1, std::string(25, 'z'));
    Refresh();
    SetLine(0, "012345");
    SetLine(1, "short");
    EXPECT_EQ(Refresh(), (Calls{"Pos 0,0", "Text '012345'", "Pos 0,1", "Text 'short'", "Clear 4 at 6,0",
                                "Clear 14 at 5,1", "Clear 6 at 1,2"}));
    EXPECT_EQ(renderer.ShownCells()[2], std::string(7, ' '));
}

TEST_F(RefreshCycleTest, LongLastRowSendsItsTailBelowTheTextArea)
{
    MainSettings.LCD.TextRows = 2;
    SetLine(1, std::string(21, 'q'));
    SetLine(2, "never shown");
    EXPECT_EQ(Refresh(), (Calls{"Pos 0,1", "Text '" + std::string(19, 'q') + "'", "Pos 1,2", "Text 'qq'"}));
}

TEST_F(RefreshCycleTest, AfterAClearEveryNonEmptyRowIsWrittenAgain)
{
    SetLine(0, "same");
    SetLine(4, "also");
    Refresh();
    EXPECT_EQ(Refresh(), Calls{});
    renderer.ForgetShownText();
    EXPECT_EQ(Refresh(), (Calls{"Pos 0,0", "Text 'same'", "Pos 0,4", "Text 'also'"}));
}

// Where a written blank leaves its cell as it was (the KS0108), the cells
// that showed a character are cleared one by one, and cells that never held
// one are never touched, so a bitmap under them still shows.
TEST_F(RefreshCycleTest, WhereBlanksDoNotEraseOnlyCellsThatHeldTextAreCleared)
{
    display.blanksErase = false;
    SetLine(0, "ABCDEFGHIJ");
    SetLine(1, "   X");
    Refresh();
    SetLine(0, "A C E G I");
    SetLine(1, "");
    EXPECT_EQ(Refresh(), (Calls{"Pos 0,0", "Text 'A C E G I'", "Pos 0,1", "Text ''", "Clear 1 at 1,0",
                                "Clear 1 at 3,0", "Clear 1 at 5,0", "Clear 1 at 7,0", "Clear 1 at 9,0",
                                "Clear 1 at 3,1"}));
    // Where a blank does erase, the text alone does it.
    display.blanksErase = true;
    SetLine(0, "ABCDEFGHIJ");
    Refresh();
    SetLine(0, "A C E G I J");
    EXPECT_EQ(Refresh(), (Calls{"Pos 0,0", "Text 'A C E G I J'"}));
}

TEST_F(RefreshCycleTest, AnEmptyRowIsWrittenOnlyIfItShowedSomething)
{
    EXPECT_EQ(Refresh(), Calls{});
    SetLine(5, "x");
    Refresh();
    SetLine(5, "");
    EXPECT_EQ(Refresh(), (Calls{"Pos 0,5", "Text ''", "Clear 1 at 0,5"}));
}

TEST_F(RefreshCycleTest, NeverTouchesMoreThanSixteenRows)
{
    MainSettings.LCD.TextRows = 40;
    for (int k = 0; k < 16; ++k) SetLine(k, "r" + std::to_string(k));
    const Calls calls = Refresh();
    EXPECT_EQ(calls.size(), 32u);
    EXPECT_EQ(calls.back(), "Text 'r15'");
}

TEST_F(RefreshCycleTest, RowsAreExpandedFromTheCurrentScreen)
{
    ScreenTable[7].Line[0] = "mail $mailcount(1)$";
    CurrentScreen = 7;
    EXPECT_EQ(Refresh(), (Calls{"Pos 0,0", "Text 'mail 0'"}));
}

TEST_F(RefreshCycleTest, ARefreshAskedForWhileOneRunsIsSkipped)
{
    SetLine(0, "outer");
    SetLine(1, "second");
    int nested = 0;
    display.whileWriting = [&] {
        ++nested;
        renderer.RefreshScreen();
    };
    EXPECT_EQ(Refresh(), (Calls{"Pos 0,0", "Text 'outer'", "Pos 0,1", "Text 'second'"}));
    EXPECT_EQ(nested, 2);

    // Once it has ended, the next refresh runs.
    display.whileWriting = nullptr;
    SetLine(0, "again");
    EXPECT_EQ(Refresh(), (Calls{"Pos 0,0", "Text 'again'"}));
}

}  // namespace
}  // namespace dotvane
