#pragma once

#include <QtCore/QList>
#include <QtCore/QString>
#include <QtCore/QVariant>
#include <QtDBus/QDBusObjectPath>

#include <cstdint>
#include <optional>
#include <string>

namespace dotvane::platform {

// What one media player on the bus answered about itself, and the replies of
// the Winamp window made from it. Every value comes from another program and
// is checked before it is used.
class PlayerAnswers {
public:
    // The stream's format that Audacious tells on an interface of its own.
    struct StreamFormat {
        int32_t bitRate = 0;     // bit/s
        int32_t sampleRate = 0;  // Hz
        int32_t channels = 0;
    };

    QString playbackStatus;
    // As the bus delivered it: any type, checked when it is read.
    QVariant position;
    QVariantMap metadata;
    bool hasTrackList = false;
    QList<QDBusObjectPath> tracks;
    std::optional<StreamFormat> format;

    // The metadata and the track list as the bus delivers them; empty when
    // they are of another type than MPRIS gives them.
    static QVariantMap MetadataFrom(const QVariant& value);
    static QList<QDBusObjectPath> TracksFrom(const QVariant& value);

    // Playing 1, paused 3, anything else 0.
    int32_t Status() const;
    // The play position in milliseconds; a position that is no number of
    // 0 … 2^31−1 milliseconds counts as 0.
    int32_t PositionMs() const;
    // The track's length in seconds; -1 when the player tells none, as
    // Winamp answers, and 0 for a length that is no number of 0 … 2^31−1
    // milliseconds.
    int32_t LengthSeconds() const;
    // The current track's place in the play list (from 0) and the list's
    // length; without a track list, the one track shown, if any.
    int32_t ListPosition() const;
    int32_t ListLength() const;
    // Winamp's window text "N. Artist - Title - Winamp" in the program's
    // Latin-1 characters, at most kWindowTextLimit of them: a title too long
    // for it is cut, and the text keeps its ending. "Winamp" without a track.
    std::string WindowText() const;

    static constexpr size_t kWindowTextLimit = 2047;
};

}  // namespace dotvane::platform
