#include "vars/WinampVariable.h"

#include "tests/support/FakePlayer.h"
#include "tests/support/Variables.h"

#include <gtest/gtest.h>

namespace dotvane {
namespace {

struct TitleCase {
    std::string windowText;
    std::string title;
};

class WinampTitleTest : public ::testing::TestWithParam<TitleCase> {};

TEST_P(WinampTitleTest, CutsTheTitleOutOfTheWindowText)
{
    EXPECT_EQ(WinampTitle(GetParam().windowText), GetParam().title) << "'" << GetParam().windowText << "'";
}

INSTANTIATE_TEST_SUITE_P(
    WindowTexts, WinampTitleTest,
    ::testing::Values(TitleCase{"12. Artist - Song - Winamp", "Artist - Song"},
                      TitleCase{"Artist - Song - Winamp", "Artist - Song"},
                      TitleCase{"Song   - Winamp", "Song"},
                      TitleCase{"Winamp 2.91", ""},
                      TitleCase{"", ""},
                      TitleCase{"Winamp", ""},
                      TitleCase{"- Winamp", ""},
                      TitleCase{"1. - Winamp", "1."},
                      TitleCase{"3. Song - Winamp [Paused]", "Song"},
                      // The last "- Winamp" counts, the first ". " too.
                      TitleCase{"7. Band - Winamp - Winamp", "Band - Winamp"},
                      TitleCase{"7. Dr. Alban - It's My Life - Winamp", "Dr. Alban - It's My Life"},
                      TitleCase{"Mr. Big - Winamp", "Big"},
                      TitleCase{"Song.- Winamp", "Song."},
                      TitleCase{"9.  Song - Winamp", " Song"},
                      TitleCase{"2. Song - winamp", ""},
                      // Only the first 2047 characters are read.
                      TitleCase{std::string(2040, 'x') + " - Winamp", ""},
                      TitleCase{std::string(2030, 'x') + " - Winamp", std::string(2030, 'x')}));

class WinampVariableTest : public test::VariablesTest {
protected:
    test::FakePlayer player;
};

TEST_F(WinampVariableTest, StateTexts)
{
    const std::pair<int32_t, const char*> states[] = {{1, "playing"}, {3, "paused"}, {0, "stopped"}, {2, "stopped"}, {-1, "stopped"}};
    for (const auto& [reply, text] : states) {
        player.SetReply(0, 104, reply);
        EXPECT_EQ(ExpandVariable("winampstatus"), text) << reply;
    }
}

TEST_F(WinampVariableTest, PositionAndLength)
{
    player.SetReply(0, 105, 125400);
    EXPECT_EQ(ExpandVariable("winamptrackpos"), "2:05");
    player.SetReply(0, 105, 999);
    EXPECT_EQ(ExpandVariable("winamptrackpos"), "0:00");
    player.SetReply(0, 105, 3600000);
    EXPECT_EQ(ExpandVariable("winamptrackpos"), "60:00");
    const std::pair<int32_t, const char*> lengths[] = {{59, "0:59"}, {600, "10:00"}, {61, "1:01"}, {-1, "0:-1"}, {-61, "-1:-1"}};
    for (const auto& [reply, text] : lengths) {
        player.SetReply(1, 105, reply);
        EXPECT_EQ(ExpandVariable("winamptracklen"), text) << reply;
    }
}

TEST_F(WinampVariableTest, StreamFormatAndPlayList)
{
    player.SetReply(0, 126, 44);
    player.SetReply(1, 126, 128);
    player.SetReply(2, 126, 2);
    player.SetReply(0, 125, 0);
    player.SetReply(0, 124, 17);
    EXPECT_EQ(ExpandLine("$winampsamplerate$|$winampbitrate$|$winampchannels$|$winamptracknum$/$winamptracktotal$"),
              "44|128|Stereo|1/17");
    player.SetReply(1, 126, 64);
    player.SetReply(2, 126, 1);
    player.SetReply(0, 125, 4);
    EXPECT_EQ(ExpandLine("$winampbitrate$|$winampchannels$|$winamptracknum$"), " 64|  Mono|5");
    player.SetReply(1, 126, 1411);
    player.SetReply(2, 126, 6);
    player.SetReply(0, 125, 2147483647);
    EXPECT_EQ(ExpandLine("$winampbitrate$|$winampchannels$|$winamptracknum$"), "1411|     ?|2147483648");
}

TEST_F(WinampVariableTest, TitleComesFromTheWindowText)
{
    player.windowText = "4. Artist - Song - Winamp";
    EXPECT_EQ(ExpandVariable("winamptitle"), "Artist - Song");
}

TEST_F(WinampVariableTest, NoPlayerAnswersZeroEverywhere)
{
    player.running = false;
    player.windowText = "1. Not - Shown - Winamp";
    player.SetReply(0, 104, 1);
    player.SetReply(2, 126, 2);
    EXPECT_EQ(ExpandLine("$winampstatus$|$winamptrackpos$|$winamptracklen$|$winamptitle$|$winampsamplerate$|"
                         "$winampbitrate$|$winamptracknum$|$winamptracktotal$|$winampchannels$"),
              "stopped|0:00|0:00||0|  0|1|0|     ?");
}

TEST_F(WinampVariableTest, EveryReferenceLooksThePlayerUpAgain)
{
    const int before = player.lookups;
    EXPECT_EQ(ExpandLine("$winampstatus$$winampstatus$$winampother$$Winampstatus$"), "stoppedstopped");
    EXPECT_EQ(player.lookups, before + 3);
}

class WinampWithoutInstalledPlayer : public test::VariablesTest {};

TEST_F(WinampWithoutInstalledPlayer, NothingIsFound)
{
    EXPECT_EQ(ExpandLine("$winampstatus$|$winamptitle$|$winampchannels$"), "stopped||     ?");
}

}  // namespace
}  // namespace dotvane
