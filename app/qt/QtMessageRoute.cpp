#include "app/qt/QtMessageRoute.h"

#include "app/NoticeLog.h"
#include "platform/linux/StandardErrorLinux.h"
#include "platform/qt/QtText.h"

#include <QCoreApplication>
#include <QMessageLogContext>
#include <QMetaObject>
#include <QString>

#include <stdexcept>
#include <string>
#include <thread>

namespace dotvane {
namespace {

// Qt gives its message handler nothing but the message, so the log it
// writes to lives here, for the one route there may be.
NoticeLog* routedLog = nullptr;
std::thread::id logThread;

void WriteToRoutedLog(const std::string& line)
{
    if (routedLog != nullptr) routedLog->WriteLine(line);
}

// Where no log takes them, Qt's messages go to standard error as the log
// writes it: a reader that stalls never holds the program up, not even on
// its way out, after the log has gone.
void WriteWithoutWaiting(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    platform::StandardErrorLinux standardError;
    standardError.Write(FromQString(qFormatLogMessage(type, context, message)) + "\n");
}

void RouteMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    const std::string line = FromQString(qFormatLogMessage(type, context, message));
    if (std::this_thread::get_id() == logThread || type == QtFatalMsg) return WriteToRoutedLog(line);
    // The log is not made for several threads.
    if (QCoreApplication* application = QCoreApplication::instance())
        QMetaObject::invokeMethod(application, [line] { WriteToRoutedLog(line); }, Qt::QueuedConnection);
}

}  // namespace

QtMessageRoute::QtMessageRoute(NoticeLog& log)
{
    if (routedLog != nullptr) throw std::logic_error("Qt's messages are routed already");
    routedLog = &log;
    logThread = std::this_thread::get_id();
    qInstallMessageHandler(RouteMessage);
}

void QtMessageRoute::Pass(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (routedLog != nullptr)
        RouteMessage(type, context, message);
    else
        WriteWithoutWaiting(type, context, message);
}

QtMessageRoute::~QtMessageRoute()
{
    qInstallMessageHandler(WriteWithoutWaiting);
    routedLog = nullptr;
}

}  // namespace dotvane
