#include "app/qt/QtMessageRoute.h"

#include "app/NoticeLog.h"
#include "platform/qt/QtText.h"

#include <QCoreApplication>
#include <QMessageLogContext>
#include <QMetaObject>
#include <QString>

#include <cstdio>
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
    previous_ = qInstallMessageHandler(RouteMessage);
}

void QtMessageRoute::Pass(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (routedLog != nullptr)
        RouteMessage(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

QtMessageRoute::~QtMessageRoute()
{
    qInstallMessageHandler(previous_);
    routedLog = nullptr;
}

}  // namespace dotvane
