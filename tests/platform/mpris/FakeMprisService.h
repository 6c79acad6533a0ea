#pragma once

#include <QtCore/QMutex>
#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QThread>
#include <QtDBus/QDBusConnection>
#include <QtDBus/QDBusVirtualObject>

#include <atomic>
#include <memory>
#include <optional>

namespace dotvane::test {

// What the fake media player tells about itself.
struct FakeTrackState {
    QString playbackStatus = QStringLiteral("Stopped");
    qint64 positionUs = 0;
    std::optional<qint64> lengthUs;
    // Metadata; a track is loaded while trackId is not empty.
    QString trackId;
    QString title;
    QStringList artists;
    QString url;
    // The TrackList interface, when the player has one.
    bool hasTrackList = false;
    QStringList tracks;
    // Answers to Audacious's own Info call (bit/s, Hz, channels), when the
    // player is registered as Audacious.
    int bitRate = 0;
    int sampleRate = 0;
    int channels = 0;
    // A player that never replies.
    bool hung = false;
    // When valid, sent in place of positionUs and lengthUs, of any type.
    QVariant rawPosition;
    QVariant rawLength;
};

// A media player on the test's private session bus, on a connection of its
// own, under the name "org.mpris.MediaPlayer2.<name>" (and, with
// `asAudacious`, also "org.atheme.audacious"). Calls are answered on a thread
// of the fake's own, so the player under test may call it synchronously from
// the test's thread.
class FakeMprisService {
public:
    FakeMprisService(const QString& name, bool asAudacious = false);
    ~FakeMprisService();
    FakeMprisService(const FakeMprisService&) = delete;
    FakeMprisService& operator=(const FakeMprisService&) = delete;

    // Whether the names are registered on the bus.
    bool Registered() const { return registered_; }
    // Changes the state under the lock; calls in flight see the old or the
    // new state whole.
    template <class Change>
    void Update(Change change)
    {
        QMutexLocker lock(&mutex_);
        change(state_);
    }
    // Takes the player off the bus, as when it quits.
    void Quit();
    // How many calls reached the player, answered or not.
    int Calls() const { return calls_; }

private:
    class Object;

    QMutex mutex_;
    FakeTrackState state_;
    std::atomic<int> calls_{0};
    QString connectionName_;
    QString serviceName_;
    bool asAudacious_;
    bool registered_ = false;
    QThread thread_;
    std::unique_ptr<Object> mprisObject_;
    std::unique_ptr<Object> audaciousObject_;
};

}  // namespace dotvane::test
