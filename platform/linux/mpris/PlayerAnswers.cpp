#include "platform/linux/mpris/PlayerAnswers.h"

#include "platform/Latin1Text.h"

#include <QtCore/QStringList>
#include <QtCore/QUrl>
#include <QtDBus/QDBusArgument>
#include <QtDBus/QDBusMetaType>

#include <algorithm>
#include <cmath>
#include <limits>

namespace dotvane::platform {
namespace {

// The longest time the Winamp window's replies hold: 2^31−1 milliseconds
// (24.8 days), in the microseconds of the bus.
constexpr int64_t kLongestTimeUs = int64_t{std::numeric_limits<int32_t>::max()} * 1000;

// A time in microseconds as a player gives it; 0 for one that is no number
// (text, a NaN, an infinity), negative, or beyond kLongestTimeUs.
int64_t TimeUs(const QVariant& value)
{
    switch (value.metaType().id()) {
    case QMetaType::Double: {
        const double us = value.toDouble();
        return std::isfinite(us) && us >= 0 && us <= static_cast<double>(kLongestTimeUs) ? static_cast<int64_t>(us) : 0;
    }
    case QMetaType::UChar:
    case QMetaType::UShort:
    case QMetaType::UInt:
    case QMetaType::ULongLong: {
        const qulonglong us = value.toULongLong();
        return us <= static_cast<qulonglong>(kLongestTimeUs) ? static_cast<int64_t>(us) : 0;
    }
    case QMetaType::Short:
    case QMetaType::Int:
    case QMetaType::LongLong: {
        const qlonglong us = value.toLongLong();
        return us >= 0 && us <= kLongestTimeUs ? us : 0;
    }
    default:
        return 0;
    }
}

int32_t Clamp32(qsizetype value) { return static_cast<int32_t>(std::min<qsizetype>(value, std::numeric_limits<int32_t>::max())); }

// A value of D-Bus type `signature` that arrived in its wire form, or as Qt
// already made it; empty when it is of another type.
template <class T>
T Demarshalled(const QVariant& value, const char* signature)
{
    if (value.metaType() == QMetaType::fromType<QDBusArgument>()) {
        const QDBusArgument argument = value.value<QDBusArgument>();
        if (argument.currentSignature() != QLatin1String(signature)) return {};
        return qdbus_cast<T>(argument);
    }
    return value.metaType() == QMetaType::fromType<T>() ? value.value<T>() : T{};
}

// A text from the player, cut to what the window text can show before it is
// converted, so that a text of megabytes costs no more than a short one.
std::string Latin1Cut(QString text)
{
    text.truncate(static_cast<qsizetype>(PlayerAnswers::kWindowTextLimit));
    return Latin1FromUtf8(text.toStdString());
}

}  // namespace

QVariantMap PlayerAnswers::MetadataFrom(const QVariant& value) { return Demarshalled<QVariantMap>(value, "a{sv}"); }

QList<QDBusObjectPath> PlayerAnswers::TracksFrom(const QVariant& value)
{
    return Demarshalled<QList<QDBusObjectPath>>(value, "ao");
}

int32_t PlayerAnswers::Status() const
{
    if (playbackStatus == QLatin1String("Playing")) return 1;
    if (playbackStatus == QLatin1String("Paused")) return 3;
    return 0;
}

int32_t PlayerAnswers::PositionMs() const { return static_cast<int32_t>(TimeUs(position) / 1000); }

int32_t PlayerAnswers::LengthSeconds() const
{
    const auto length = metadata.constFind(QStringLiteral("mpris:length"));
    if (length == metadata.constEnd()) return -1;
    return static_cast<int32_t>(TimeUs(*length) / 1000000);
}

int32_t PlayerAnswers::ListPosition() const
{
    if (!hasTrackList) return 0;
    const QVariant id = metadata.value(QStringLiteral("mpris:trackid"));
    const QString current = id.canConvert<QDBusObjectPath>() ? id.value<QDBusObjectPath>().path() : id.toString();
    for (qsizetype i = 0; i < tracks.size(); ++i)
        if (tracks[i].path() == current) return Clamp32(i);
    return 0;
}

int32_t PlayerAnswers::ListLength() const
{
    if (hasTrackList) return Clamp32(tracks.size());
    // Without a track list the player holds the one track it shows, if any.
    return metadata.isEmpty() ? 0 : 1;
}

std::string PlayerAnswers::WindowText() const
{
    QString title = metadata.value(QStringLiteral("xesam:title")).toString();
    if (title.isEmpty()) {
        // Untagged files show their file name, as Winamp does.
        title = QUrl(metadata.value(QStringLiteral("xesam:url")).toString()).fileName();
    }
    if (title.isEmpty()) return "Winamp";
    const QVariant artists = metadata.value(QStringLiteral("xesam:artist"));
    const std::string artist = Latin1Cut(artists.canConvert<QStringList>() ? artists.toStringList().join(QStringLiteral(", "))
                                                                           : artists.toString());

    constexpr std::string_view kEnding = " - Winamp";
    std::string text = std::to_string(int64_t{ListPosition()} + 1) + ". ";
    if (!artist.empty()) text += artist + " - ";
    text += Latin1Cut(title);
    text.resize(std::min(text.size(), kWindowTextLimit - kEnding.size()));
    text += kEnding;
    return text;
}

}  // namespace dotvane::platform
