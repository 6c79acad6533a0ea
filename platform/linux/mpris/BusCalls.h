#pragma once

#include <QtCore/QDeadlineTimer>
#include <QtCore/QList>
#include <QtCore/QString>
#include <QtCore/QVariant>
#include <QtDBus/QDBusConnection>
#include <QtDBus/QDBusPendingCall>

#include <cstddef>
#include <optional>
#include <vector>

namespace dotvane::platform {

// Method calls sent on a bus all at once and waited for together, up to one
// deadline: each call is given the time left as its timeout, so the wait is
// over by the deadline whatever the peers do, and a peer that never answers
// costs no more than one that answers late. The wait blocks on the replies
// alone; it runs no event loop, so nothing else of the program runs meanwhile.
class BusCalls {
public:
    BusCalls(const QDBusConnection& bus, QDeadlineTimer deadline) : bus_(bus), deadline_(deadline) {}

    // Sends a call; returns its number, for the answers below.
    size_t Add(const QString& service, const QString& path, const QString& interface, const QString& method,
               const QVariantList& arguments = {});
    // Waits until every call is answered or has run out of time.
    void Wait();

    // Whether the call ran out of time: its peer was late.
    bool Late(size_t call) const;
    // The reply's arguments; nothing for an error reply or a late call.
    std::optional<QVariantList> Reply(size_t call) const;
    // The first argument of the reply; an invalid value when there is none.
    QVariant FirstArgument(size_t call) const;

private:
    QDBusConnection bus_;
    QDeadlineTimer deadline_;
    std::vector<QDBusPendingCall> calls_;
};

}  // namespace dotvane::platform
