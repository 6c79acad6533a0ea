#include "app/CommandLine.h"
#include "app/NoticeLog.h"
#include "app/NoticeText.h"
#include "app/qt/DisplayConnectionHold.h"
#include "app/qt/DisplayServer.h"
#include "app/qt/MainWindow.h"
#include "app/qt/MessageBoxes.h"
#include "app/qt/Programs.h"
#include "app/qt/QtMessageRoute.h"
#include "app/qt/QtServices.h"
#include "app/qt/StopRequestWatch.h"
#include "platform/FileNames.h"
#include "platform/StopRequests.h"
#include "platform/linux/StandardErrorLinux.h"

#include <QApplication>

#include <cstdlib>
#include <exception>
#include <memory>
#include <optional>

namespace dotvane {

int RunWithWindow(char* program)
{
    // Standard error never holds the window up either: Qt's own messages
    // are lines of a notice log, which drops what a stalled reader cannot
    // take.
    platform::StandardErrorLinux standardError;
    const auto noDisplayServer = [&] {
        standardError.Write(std::string(kNoDisplayServer) + "\n");
        return kUsageExitStatus;
    };
    if (!DisplayServerNamed([](const char* name) { return std::getenv(name); })) return noDisplayServer();
    NoticeLog log(standardError);
    const QtMessageRoute route(log);
    // From the start, so that a request while the window is being made is
    // not lost.
    platform::StopRequests requests;
    // Held until Qt has its own connection; a request meanwhile ends the
    // program before anything was made.
    std::optional<DisplayConnectionHold> hold;
    bool stopped = false;
    if (QtConnectsToX11([](const char* name) { return std::getenv(name); })) {
        hold.emplace(kDisplayServerPatience, [&] {
            stopped = requests.Take();
            return stopped;
        });
        if (stopped) return 0;
        if (hold->Unanswered()) return noDisplayServer();
    }
    int argc = 1;
    char* argv[] = {program, nullptr};
    std::unique_ptr<QApplication> app;
    {
        const EndWithoutDisplayServer guard;
        app = std::make_unique<QApplication>(argc, argv);
    }
    hold.reset();
    QApplication::setApplicationName("Dotvane");
    // The window may be hidden in the tray while a message box is the only
    // window; closing that box must not end the program.
    QApplication::setQuitOnLastWindowClosed(false);

    const QtServices services;

    // A request closes whatever box is open, even one of the start-up
    // before the window exists, and then closes the window as File > Exit
    // does, once there is one.
    MessageBoxes boxes;
    MainWindow* made = nullptr;
    const StopRequestWatch watch(requests, [&] {
        boxes.CloseAll();
        if (made != nullptr) made->Logic().Exit2Click();
    });
    try {
        MainWindow window(platform::ProgramFolder(), boxes);
        // A request while the window was being made closed its boxes; the
        // event loop would not see the window closing before it ran.
        if (boxes.Closed()) {
            window.Logic().Exit2Click();
            return 0;
        }
        made = &window;
        window.show();
        const int status = QApplication::exec();
        made = nullptr;
        return status;
    } catch (const std::exception& error) {
        made = nullptr;
        boxes.Show(nullptr, CutNotice(error.what()), true);
        return 0;
    }
}

}  // namespace dotvane
