#include "platform/linux/mpris/BusCalls.h"

#include <QtDBus/QDBusError>
#include <QtDBus/QDBusMessage>

#include <algorithm>

namespace dotvane::platform {

size_t BusCalls::Add(const QString& service, const QString& path, const QString& interface, const QString& method,
                     const QVariantList& arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(arguments);
    // A timeout of 0 would be the bus's default of 25 seconds.
    const int timeout = static_cast<int>(std::max<qint64>(deadline_.remainingTime(), 1));
    calls_.push_back(bus_.asyncCall(message, timeout));
    return calls_.size() - 1;
}

void BusCalls::Wait()
{
    for (QDBusPendingCall& call : calls_) call.waitForFinished();
}

bool BusCalls::Late(size_t call) const
{
    const QDBusError::ErrorType error = calls_.at(call).error().type();
    return error == QDBusError::NoReply || error == QDBusError::Timeout;
}

std::optional<QVariantList> BusCalls::Reply(size_t call) const
{
    const QDBusMessage reply = calls_.at(call).reply();
    if (reply.type() != QDBusMessage::ReplyMessage) return std::nullopt;
    return reply.arguments();
}

QVariant BusCalls::FirstArgument(size_t call) const
{
    const std::optional<QVariantList> arguments = Reply(call);
    return arguments && !arguments->isEmpty() ? arguments->front() : QVariant();
}

}  // namespace dotvane::platform
