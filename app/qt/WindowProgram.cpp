#include "app/CommandLine.h"
#include "app/qt/DisplayServer.h"
#include "app/qt/MainWindow.h"
#include "app/qt/Programs.h"
#include "app/qt/QtServices.h"
#include "app/qt/StopRequestWatch.h"
#include "platform/FileNames.h"
#include "platform/StopRequests.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>

namespace dotvane {

int RunWithWindow(char* program)
{
    if (!DisplayServerNamed([](const char* name) { return std::getenv(name); })) {
        std::fprintf(stderr, "%s\n", kNoDisplayServer);
        return kUsageExitStatus;
    }
    // From the start, so that a request while the window is being made is
    // not lost.
    platform::StopRequests requests;
    int argc = 1;
    char* argv[] = {program, nullptr};
    std::unique_ptr<QApplication> app;
    {
        const EndWithoutDisplayServer guard;
        app = std::make_unique<QApplication>(argc, argv);
    }
    QApplication::setApplicationName("Dotvane");
    // The window may be hidden in the tray while a message box is the only
    // window; closing that box must not end the program.
    QApplication::setQuitOnLastWindowClosed(false);

    const QtServices services;

    try {
        MainWindow window(platform::ProgramFolder());
        window.show();
        const StopRequestWatch watch(requests, [&window] { window.Logic().Exit2Click(); });
        return QApplication::exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QObject::tr("Dotvane"), QString::fromLocal8Bit(error.what()));
        return 0;
    }
}

}  // namespace dotvane
