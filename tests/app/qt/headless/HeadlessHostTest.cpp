#include "app/qt/HeadlessHost.h"

#include "app/qt/QtMessageRoute.h"
#include "app/qt/QtTimer.h"
#include "app/qt/StopRequestWatch.h"
#include "lcd/ParallelPort.h"
#include "tests/support/FakeStandardError.h"
#include "tests/support/FakeSystemInfo.h"
#include "tests/support/RecordingDisplay.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <string>
#include <thread>

namespace dotvane {
namespace {

class HeadlessHostTest : public ::testing::Test {
protected:
    HeadlessHostTest()
    {
        clock.now = {2025, 1, 3, 2, 3, 4, 5};
        dir.Write("DOTVANE.INI", "");
        dir.Write("screens/default.ini", "[Screen0]\nLine0=hello\n");
    }

    // Runs the event loop until the program ends it, giving the exit
    // status; 99 when it does not end within half a minute.
    static int RunEventLoop()
    {
        QTimer giveUp;
        giveUp.setSingleShot(true);
        QObject::connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        giveUp.start(30000);
        return QCoreApplication::exec();
    }

    test::FakeLocalClock clock;
    test::TempDir dir;
    test::RecordingDisplay display;
    test::FakeStandardError standardError;
    NoticeLog log{standardError};
};

TEST_F(HeadlessHostTest, StartsWithoutAWindowAndWritesWhatWouldBeBoxes)
{
    display.openError = PortOpenFailure{kPortOpenError, "/dev/parport0: permission denied; add the user to the lp group"};
    HeadlessHost host(log, dir.Folder(), display);
    EXPECT_FALSE(host.HasWindow());
    EXPECT_FALSE(host.Logic().State().WindowShown);
    EXPECT_EQ(standardError.written,
              "2025-01-02T03:04:05 Could not open the DriverLINX driver.\n"
              "2025-01-02T03:04:05 /dev/parport0: permission denied; add the user to the lp group\n");
    EXPECT_EQ(host.StatusText(), "/dev/parport0: permission denied; add the user to the lp group");

    host.Logic().UpdateTimer1Timer();
    EXPECT_EQ(display.Count("Text 'hello'"), 1);
    EXPECT_TRUE(host.Logic().Render().PresentedPicture().IsNull());
}

TEST_F(HeadlessHostTest, StatusTextsOfTheCommandsGoToTheLog)
{
    HeadlessHost host(log, dir.Folder(), display);
    host.Logic().Previous1Click();
    host.Logic().Previous1Click();
    host.Logic().Next1Click();
    EXPECT_EQ(standardError.written,
              "2025-01-02T03:04:05 First screen already\n"
              "2025-01-02T03:04:05 No more screens\n");
}

TEST_F(HeadlessHostTest, TimersRunOnTheEventLoop)
{
    HeadlessHost host(log, dir.Folder(), display);
    TDotvane& logic = host.Logic();
    for (Timer* timer : {&logic.UpdateTimer1(), &logic.changescreen_Timer1(), &logic.POP3_Timer1(),
                         &logic.SetiTimer1(), &logic.ExternalIP_Timer1()}) {
        EXPECT_NE(dynamic_cast<QtTimer*>(timer), nullptr);
        EXPECT_TRUE(timer->Running());
    }
    // Waits on the network let the event loop work.
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    host.ProcessMessages();
    EXPECT_TRUE(ran);
}

TEST_F(HeadlessHostTest, ExitRunsTheShutdownOnceAndEndsTheEventLoopWithStatus0)
{
    HeadlessHost host(log, dir.Folder(), display);
    host.Logic().UpdateTimer1Timer();
    QTimer::singleShot(0, [&] {
        host.Logic().Exit2Click();
        host.Logic().PopUpMenu1_ExitClick();
    });
    EXPECT_EQ(RunEventLoop(), 0);
    EXPECT_EQ(display.Count("Blank"), 1);
    EXPECT_EQ(display.calls.back(), "Blank");
    EXPECT_FALSE(host.Logic().UpdateTimer1().Enabled());
    EXPECT_FALSE(host.Logic().changescreen_Timer1().Enabled());
}

TEST_F(HeadlessHostTest, ASignalEndsTheProgramAsFileExitDoes)
{
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        platform::StopRequests requests;
        test::RecordingDisplay shown;
        HeadlessHost host(log, dir.Folder(), shown);
        const StopRequestWatch watch(requests, [&host] { host.Logic().Exit2Click(); });
        QTimer::singleShot(0, [&] {
            host.Logic().UpdateTimer1Timer();
            std::raise(signal);
        });
        EXPECT_EQ(RunEventLoop(), 0) << signal;
        EXPECT_EQ(shown.calls.back(), "Blank") << signal;
        EXPECT_EQ(shown.Count("Blank"), 1) << signal;
        EXPECT_FALSE(host.Logic().UpdateTimer1().Enabled()) << signal;
    }
}

TEST_F(HeadlessHostTest, QtsOwnMessagesAreLinesOfTheLog)
{
    {
        const QtMessageRoute route(log);
        qWarning("QFont::setPointSizeF: Point size <= 0 (%d), must be greater than 0", -1);
        qWarning("QFont::setPointSizeF: Point size <= 0 (%d), must be greater than 0", -1);
        const QLoggingCategory category("qt.qpa.fonts");
        qCWarning(category) << "Populating font family aliases took" << 60 << "ms";
        // A message from another thread waits for the log's own event loop.
        std::thread([] { qWarning("from elsewhere"); }).join();
        EXPECT_EQ(standardError.written.find("elsewhere"), std::string::npos);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(standardError.written,
              "2025-01-02T03:04:05 QFont::setPointSizeF: Point size <= 0 (-1), must be greater than 0\n"
              "2025-01-02T03:04:05 qt.qpa.fonts: Populating font family aliases took 60 ms\n"
              "2025-01-02T03:04:05 from elsewhere\n");
}

TEST_F(HeadlessHostTest, AfterTheRouteQtsMessagesGoToStandardErrorWithoutWaiting)
{
    // In a child whose standard error is a pipe nobody reads: a message gets
    // through while the pipe has room, and the alarm ends the child if one
    // waits once the pipe is full.
    EXPECT_EXIT(
        {
            int ends[2];
            if (pipe(ends) != 0 || dup2(ends[1], 2) != 2) _exit(3);
            { const QtMessageRoute route(log); }
            qWarning("with room");
            char line[16] = {};
            if (::read(ends[0], line, sizeof line - 1) != 10 || std::string(line) != "with room\n") _exit(4);
            const std::string full(static_cast<size_t>(fcntl(2, F_GETPIPE_SZ)), 'x');
            if (write(2, full.data(), full.size()) != static_cast<ssize_t>(full.size())) _exit(5);
            alarm(10);
            qWarning("into the full pipe");
            _exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace dotvane
