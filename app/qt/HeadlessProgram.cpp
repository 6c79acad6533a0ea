#include "app/qt/HeadlessHost.h"
#include "app/NoticeLog.h"
#include "app/qt/Programs.h"
#include "app/qt/QtMessageRoute.h"
#include "app/qt/QtServices.h"
#include "app/qt/StopRequestWatch.h"
#include "platform/FileNames.h"
#include "platform/StopRequests.h"
#include "platform/linux/StandardErrorLinux.h"

#include <QGuiApplication>

#include <exception>

namespace dotvane {

int RunHeadless(char* program)
{
    platform::StopRequests requests;
    // The log comes first, so that Qt's own messages go to it from the
    // start, and goes last, telling what it held back.
    platform::StandardErrorLinux standardError;
    NoticeLog log(standardError);
    const QtMessageRoute route(log);
    // Font texts and pictures need Qt's drawing, which the offscreen
    // platform offers without a display server, whatever QT_QPA_PLATFORM
    // says.
    int argc = 3;
    char platformOption[] = "-platform";
    char offscreen[] = "offscreen";
    char* argv[] = {program, platformOption, offscreen, nullptr};
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName("Dotvane");

    const QtServices services;

    try {
        HeadlessHost host(log, platform::ProgramFolder());
        const StopRequestWatch watch(requests, [&host] { host.Logic().Exit2Click(); });
        return QGuiApplication::exec();
    } catch (const std::exception& error) {
        log.ShowError(error.what());
        return 0;
    }
}

}  // namespace dotvane
