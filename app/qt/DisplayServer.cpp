#include "app/qt/DisplayServer.h"

#include "app/CommandLine.h"
#include "app/qt/QtMessageRoute.h"
#include "platform/linux/StandardErrorLinux.h"

#include <QMessageLogContext>
#include <QString>

#include <cstdlib>
#include <string>

namespace dotvane {
namespace {

void EndOnFatal(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type != QtFatalMsg) {
        QtMessageRoute::Pass(type, context, message);
        return;
    }
    platform::StandardErrorLinux(2).Write(std::string(kNoDisplayServer) + "\n");
    // Qt is half made: nothing of it may run any more, not even its
    // destructors.
    std::_Exit(kUsageExitStatus);
}

}  // namespace

bool DisplayServerNamed(const std::function<const char*(const char*)>& lookup)
{
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = lookup(name);
        if (value != nullptr && *value != '\0') return true;
    }
    return false;
}

EndWithoutDisplayServer::EndWithoutDisplayServer() : previous_(qInstallMessageHandler(EndOnFatal)) {}

EndWithoutDisplayServer::~EndWithoutDisplayServer() { qInstallMessageHandler(previous_); }

}  // namespace dotvane
