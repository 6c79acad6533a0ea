// Refresh ticks of a screen whose one row shows the player's title, while a
// process on the session bus owns a media player's name and never answers
// (and no other player runs), with the window shown on Qt's offscreen
// platform. The bus is a private dbus-daemon of the benchmark's own. The
// ticks follow each other as fast as they can; besides the mean, the
// counters give the median tick and the first one, in milliseconds.
#include "app/qt/MainWindow.h"
#include "app/qt/MessageBoxes.h"
#include "platform/linux/mpris/MprisPlayer.h"

#include <QApplication>
#include <QtCore/QProcess>
#include <QtDBus/QDBusConnection>
#include <QtDBus/QDBusVirtualObject>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

// Takes every call to the player's object and never replies.
class SilentObject : public QDBusVirtualObject {
public:
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage&, const QDBusConnection&) override { return true; }
};

// A program folder of its own whose one screen shows the title.
std::string MakeProgramFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "dotvane-player-XXXXXX").string();
    const std::filesystem::path folder = mkdtemp(pattern.data());
    std::filesystem::create_directories(folder / "screens");
    std::ofstream(folder / "DOTVANE.INI") << "[LCD]\nTextColumns=22\nTextRows=8\n";
    std::ofstream(folder / "screens" / "default.ini")
        << "[Screen0]\nEnable=1\nInterval=3600000\nUpdate=250\nLine0=Title: $winamptitle$\n";
    return folder.string() + "/";
}

void BM_RefreshWithAPlayerThatNeverAnswers(benchmark::State& state)
{
    QProcess daemon;
    daemon.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                 QStringLiteral("--nopidfile"), QStringLiteral("--print-address=1")});
    if (!daemon.waitForStarted(10000)) return state.SkipWithError("dbus-daemon did not start");
    while (!daemon.canReadLine() && daemon.waitForReadyRead(10000)) {
    }
    const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
    if (address.isEmpty()) return state.SkipWithError("dbus-daemon gave no address");
    qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());

    // The silent player lives on a connection of its own.
    SilentObject silent;
    QDBusConnection peer = QDBusConnection::connectToBus(address, QStringLiteral("silent-player"));
    peer.registerVirtualObject(QStringLiteral("/org/mpris/MediaPlayer2"), &silent);
    if (!peer.registerService(QStringLiteral("org.mpris.MediaPlayer2.silent")))
        return state.SkipWithError("the silent player could not take its name");

    const std::string folder = MakeProgramFolder();
    {
        const std::unique_ptr<dotvane::platform::Player> player = dotvane::platform::CreateMprisPlayer();
        const dotvane::platform::PlayerService::Scoped installed(*player);
        dotvane::MessageBoxes boxes;
        dotvane::MainWindow window(folder, boxes);
        window.show();
        QApplication::processEvents();
        std::vector<double> ticks;
        for (auto _ : state) {
            const auto start = std::chrono::steady_clock::now();
            window.Logic().UpdateTimer1Timer();
            QApplication::processEvents();
            ticks.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
        if (!ticks.empty()) {
            state.counters["first_ms"] = ticks.front();
            std::sort(ticks.begin(), ticks.end());
            state.counters["median_ms"] = ticks[ticks.size() / 2];
        }
    }
    QDBusConnection::disconnectFromBus(QStringLiteral("silent-player"));
    std::filesystem::remove_all(folder);
    daemon.terminate();
    daemon.waitForFinished(5000);
}
BENCHMARK(BM_RefreshWithAPlayerThatNeverAnswers)->Unit(benchmark::kMillisecond)->Iterations(21);

}  // namespace
