#include "app/qt/HeadlessHost.h"
#include "app/NoticeLog.h"
#include "app/qt/Programs.h"
#include "app/qt/QtServices.h"
#include "app/qt/StopRequestWatch.h"
#include "platform/FileNames.h"
#include "platform/StopRequests.h"

#include <QGuiApplication>

#include <exception>
#include <iostream>
#include <memory>

namespace dotvane {

int RunHeadless(char* program)
{
    platform::StopRequests requests;
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
        HeadlessHost host(std::cerr, platform::ProgramFolder());
        const StopRequestWatch watch(requests, [&host] { host.Logic().Exit2Click(); });
        return QGuiApplication::exec();
    } catch (const std::exception& error) {
        NoticeLog(std::cerr).ShowError(error.what());
        return 0;
    }
}

}  // namespace dotvane
