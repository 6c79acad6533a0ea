#include "platform/linux/mpris/MprisPlayer.h"

#include "tests/platform/mpris/FakeMprisService.h"
#include "tests/support/Variables.h"

#include <gtest/gtest.h>

#include <QtCore/QElapsedTimer>

namespace dotvane::platform {
namespace {

using test::FakeMprisService;
using test::FakeTrackState;

// Every Winamp variable in one line.
constexpr const char* kAllVariables =
    "$winampstatus$|$winamptrackpos$|$winamptracklen$|$winamptitle$|$winampsamplerate$|"
    "$winampbitrate$|$winamptracknum$|$winamptracktotal$|$winampchannels$";
constexpr const char* kNothing = "stopped|0:00|0:00||0|  0|1|0|     ?";

// The MPRIS player on the session bus, installed as the program's player.
class MprisPlayerTest : public test::VariablesTest {
protected:
    std::unique_ptr<Player> player_ = CreateMprisPlayer();
    const PlayerService::Scoped installed_{*player_};
};

void LoadSong(FakeTrackState& s)
{
    s.playbackStatus = QStringLiteral("Playing");
    s.trackId = QStringLiteral("/org/example/track/7");
    s.title = QStringLiteral("Song");
    s.artists = {QStringLiteral("Artist")};
    s.positionUs = 125'400'000;
    s.lengthUs = 59'000'000;
}

TEST_F(MprisPlayerTest, NoPlayerOnTheBusAnswersZero)
{
    EXPECT_FALSE(player_->FindWindow());
    EXPECT_EQ(player_->SendQuery(0, 104), 0);
    EXPECT_EQ(player_->WindowText(), "");
    EXPECT_EQ(ExpandLine(kAllVariables), kNothing);
}

class MprisPlayerWithoutBus : public test::VariablesTest {};

TEST_F(MprisPlayerWithoutBus, EveryQueryAnswersZero)
{
    auto player = CreateMprisPlayer("unix:path=/nonexistent/dotvane/bus");
    const PlayerService::Scoped installed(*player);
    EXPECT_FALSE(player->FindWindow());
    EXPECT_EQ(player->SendQuery(1, 105), 0);
    EXPECT_EQ(player->WindowText(), "");
    EXPECT_EQ(ExpandLine(kAllVariables), kNothing);
}

TEST_F(MprisPlayerTest, PlayingPausedStopped)
{
    FakeMprisService fake(QStringLiteral("fake"));
    ASSERT_TRUE(fake.Registered());
    fake.Update(LoadSong);
    EXPECT_TRUE(player_->FindWindow());
    EXPECT_EQ(ExpandVariable("winampstatus"), "playing");
    fake.Update([](FakeTrackState& s) { s.playbackStatus = QStringLiteral("Paused"); });
    EXPECT_EQ(ExpandVariable("winampstatus"), "paused");
    fake.Update([](FakeTrackState& s) { s.playbackStatus = QStringLiteral("Stopped"); });
    EXPECT_EQ(ExpandVariable("winampstatus"), "stopped");
    // A player that quits is not found any more.
    fake.Quit();
    EXPECT_FALSE(player_->FindWindow());
    EXPECT_EQ(ExpandVariable("winampstatus"), "stopped");
}

TEST_F(MprisPlayerTest, PositionAndLength)
{
    FakeMprisService fake(QStringLiteral("fake"));
    ASSERT_TRUE(fake.Registered());
    fake.Update(LoadSong);
    ASSERT_TRUE(player_->FindWindow());
    EXPECT_EQ(player_->SendQuery(0, 105), 125400);
    EXPECT_EQ(player_->SendQuery(1, 105), 59);
    EXPECT_EQ(ExpandVariable("winamptrackpos"), "2:05");
    EXPECT_EQ(ExpandVariable("winamptracklen"), "0:59");
    fake.Update([](FakeTrackState& s) { s.lengthUs = 600'000'000; });
    EXPECT_EQ(ExpandVariable("winamptracklen"), "10:00");
    // No known length answers -1, as Winamp does; it is shown unchanged.
    fake.Update([](FakeTrackState& s) { s.lengthUs.reset(); });
    EXPECT_EQ(ExpandVariable("winamptracklen"), "0:-1");
}

TEST_F(MprisPlayerTest, WindowTextInWinampsFormWithoutTrackList)
{
    FakeMprisService fake(QStringLiteral("fake"));
    ASSERT_TRUE(fake.Registered());
    fake.Update(LoadSong);
    ASSERT_TRUE(player_->FindWindow());
    EXPECT_EQ(player_->WindowText(), "1. Artist - Song - Winamp");
    EXPECT_EQ(ExpandLine("$winamptitle$|$winamptracknum$|$winamptracktotal$"), "Artist - Song|1|1");

    fake.Update([](FakeTrackState& s) {
        s.title = QStringLiteral("It's My Life");
        s.artists = {QStringLiteral("Dr. Alban"), QStringLiteral("Leila K")};
    });
    EXPECT_EQ(ExpandVariable("winamptitle"), "Dr. Alban, Leila K - It's My Life");
    fake.Update([](FakeTrackState& s) { s.artists.clear(); });
    EXPECT_EQ(ExpandVariable("winamptitle"), "It's My Life");
    // Untagged: the file name stands for the title.
    fake.Update([](FakeTrackState& s) {
        s.title.clear();
        s.url = QStringLiteral("file:///music/My%20Song.ogg");
    });
    EXPECT_EQ(ExpandVariable("winamptitle"), "My Song.ogg");
    // No track loaded: no title and an empty play list.
    fake.Update([](FakeTrackState& s) { s = FakeTrackState{}; });
    EXPECT_TRUE(player_->FindWindow());
    EXPECT_EQ(player_->WindowText(), "Winamp");
    EXPECT_EQ(ExpandLine("[$winamptitle$]|$winamptracknum$|$winamptracktotal$|$winamptracklen$"), "[]|1|0|0:-1");
}

TEST_F(MprisPlayerTest, WindowTextInLatin1)
{
    FakeMprisService fake(QStringLiteral("fake"));
    ASSERT_TRUE(fake.Registered());
    fake.Update([](FakeTrackState& s) {
        LoadSong(s);
        s.artists = {QString::fromUtf8("Bj\u00F6rk")};
        s.title = QString::fromUtf8("J\u00F3ga \u2013 \u201CLive\u201D \u65E5");
    });
    ASSERT_TRUE(player_->FindWindow());
    EXPECT_EQ(player_->WindowText(), "1. Bj\xF6rk - J\xF3ga - \"Live\" ? - Winamp");
    EXPECT_EQ(ExpandVariable("winamptitle"), "Bj\xF6rk - J\xF3ga - \"Live\" ?");
    // An untagged file's name is converted as well.
    fake.Update([](FakeTrackState& s) {
        s.title.clear();
        s.artists.clear();
        s.url = QStringLiteral("file:///music/Caf%C3%A9.ogg");
    });
    EXPECT_EQ(ExpandVariable("winamptitle"), "Caf\xE9.ogg");
    // The window text holds 2047 characters, not 2047 bytes of UTF-8.
    fake.Update([](FakeTrackState& s) { s.title = QString(3000, QChar(0xE9)); });
    const std::string text = player_->WindowText();
    EXPECT_EQ(text.size(), 2047u);
    EXPECT_TRUE(text == "1. " + std::string(2044, '\xE9')) << text.substr(0, 8);
}

TEST_F(MprisPlayerTest, PlayListFromTheTrackList)
{
    FakeMprisService fake(QStringLiteral("fake"));
    ASSERT_TRUE(fake.Registered());
    fake.Update([](FakeTrackState& s) {
        LoadSong(s);
        s.hasTrackList = true;
        s.tracks = {QStringLiteral("/t/1"), QStringLiteral("/t/2"), QStringLiteral("/t/3")};
        s.trackId = QStringLiteral("/t/1");
    });
    EXPECT_EQ(ExpandLine("$winamptracknum$/$winamptracktotal$"), "1/3");
    fake.Update([](FakeTrackState& s) { s.trackId = QStringLiteral("/t/3"); });
    EXPECT_EQ(ExpandLine("$winamptracknum$/$winamptracktotal$"), "3/3");
    ASSERT_TRUE(player_->FindWindow());
    EXPECT_EQ(player_->WindowText(), "3. Artist - Song - Winamp");
    // A current track outside the list's window counts as the first.
    fake.Update([](FakeTrackState& s) { s.trackId = QStringLiteral("/t/9"); });
    EXPECT_EQ(ExpandVariable("winamptracknum"), "1");
}

TEST_F(MprisPlayerTest, StreamFormatFromAudaciousOnly)
{
    FakeMprisService plain(QStringLiteral("plain"));
    ASSERT_TRUE(plain.Registered());
    plain.Update(LoadSong);
    EXPECT_EQ(ExpandLine("$winampsamplerate$|$winampbitrate$|$winampchannels$"), "0|  0|     ?");
    plain.Quit();

    FakeMprisService audacious(QStringLiteral("audacious"), true);
    ASSERT_TRUE(audacious.Registered());
    audacious.Update([](FakeTrackState& s) {
        LoadSong(s);
        s.bitRate = 64000;
        s.sampleRate = 22050;
        s.channels = 1;
    });
    EXPECT_EQ(ExpandLine("$winampsamplerate$|$winampbitrate$|$winampchannels$"), "22| 64|  Mono");
    audacious.Update([](FakeTrackState& s) {
        s.bitRate = 128000;
        s.sampleRate = 44100;
        s.channels = 2;
    });
    EXPECT_EQ(ExpandLine("$winampsamplerate$|$winampbitrate$|$winampchannels$"), "44|128|Stereo");
}

TEST_F(MprisPlayerTest, AudaciousInterfaceOfAnotherProgramIsNotUsed)
{
    // Audacious runs stopped; the player found is another one that plays.
    FakeMprisService audacious(QStringLiteral("audacious"), true);
    ASSERT_TRUE(audacious.Registered());
    audacious.Update([](FakeTrackState& s) { s.channels = 2; });
    FakeMprisService other(QStringLiteral("other"));
    ASSERT_TRUE(other.Registered());
    other.Update(LoadSong);
    EXPECT_EQ(ExpandLine("$winampstatus$|$winampchannels$"), "playing|     ?");
}

TEST_F(MprisPlayerTest, PrefersAPlayingThenAPausedPlayer)
{
    FakeMprisService a(QStringLiteral("a"));
    FakeMprisService b(QStringLiteral("b"));
    FakeMprisService c(QStringLiteral("c"));
    ASSERT_TRUE(a.Registered() && b.Registered() && c.Registered());
    a.Update([](FakeTrackState& s) { s.playbackStatus = QStringLiteral("Stopped"); });
    b.Update([](FakeTrackState& s) {
        LoadSong(s);
        s.playbackStatus = QStringLiteral("Paused");
        s.title = QStringLiteral("B");
    });
    c.Update([](FakeTrackState& s) {
        LoadSong(s);
        s.title = QStringLiteral("C");
    });
    EXPECT_EQ(ExpandLine("$winampstatus$ $winamptitle$"), "playing Artist - C");
    c.Update([](FakeTrackState& s) { s.playbackStatus = QStringLiteral("Stopped"); });
    EXPECT_EQ(ExpandLine("$winampstatus$ $winamptitle$"), "paused Artist - B");
    b.Update([](FakeTrackState& s) { s.playbackStatus = QStringLiteral("Stopped"); });
    EXPECT_EQ(ExpandLine("$winampstatus$ [$winamptitle$]"), "stopped []");
}

TEST_F(MprisPlayerTest, AHungPlayerDelaysButDoesNotBlock)
{
    FakeMprisService hung(QStringLiteral("a-hung"));
    FakeMprisService working(QStringLiteral("b-working"));
    ASSERT_TRUE(hung.Registered() && working.Registered());
    hung.Update([](FakeTrackState& s) { s.hung = true; });
    working.Update([](FakeTrackState& s) {
        LoadSong(s);
        s.playbackStatus = QStringLiteral("Stopped");
    });
    QElapsedTimer elapsed;
    elapsed.start();
    // The working player is chosen although the hung one comes first.
    EXPECT_EQ(ExpandVariable("winamptitle"), "Artist - Song");
    EXPECT_LT(elapsed.elapsed(), 5000);
    working.Quit();
    elapsed.restart();
    EXPECT_EQ(ExpandVariable("winampstatus"), "stopped");
    EXPECT_LT(elapsed.elapsed(), 5000);
}

}  // namespace
}  // namespace dotvane::platform
