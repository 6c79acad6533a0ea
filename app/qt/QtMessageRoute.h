#pragma once

#include <QtGlobal>

namespace dotvane {

class NoticeLog;

// While it lives, Qt's own messages (its warnings, and the debug lines its
// logging rules let through) are lines of the notice log, time-stamped and
// held back like any other, instead of going to standard error as they
// are. A message from another thread waits for the event loop of the thread
// that made the route, which owns the log; a message of Qt's that ends the
// program is written at once. Only one route may live at a time. Once it has
// gone, Qt's messages go to standard error, written without waiting, as the
// log writes it.
class QtMessageRoute {
public:
    explicit QtMessageRoute(NoticeLog& log);
    ~QtMessageRoute();
    QtMessageRoute(const QtMessageRoute&) = delete;
    QtMessageRoute& operator=(const QtMessageRoute&) = delete;

    // Hands a message of Qt's to the route that lives, or, where none does,
    // writes it to standard error without waiting.
    static void Pass(QtMsgType type, const QMessageLogContext& context, const QString& message);
};

}  // namespace dotvane
