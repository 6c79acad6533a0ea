#include "platform/linux/mpris/MprisPlayer.h"

#include "platform/SystemPlayer.h"
#include "platform/TickCount.h"
#include "platform/linux/mpris/BusCalls.h"
#include "platform/linux/mpris/PlayerAnswers.h"

#include <QtCore/QStringList>
#include <QtDBus/QDBusConnection>
#include <QtDBus/QDBusVariant>

#include <atomic>
#include <map>
#include <optional>

namespace dotvane::platform {
namespace {

const QString kMprisPrefix = QStringLiteral("org.mpris.MediaPlayer2.");
const QString kMprisPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kRootInterface = QStringLiteral("org.mpris.MediaPlayer2");
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kTrackListInterface = QStringLiteral("org.mpris.MediaPlayer2.TrackList");
const QString kPropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kBusService = QStringLiteral("org.freedesktop.DBus");
const QString kBusPath = QStringLiteral("/org/freedesktop/DBus");
// Audacious publishes the stream's bit rate, sample rate and channels on
// an interface of its own beside MPRIS.
const QString kAudaciousService = QStringLiteral("org.atheme.audacious");
const QString kAudaciousPath = QStringLiteral("/org/atheme/audacious");

// A player on the bus: what it answered last, and until when it is left
// alone after it let the time for its answers run out.
struct KnownPlayer {
    PlayerAnswers answers;
    uint64_t restUntil = 0;
};

// The calls that ask one player everything the Winamp window tells.
struct PlayerCalls {
    size_t status, position, metadata, hasTrackList, tracks, owner;
};

class MprisPlayer : public Player {
public:
    // An empty address means the session bus.
    MprisPlayer(std::string busAddress, int budgetMs) : address_(std::move(busAddress)), budgetMs_(budgetMs) {}
    ~MprisPlayer() override
    {
        if (!connectionName_.isEmpty()) QDBusConnection::disconnectFromBus(connectionName_);
    }
    MprisPlayer(const MprisPlayer&) = delete;
    MprisPlayer& operator=(const MprisPlayer&) = delete;

    bool FindWindow() override;
    int32_t SendQuery(int32_t data, int32_t command) override;
    std::string WindowText() override;
    void BeginTick() override
    {
        if (tickDepth_++ == 0) askedInTick_ = false;
    }
    void EndTick() override
    {
        if (tickDepth_ > 0) --tickDepth_;
    }

private:
    QDBusConnection& Bus();
    bool ListPlayers(const QDeadlineTimer& deadline, QString& audaciousOwner);
    void AskPlayers();
    static void TakeAnswers(PlayerAnswers& answers, const BusCalls& calls, const PlayerCalls& call);
    void Choose();

    std::string address_;
    int budgetMs_;
    QString connectionName_;
    std::optional<QDBusConnection> bus_;
    // The players on the bus by name, in the order of their names.
    std::map<QString, KnownPlayer> players_;
    // The player found by the last FindWindow; none when nothing is found.
    const PlayerAnswers* chosen_ = nullptr;
    // Until when Audacious's own interface is left alone.
    uint64_t formatRestUntil_ = 0;
    int tickDepth_ = 0;
    bool askedInTick_ = false;
};

QDBusConnection& MprisPlayer::Bus()
{
    if (!bus_) {
        if (address_.empty()) {
            bus_ = QDBusConnection::sessionBus();
        } else {
            static std::atomic<int> counter{0};
            connectionName_ = QStringLiteral("dotvane-mpris-%1").arg(++counter);
            bus_ = QDBusConnection::connectToBus(QString::fromStdString(address_), connectionName_);
        }
    }
    return *bus_;
}

// Takes the players on the bus from the bus daemon, the first kPlayerLimit
// by name, and who owns Audacious's own interface; false when the daemon
// is late, which leaves the players as they were.
bool MprisPlayer::ListPlayers(const QDeadlineTimer& deadline, QString& audaciousOwner)
{
    BusCalls calls(Bus(), deadline);
    const size_t list = calls.Add(kBusService, kBusPath, kBusService, QStringLiteral("ListNames"));
    const size_t owner = calls.Add(kBusService, kBusPath, kBusService, QStringLiteral("GetNameOwner"), {kAudaciousService});
    calls.Wait();
    if (calls.Late(list)) return false;
    QStringList names;
    for (const QString& name : calls.FirstArgument(list).toStringList())
        if (name.startsWith(kMprisPrefix)) names.append(name);
    names.sort();
    if (names.size() > kPlayerLimit) names.resize(kPlayerLimit);
    std::map<QString, KnownPlayer> known;
    for (const QString& name : names) known[name] = std::move(players_[name]);
    players_ = std::move(known);
    audaciousOwner = calls.FirstArgument(owner).toString();
    return true;
}

// One round of questions: the bus daemon for the players, then every player
// that is not left alone for all it tells, all at once within one time
// budget. A player that lets the budget run out keeps its last answers and
// is left alone for a while, so that one that never answers costs the
// budget once in that while, however many such players there are.
void MprisPlayer::AskPlayers()
{
    if (!Bus().isConnected()) {
        players_.clear();
        return;
    }
    const QDeadlineTimer deadline(budgetMs_, Qt::PreciseTimer);
    QString audacious;
    if (!ListPlayers(deadline, audacious)) return;

    const uint64_t now = TickCountService::Current().GetTickCount64();
    BusCalls calls(Bus(), deadline);
    const auto property = [&](const QString& service, const QString& interface, const char* name) {
        return calls.Add(service, kMprisPath, kPropertiesInterface, QStringLiteral("Get"),
                         {interface, QString::fromLatin1(name)});
    };
    std::map<QString, PlayerCalls> asked;
    for (const auto& [name, player] : players_) {
        if (player.restUntil > now) continue;
        asked[name] = {property(name, kPlayerInterface, "PlaybackStatus"), property(name, kPlayerInterface, "Position"),
                       property(name, kPlayerInterface, "Metadata"), property(name, kRootInterface, "HasTrackList"),
                       property(name, kTrackListInterface, "Tracks"),
                       calls.Add(kBusService, kBusPath, kBusService, QStringLiteral("GetNameOwner"), {name})};
    }
    // Audacious's own interface is asked, and left alone, like a player.
    std::optional<size_t> info;
    if (!audacious.isEmpty() && !asked.empty() && formatRestUntil_ <= now)
        info = calls.Add(kAudaciousService, kAudaciousPath, kAudaciousService, QStringLiteral("Info"));
    calls.Wait();
    if (info && calls.Late(*info)) formatRestUntil_ = now + kPlayerRestMs;

    for (const auto& [name, call] : asked) {
        KnownPlayer& player = players_[name];
        bool late = false;
        for (const size_t c : {call.status, call.position, call.metadata, call.hasTrackList, call.tracks, call.owner})
            late = late || calls.Late(c);
        if (late) {
            player.restUntil = now + kPlayerRestMs;
            continue;
        }
        TakeAnswers(player.answers, calls, call);
        // The stream's format is Audacious's when the program that owns the
        // player is Audacious. Late, or left alone, it stays as it was.
        PlayerAnswers& answers = player.answers;
        const std::optional<QVariantList> format = info ? calls.Reply(*info) : std::nullopt;
        if (audacious.isEmpty() || calls.FirstArgument(call.owner).toString() != audacious)
            answers.format.reset();
        else if (format && format->size() >= 3)
            answers.format = PlayerAnswers::StreamFormat{(*format)[0].toInt(), (*format)[1].toInt(), (*format)[2].toInt()};
        else if (info && !calls.Late(*info))
            answers.format.reset();
    }
}

void MprisPlayer::TakeAnswers(PlayerAnswers& answers, const BusCalls& calls, const PlayerCalls& call)
{
    const auto value = [&](size_t c) { return calls.FirstArgument(c).value<QDBusVariant>().variant(); };
    answers.playbackStatus = value(call.status).toString();
    answers.position = value(call.position);
    answers.metadata = PlayerAnswers::MetadataFrom(value(call.metadata));
    answers.hasTrackList = value(call.hasTrackList).toBool();
    answers.tracks = answers.hasTrackList ? PlayerAnswers::TracksFrom(value(call.tracks)) : QList<QDBusObjectPath>();
}

// A playing player first, then a paused one, then one that answers at all,
// so that a hung player does not hide a working one.
void MprisPlayer::Choose()
{
    chosen_ = nullptr;
    const PlayerAnswers* paused = nullptr;
    const PlayerAnswers* answering = nullptr;
    for (const auto& [name, player] : players_) {
        const PlayerAnswers& answers = player.answers;
        if (answers.playbackStatus == QLatin1String("Playing")) {
            chosen_ = &answers;
            return;
        }
        if (answers.playbackStatus == QLatin1String("Paused") && paused == nullptr) paused = &answers;
        if (!answers.playbackStatus.isEmpty() && answering == nullptr) answering = &answers;
    }
    chosen_ = paused != nullptr ? paused : answering;
    if (chosen_ == nullptr && !players_.empty()) chosen_ = &players_.begin()->second.answers;
}

bool MprisPlayer::FindWindow()
{
    // Within a refresh tick the players are asked once.
    if (tickDepth_ == 0 || !askedInTick_) {
        AskPlayers();
        askedInTick_ = tickDepth_ > 0;
    }
    Choose();
    return chosen_ != nullptr;
}

int32_t MprisPlayer::SendQuery(int32_t data, int32_t command)
{
    if (chosen_ == nullptr) return 0;
    const PlayerAnswers& player = *chosen_;
    if (command == kPlayerGetStatus && data == 0) return player.Status();
    if (command == kPlayerGetOutputTime && data == 0) return player.PositionMs();
    if (command == kPlayerGetOutputTime && data == 1) return player.LengthSeconds();
    if (command == kPlayerGetInfo && data >= 0 && data <= 2) {
        if (!player.format) return 0;
        switch (data) {
        case 0: return player.format->sampleRate / 1000;  // Hz to kHz
        case 1: return player.format->bitRate / 1000;     // bit/s to kbit/s
        default: return player.format->channels;
        }
    }
    if (command == kPlayerGetListPosition && data == 0) return player.ListPosition();
    if (command == kPlayerGetListLength && data == 0) return player.ListLength();
    return 0;
}

std::string MprisPlayer::WindowText() { return chosen_ != nullptr ? chosen_->WindowText() : std::string(); }

}  // namespace

std::unique_ptr<Player> CreateMprisPlayer() { return CreateMprisPlayer(std::string()); }

std::unique_ptr<Player> CreateSystemPlayer() { return CreateMprisPlayer(); }

std::unique_ptr<Player> CreateMprisPlayer(const std::string& busAddress, int budgetMs)
{
    return std::make_unique<MprisPlayer>(busAddress, budgetMs);
}

}  // namespace dotvane::platform
