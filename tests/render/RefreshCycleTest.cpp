#include "render/RefreshCycle.h"

#include "config/ScreenFile.h"
#include "app/ScreenState.h"
#include "config/Settings.h"
#include "tests/support/RecordingDisplay.h"

#include <gtest/gtest.h>

namespace dotvane {
namespace {

class RefreshCycleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        MainSettings = TMainSettings{};
        ScreenTable = {};
        CurrentScreen = 0;
        WindowShown = false;
        ForgetShownText();
    }
    void TearDown() override { WindowShown = true; }

    void SetLine(int row, std::string text) { ScreenTable[0].Line[row] = std::move(text); }
    std::vector<std::string> Refresh()
    {
        display.calls.clear();
        RefreshScreen();
        return display.calls;
    }

    test::RecordingDisplay display;
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

TEST_F(RefreshCycleTest, WritesOnlyRowsThatChanged)
{
    SetLine(0, "first");
    SetLine(2, "third");
    EXPECT_EQ(Refresh(), (Calls{"Pos 0,0", "Text 'first'", "Pos 0,2", "Text 'third'"}));
    EXPECT_EQ(Refresh(), Calls{});
    SetLine(2, "3rd");
    EXPECT_EQ(Refresh(), (Calls{"Pos 0,2", "Text '3rd'"}));
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

TEST_F(RefreshCycleTest, ShrinkingAndShortenedRowsAreNotPadded)
{
    SetLine(0, "0123456789");
    SetLine(1, std::string(25, 'z'));
    Refresh();
    SetLine(0, "012345");
    SetLine(1, "short");
    // Row 2 did not change, so the old tail of row 1 stays on the display.
    EXPECT_EQ(Refresh(), (Calls{"Pos 0,0", "Text '012345'", "Pos 0,1", "Text 'short'"}));
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
    ForgetShownText();
    EXPECT_EQ(Refresh(), (Calls{"Pos 0,0", "Text 'same'", "Pos 0,4", "Text 'also'"}));
}

TEST_F(RefreshCycleTest, AnEmptyRowIsWrittenOnlyIfItShowedSomething)
{
    EXPECT_EQ(Refresh(), Calls{});
    SetLine(5, "x");
    Refresh();
    SetLine(5, "");
    EXPECT_EQ(Refresh(), (Calls{"Pos 0,5", "Text ''"}));
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

}  // namespace
}  // namespace dotvane
