#include "platform/linux/mpris/MprisPlayer.h"
#include "platform/Latin1Text.h"
#include "platform/SystemPlayer.h"

#include <QtDBus/QDBusArgument>
#include <QtDBus/QDBusConnection>
#include <QtDBus/QDBusMessage>
#include <QtDBus/QDBusObjectPath>
#include <QtDBus/QDBusVariant>
#include <QtCore/QStringList>
#include <QtCore/QUrl>

#include <algorithm>
#include <atomic>
#include <limits>
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

// A player that does not answer holds the refresh for at most this long per
// call, not for D-Bus's default of 25 seconds.
constexpr int kCallTimeoutMs = 500;

// The window text is read into a buffer of 2048 characters.
constexpr size_t kWindowTextLimit = 2047;

// Query commands and data words of the Winamp window.
constexpr int32_t kGetStatus = 104;
constexpr int32_t kGetOutputTime = 105;
constexpr int32_t kGetInfo = 126;
constexpr int32_t kGetListPosition = 125;
constexpr int32_t kGetListLength = 124;

int32_t Clamp32(qint64 value)
{
    return static_cast<int32_t>(std::clamp<qint64>(value, std::numeric_limits<int32_t>::min(),
                                                   std::numeric_limits<int32_t>::max()));
}

class MprisPlayer : public Player {
public:
    // An empty address means the session bus.
    explicit MprisPlayer(std::string busAddress) : address_(std::move(busAddress)) {}
    ~MprisPlayer() override
    {
        if (!connectionName_.isEmpty()) QDBusConnection::disconnectFromBus(connectionName_);
    }
    MprisPlayer(const MprisPlayer&) = delete;
    MprisPlayer& operator=(const MprisPlayer&) = delete;

    bool FindWindow() override;
    int32_t SendQuery(int32_t data, int32_t command) override;
    std::string WindowText() override;

private:
    QDBusConnection& Bus();
    std::optional<QDBusMessage> Call(const QString& service, const QString& path, const QString& interface,
                                     const QString& method, const QVariantList& arguments = {});
    QVariant Property(const QString& interface, const QString& name);
    QString PlaybackStatus(const QString& service);
    QVariantMap Metadata();
    int32_t PlayListPosition();
    int32_t PlayListLength();
    std::optional<QDBusMessage> AudaciousInfo();

    std::string address_;
    QString connectionName_;
    std::optional<QDBusConnection> bus_;
    // The player found by the last FindWindow; empty when none.
    QString service_;
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

std::optional<QDBusMessage> MprisPlayer::Call(const QString& service, const QString& path, const QString& interface,
                                              const QString& method, const QVariantList& arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(arguments);
    QDBusMessage reply = Bus().call(message, QDBus::Block, kCallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage) return std::nullopt;
    return reply;
}

QVariant MprisPlayer::Property(const QString& interface, const QString& name)
{
    if (service_.isEmpty()) return {};
    const auto reply = Call(service_, kMprisPath, kPropertiesInterface, QStringLiteral("Get"), {interface, name});
    if (!reply || reply->arguments().isEmpty()) return {};
    return reply->arguments().front().value<QDBusVariant>().variant();
}

QString MprisPlayer::PlaybackStatus(const QString& service)
{
    const auto reply =
        Call(service, kMprisPath, kPropertiesInterface, QStringLiteral("Get"), {kPlayerInterface, QStringLiteral("PlaybackStatus")});
    if (!reply || reply->arguments().isEmpty()) return {};
    return reply->arguments().front().value<QDBusVariant>().variant().toString();
}

bool MprisPlayer::FindWindow()
{
    service_.clear();
    if (!Bus().isConnected()) return false;
    const auto reply = Call(kBusService, kBusPath, kBusService, QStringLiteral("ListNames"));
    if (!reply || reply->arguments().isEmpty()) return false;
    QStringList players;
    for (const QString& name : reply->arguments().front().toStringList())
        if (name.startsWith(kMprisPrefix)) players.append(name);
    if (players.isEmpty()) return false;
    players.sort();

    // A playing player first, then a paused one, then one that answers at
    // all, so that a hung player does not hide a working one.
    QString paused, answering;
    for (const QString& name : players) {
        const QString status = PlaybackStatus(name);
        if (status == QLatin1String("Playing")) {
            service_ = name;
            return true;
        }
        if (status == QLatin1String("Paused") && paused.isEmpty()) paused = name;
        if (!status.isEmpty() && answering.isEmpty()) answering = name;
    }
    service_ = !paused.isEmpty() ? paused : !answering.isEmpty() ? answering : players.front();
    return true;
}

QVariantMap MprisPlayer::Metadata()
{
    return qdbus_cast<QVariantMap>(Property(kPlayerInterface, QStringLiteral("Metadata")));
}

int32_t MprisPlayer::PlayListPosition()
{
    if (!Property(kRootInterface, QStringLiteral("HasTrackList")).toBool()) return 0;
    const auto tracks = qdbus_cast<QList<QDBusObjectPath>>(Property(kTrackListInterface, QStringLiteral("Tracks")));
    const QVariant id = Metadata().value(QStringLiteral("mpris:trackid"));
    const QString current = id.canConvert<QDBusObjectPath>() ? id.value<QDBusObjectPath>().path() : id.toString();
    for (qsizetype i = 0; i < tracks.size(); ++i)
        if (tracks[i].path() == current) return Clamp32(i);
    return 0;
}

int32_t MprisPlayer::PlayListLength()
{
    if (Property(kRootInterface, QStringLiteral("HasTrackList")).toBool())
        return Clamp32(qdbus_cast<QList<QDBusObjectPath>>(Property(kTrackListInterface, QStringLiteral("Tracks"))).size());
    // Without a track list the player holds the one track it shows, if any.
    return Metadata().isEmpty() ? 0 : 1;
}

// Audacious's (bit rate, sample rate, channels), when the player found is
// Audacious: the owner of its own interface is the owner of the MPRIS name.
std::optional<QDBusMessage> MprisPlayer::AudaciousInfo()
{
    if (service_.isEmpty()) return std::nullopt;
    const auto owner = [&](const QString& name) -> QString {
        const auto reply = Call(kBusService, kBusPath, kBusService, QStringLiteral("GetNameOwner"), {name});
        return reply && !reply->arguments().isEmpty() ? reply->arguments().front().toString() : QString();
    };
    const QString playerOwner = owner(service_);
    if (playerOwner.isEmpty() || owner(kAudaciousService) != playerOwner) return std::nullopt;
    auto reply = Call(kAudaciousService, kAudaciousPath, kAudaciousService, QStringLiteral("Info"));
    if (!reply || reply->arguments().size() < 3) return std::nullopt;
    return reply;
}

int32_t MprisPlayer::SendQuery(int32_t data, int32_t command)
{
    if (service_.isEmpty()) return 0;
    if (command == kGetStatus && data == 0) {
        const QString status = PlaybackStatus(service_);
        if (status == QLatin1String("Playing")) return 1;
        if (status == QLatin1String("Paused")) return 3;
        return 0;
    }
    if (command == kGetOutputTime && data == 0) {
        // Microseconds on the bus, milliseconds for the window.
        return Clamp32(Property(kPlayerInterface, QStringLiteral("Position")).toLongLong() / 1000);
    }
    if (command == kGetOutputTime && data == 1) {
        // Winamp answers -1 when it knows no length.
        bool ok = false;
        const qint64 length = Metadata().value(QStringLiteral("mpris:length")).toLongLong(&ok);
        return ok ? Clamp32(length / 1000000) : -1;
    }
    if (command == kGetInfo && data >= 0 && data <= 2) {
        const auto info = AudaciousInfo();
        if (!info) return 0;
        const QVariantList values = info->arguments();
        switch (data) {
        case 0: return values[1].toInt() / 1000;  // Hz to kHz
        case 1: return values[0].toInt() / 1000;  // bit/s to kbit/s
        default: return values[2].toInt();
        }
    }
    if (command == kGetListPosition && data == 0) return PlayListPosition();
    if (command == kGetListLength && data == 0) return PlayListLength();
    return 0;
}

std::string MprisPlayer::WindowText()
{
    if (service_.isEmpty()) return {};
    const QVariantMap metadata = Metadata();
    QString title = metadata.value(QStringLiteral("xesam:title")).toString();
    if (title.isEmpty()) {
        // Untagged files show their file name, as Winamp does.
        const QUrl url(metadata.value(QStringLiteral("xesam:url")).toString());
        title = url.fileName();
    }
    if (title.isEmpty()) return "Winamp";
    const QVariant artists = metadata.value(QStringLiteral("xesam:artist"));
    const QString artist = artists.canConvert<QStringList>() ? artists.toStringList().join(QStringLiteral(", "))
                                                              : artists.toString();
    QString text = QString::number(int64_t{PlayListPosition()} + 1) + QStringLiteral(". ");
    if (!artist.isEmpty()) text += artist + QStringLiteral(" - ");
    text += title + QStringLiteral(" - Winamp");
    // The player's text in the program's one-byte characters, as much as the
    // window text buffer holds.
    std::string window = Latin1FromUtf8(text.toStdString());
    if (window.size() > kWindowTextLimit) window.resize(kWindowTextLimit);
    return window;
}

}  // namespace

std::unique_ptr<Player> CreateMprisPlayer() { return std::make_unique<MprisPlayer>(std::string()); }

std::unique_ptr<Player> CreateSystemPlayer() { return CreateMprisPlayer(); }

std::unique_ptr<Player> CreateMprisPlayer(const std::string& busAddress)
{
    return std::make_unique<MprisPlayer>(busAddress);
}

}  // namespace dotvane::platform
