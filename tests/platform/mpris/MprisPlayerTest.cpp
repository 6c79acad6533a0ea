#include "platform/linux/mpris/MprisPlayer.h"

#include "platform/RefreshTick.h"
#include "tests/platform/mpris/FakeMprisService.h"
#include "tests/support/FakeSystemInfo.h"
#include "tests/support/Variables.h"

#include <gtest/gtest.h>

#include <QtCore/QDeadlineTimer>
#include <QtCore/QElapsedTimer>
#include <QtCore/QTimer>

#include <cmath>
#include <limits>
#include <memory>
#include <ostream>
#include <vector>

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
// Its round of answers may take ten times the program's budget, so that a
// player that answers at once is heard also on a machine under load.
class MprisPlayerTest : public test::VariablesTest {
protected:
    static constexpr int kBudgetMs = 10 * kPlayerBudgetMs;
    std::unique_ptr<Player> player_ = CreateMprisPlayer(std::string(), kBudgetMs);
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
    ASSERT_TRUE(player_->FindWindow());
    const std::string text = player_->WindowText();
    EXPECT_EQ(text.size(), 2047u);
    EXPECT_TRUE(text == "1. " + std::string(2035, '\xE9') + " - Winamp") << text.substr(0, 8);
}

TEST_F(MprisPlayerTest, ATitleTooLongForTheWindowTextIsCutNotDropped)
{
    FakeMprisService fake(QStringLiteral("fake"));
    ASSERT_TRUE(fake.Registered());
    fake.Update([](FakeTrackState& s) {
        LoadSong(s);
        s.title = QStringLiteral("Start") + QString(1024 * 1024, QLatin1Char('x'));
    });
    EXPECT_EQ(ExpandVariable("winamptitle"), "Artist - Start" + std::string(2047 - 3 - 9 - 14, 'x'));
}

// Times of the track as players may give them: what is no time a track can
// have shows as 0.
struct TrackTime {
    const char* what;
    QVariant value;
    const char* shown;
};

void PrintTo(const TrackTime& time, std::ostream* out) { *out << time.what; }

class MprisTrackTimeTest : public MprisPlayerTest, public ::testing::WithParamInterface<TrackTime> {};

TEST_P(MprisTrackTimeTest, ShowsAsMinutesAndSeconds)
{
    FakeMprisService fake(QStringLiteral("fake"));
    ASSERT_TRUE(fake.Registered());
    fake.Update([](FakeTrackState& s) {
        LoadSong(s);
        s.rawPosition = s.rawLength = GetParam().value;
    });
    EXPECT_EQ(ExpandLine("$winamptrackpos$ $winamptracklen$"), std::string(GetParam().shown) + " " + GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Times, MprisTrackTimeTest,
    ::testing::Values(TrackTime{"-1e300", -1e300, "0:00"}, TrackTime{"NaN", std::nan(""), "0:00"},
                      TrackTime{"infinity", std::numeric_limits<double>::infinity(), "0:00"},
                      TrackTime{"1e30", 1e30, "0:00"}, TrackTime{"-5 s", qint64{-5'000'000}, "0:00"},
                      TrackTime{"largest uint64", std::numeric_limits<quint64>::max(), "0:00"},
                      // One millisecond past what the Winamp window's replies hold.
                      TrackTime{"2^31 ms", qint64{std::numeric_limits<int32_t>::max()} * 1000 + 1000, "0:00"},
                      TrackTime{"text", QStringLiteral("125400000"), "0:00"}, TrackTime{"double", 125.4e6, "2:05"},
                      TrackTime{"uint64", quint64{125'400'000}, "2:05"}, TrackTime{"int32", 125'400'000, "2:05"}));

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

TEST_F(MprisPlayerTest, ARefreshTickAsksThePlayersOnce)
{
    FakeMprisService fake(QStringLiteral("fake"));
    ASSERT_TRUE(fake.Registered());
    fake.Update(LoadSong);
    ASSERT_TRUE(player_->FindWindow());
    const int round = fake.Calls();
    ASSERT_GT(round, 0);
    {
        const RefreshTick tick;
        EXPECT_EQ(ExpandLine(kAllVariables), "playing|2:05|0:59|Artist - Song|0|  0|1|1|     ?");
        // What changes within the tick shows at the next.
        fake.Update([](FakeTrackState& s) { s.playbackStatus = QStringLiteral("Paused"); });
        EXPECT_EQ(ExpandVariable("winampstatus"), "playing");
    }
    EXPECT_EQ(fake.Calls(), 2 * round);
    EXPECT_EQ(ExpandVariable("winampstatus"), "paused");
}

TEST_F(MprisPlayerTest, SilentPlayersCostOneBudgetShowTheirLastAnswersAndAreLeftAlone)
{
    test::FakeTickCount ticks;
    std::vector<std::unique_ptr<FakeMprisService>> silent;
    for (int i = 0; i < 10; ++i) {
        silent.push_back(std::make_unique<FakeMprisService>(QStringLiteral("silent%1").arg(i)));
        ASSERT_TRUE(silent.back()->Registered());
        silent.back()->Update([](FakeTrackState& s) { s.hung = true; });
    }
    FakeMprisService late(QStringLiteral("late"));
    ASSERT_TRUE(late.Registered());
    late.Update(LoadSong);
    // The calls reach the players on threads of their own: waits for them.
    const auto calls = [&](int count) {
        const QDeadlineTimer deadline(10000);
        for (;; QThread::msleep(1)) {
            int sum = 0;
            for (const auto& player : silent) sum += player->Calls();
            if (sum >= count || deadline.hasExpired()) return sum;
        }
    };
    // While the players are waited for, no event loop turns.
    bool ran = false;
    QTimer due;
    QObject::connect(&due, &QTimer::timeout, [&] { ran = true; });
    due.start(0);
    QElapsedTimer elapsed;
    elapsed.start();
    EXPECT_EQ(ExpandLine("$winampstatus$ $winamptitle$"), "playing Artist - Song");
    EXPECT_LT(elapsed.elapsed(), 3 * kBudgetMs);  // one budget for all ten, not a wait for each
    EXPECT_FALSE(ran);
    EXPECT_EQ(calls(10 * 5), 10 * 5);  // each asked its five properties once

    // A player that goes silent shows its last answers; the others are left alone.
    late.Update([](FakeTrackState& s) {
        s.hung = true;
        s.title = QStringLiteral("Next");
    });
    ticks.milliseconds += kPlayerRestMs - 1;
    EXPECT_EQ(ExpandLine("$winampstatus$ $winamptitle$"), "playing Artist - Song");
    EXPECT_EQ(calls(0), 10 * 5);
    ticks.milliseconds += 1;
    EXPECT_TRUE(player_->FindWindow());
    EXPECT_EQ(calls(2 * 10 * 5), 2 * 10 * 5);
    // Answering again, it is heard once it has been left alone for a while.
    late.Update([](FakeTrackState& s) { s.hung = false; });
    ticks.milliseconds += kPlayerRestMs;
    EXPECT_EQ(ExpandLine("$winampstatus$ $winamptitle$"), "playing Artist - Next");
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
