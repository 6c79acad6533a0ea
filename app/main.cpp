#include "app/MainWindow.h"
#include "platform/FileNames.h"
#include "platform/SystemPlayer.h"

#include <QApplication>
#include <QMessageBox>

#include <exception>
#include <memory>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Dotvane");
    // The window may be hidden in the tray while a message box is the only
    // window; closing that box must not end the program.
    QApplication::setQuitOnLastWindowClosed(false);

    // The system's media players stand in for the Winamp window.
    const std::unique_ptr<dotvane::platform::Player> player = dotvane::platform::CreateSystemPlayer();
    const dotvane::platform::PlayerService::Scoped installed(*player);

    try {
        dotvane::MainWindow window(dotvane::platform::ProgramFolder());
        window.show();
        return QApplication::exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QObject::tr("Dotvane"), QString::fromLocal8Bit(error.what()));
        return 0;
    }
}
