#include "tests/platform/mpris/FakeMprisService.h"

#include "tests/platform/mpris/PrivateSessionBus.h"

#include <QtDBus/QDBusMessage>
#include <QtDBus/QDBusObjectPath>
#include <QtDBus/QDBusVariant>

#include <atomic>

namespace dotvane::test {

// Answers the property reads of the MPRIS interfaces and Audacious's Info
// from the shared state.
class FakeMprisService::Object : public QDBusVirtualObject {
public:
    Object(QMutex& mutex, FakeTrackState& state, std::atomic<int>& calls) : mutex_(mutex), state_(state), calls_(calls)
    {
    }

    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        QMutexLocker lock(&mutex_);
        ++calls_;
        // A hung player keeps every call unanswered.
        if (state_.hung) return true;
        if (message.interface() == QLatin1String("org.freedesktop.DBus.Properties") &&
            message.member() == QLatin1String("Get") && message.arguments().size() == 2) {
            const QVariant value = Property(message.arguments()[0].toString(), message.arguments()[1].toString());
            if (!value.isValid()) {
                connection.send(message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"),
                                                         QStringLiteral("No such property")));
                return true;
            }
            connection.send(message.createReply(QVariant::fromValue(QDBusVariant(value))));
            return true;
        }
        if (message.interface() == QLatin1String("org.atheme.audacious") && message.member() == QLatin1String("Info")) {
            connection.send(message.createReply({state_.bitRate, state_.sampleRate, state_.channels}));
            return true;
        }
        return false;
    }

private:
    QVariant Metadata() const
    {
        QVariantMap metadata;
        if (state_.trackId.isEmpty()) return metadata;
        metadata.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(state_.trackId)));
        if (state_.rawLength.isValid()) metadata.insert(QStringLiteral("mpris:length"), state_.rawLength);
        else if (state_.lengthUs) metadata.insert(QStringLiteral("mpris:length"), QVariant::fromValue(*state_.lengthUs));
        if (!state_.title.isEmpty()) metadata.insert(QStringLiteral("xesam:title"), state_.title);
        if (!state_.artists.isEmpty()) metadata.insert(QStringLiteral("xesam:artist"), state_.artists);
        if (!state_.url.isEmpty()) metadata.insert(QStringLiteral("xesam:url"), state_.url);
        return metadata;
    }

    QVariant Property(const QString& interface, const QString& name) const
    {
        if (interface == QLatin1String("org.mpris.MediaPlayer2")) {
            if (name == QLatin1String("HasTrackList")) return state_.hasTrackList;
            if (name == QLatin1String("Identity")) return QStringLiteral("Fake player");
        } else if (interface == QLatin1String("org.mpris.MediaPlayer2.Player")) {
            if (name == QLatin1String("PlaybackStatus")) return state_.playbackStatus;
            if (name == QLatin1String("Position"))
                return state_.rawPosition.isValid() ? state_.rawPosition : QVariant::fromValue(state_.positionUs);
            if (name == QLatin1String("Metadata")) return Metadata();
        } else if (interface == QLatin1String("org.mpris.MediaPlayer2.TrackList") && state_.hasTrackList) {
            if (name == QLatin1String("Tracks")) {
                QList<QDBusObjectPath> tracks;
                for (const QString& track : state_.tracks) tracks.append(QDBusObjectPath(track));
                return QVariant::fromValue(tracks);
            }
        }
        return {};
    }

    QMutex& mutex_;
    FakeTrackState& state_;
    std::atomic<int>& calls_;
};

FakeMprisService::FakeMprisService(const QString& name, bool asAudacious)
    : serviceName_(QStringLiteral("org.mpris.MediaPlayer2.") + name), asAudacious_(asAudacious)
{
    static std::atomic<int> counter{0};
    connectionName_ = QStringLiteral("fake-player-%1").arg(++counter);
    QDBusConnection bus = QDBusConnection::connectToBus(PrivateSessionBus::Address(), connectionName_);
    if (!bus.isConnected()) return;
    // QtDBus hands each call to the thread of the object it is meant for.
    thread_.start();
    mprisObject_ = std::make_unique<Object>(mutex_, state_, calls_);
    mprisObject_->moveToThread(&thread_);
    bool ok = bus.registerVirtualObject(QStringLiteral("/org/mpris/MediaPlayer2"), mprisObject_.get());
    if (asAudacious_) {
        audaciousObject_ = std::make_unique<Object>(mutex_, state_, calls_);
        audaciousObject_->moveToThread(&thread_);
        ok = ok && bus.registerVirtualObject(QStringLiteral("/org/atheme/audacious"), audaciousObject_.get());
        ok = ok && bus.registerService(QStringLiteral("org.atheme.audacious"));
    }
    registered_ = ok && bus.registerService(serviceName_);
}

FakeMprisService::~FakeMprisService() { Quit(); }

void FakeMprisService::Quit()
{
    if (connectionName_.isEmpty()) return;
    {
        QDBusConnection bus(connectionName_);
        bus.unregisterService(serviceName_);
        if (asAudacious_) bus.unregisterService(QStringLiteral("org.atheme.audacious"));
        bus.unregisterObject(QStringLiteral("/org/mpris/MediaPlayer2"));
        bus.unregisterObject(QStringLiteral("/org/atheme/audacious"));
    }
    QDBusConnection::disconnectFromBus(connectionName_);
    connectionName_.clear();
    registered_ = false;
    thread_.quit();
    thread_.wait();
}

}  // namespace dotvane::test
