#include "app/qt/DisplayServer.h"

#include "app/qt/DisplayConnectionHold.h"

#include <QByteArray>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace dotvane {
namespace {

TEST(DisplayServerTest, ADisplayOrAQtPlatformMustBeNamed)
{
    struct Case {
        std::map<std::string, std::string> environment;
        bool named;
    };
    const std::vector<Case> cases{
        {{}, false},
        {{{"HOME", "/root"}, {"TERM", "xterm"}}, false},
        {{{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", ""}}, false},
        {{{"DISPLAY", ":0"}}, true},
        {{{"DISPLAY", "localhost:10.0"}}, true},
        {{{"WAYLAND_DISPLAY", "wayland-0"}}, true},
        {{{"DISPLAY", ""}, {"WAYLAND_DISPLAY", "wayland-1"}}, true},
        {{{"QT_QPA_PLATFORM", "offscreen"}}, true},
        {{{"QT_QPA_PLATFORM", "eglfs"}}, true},
    };
    for (const Case& c : cases) {
        const auto lookup = [&](const char* name) -> const char* {
            const auto found = c.environment.find(name);
            return found == c.environment.end() ? nullptr : found->second.c_str();
        };
        EXPECT_EQ(DisplayServerNamed(lookup), c.named) << ::testing::PrintToString(c.environment);
    }
}

// DISPLAY names `display` while it lives.
class ScopedDisplay {
public:
    explicit ScopedDisplay(const std::string& display) : saved_(qgetenv("DISPLAY"))
    {
        qputenv("DISPLAY", display.c_str());
    }
    ~ScopedDisplay()
    {
        if (saved_.isNull())
            qunsetenv("DISPLAY");
        else
            qputenv("DISPLAY", saved_);
    }
    ScopedDisplay(const ScopedDisplay&) = delete;
    ScopedDisplay& operator=(const ScopedDisplay&) = delete;

private:
    const QByteArray saved_;
};

// A display number that no X server serves now.
int UnservedDisplay()
{
    int unserved = 90;
    while (std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(unserved))) ++unserved;
    return unserved;
}

// Starts Xvfb on the display, its output dropped.
pid_t StartXvfb(int display)
{
    const std::string name = ":" + std::to_string(display);
    const pid_t child = fork();
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execlp("Xvfb", "Xvfb", name.c_str(), "-nolisten", "tcp", static_cast<char*>(nullptr));
        _exit(127);
    }
    return child;
}

TEST(DisplayServerTest, TheHoldWaitsForAServerThatIsStillStarting)
{
    const int display = UnservedDisplay();
    const ScopedDisplay named(":" + std::to_string(display));
    pid_t server = -1;
    int asked = 0;
    {
        // The server is started after the hold's third try.
        const DisplayConnectionHold hold(std::chrono::seconds(20), [&] {
            if (++asked == 3) server = StartXvfb(display);
            return false;
        });
        EXPECT_TRUE(hold.Connected());
        EXPECT_GE(asked, 3);
    }
    ASSERT_GT(server, 0);
    kill(server, SIGTERM);
    waitpid(server, nullptr, 0);
}

TEST(DisplayServerTest, TheHoldGivesUpOnAServerThatTakesTheConnectionAndNeverAnswers)
{
    // A "server" on the TCP port of a display: the system accepts the
    // connection, and nothing ever answers it.
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int display = 90;
    for (address.sin_port = htons(6090); bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0;
         address.sin_port = htons(static_cast<uint16_t>(6000 + ++display)))
        ASSERT_LT(display, 200);
    ASSERT_EQ(listen(listener, 4), 0);
    const ScopedDisplay named("127.0.0.1:" + std::to_string(display));
    const auto started = std::chrono::steady_clock::now();
    const DisplayConnectionHold silent(std::chrono::milliseconds(300), [] { return false; });
    EXPECT_FALSE(silent.Connected());
    EXPECT_TRUE(silent.Unanswered());
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
    close(listener);
}

TEST(DisplayServerTest, TheHoldGivesUpOnAStopRequestOrWhenItsPatienceRunsOut)
{
    const ScopedDisplay named(":" + std::to_string(UnservedDisplay()));
    int asked = 0;
    const DisplayConnectionHold stopped(std::chrono::seconds(30), [&] { return ++asked == 3; });
    EXPECT_FALSE(stopped.Connected());
    EXPECT_EQ(asked, 3);
    asked = 0;
    const DisplayConnectionHold impatient(std::chrono::milliseconds(250), [&] { return ++asked > 100; });
    EXPECT_FALSE(impatient.Connected());
    EXPECT_FALSE(impatient.Unanswered());
    EXPECT_GE(asked, 1);
    EXPECT_LE(asked, 3);
}

TEST(DisplayServerTest, TheMessageIsOneLineThatNamesTheWayOut)
{
    const std::string_view message = kNoDisplayServer;
    EXPECT_EQ(message.find('\n'), std::string_view::npos);
    EXPECT_NE(message.find("--headless"), std::string_view::npos);
}

TEST(DisplayServerTest, TheGuardPutsQtsMessageHandlerBack)
{
    const QtMessageHandler before = qInstallMessageHandler(nullptr);
    qInstallMessageHandler(before);
    {
        const EndWithoutDisplayServer guard;
        const QtMessageHandler during = qInstallMessageHandler(nullptr);
        qInstallMessageHandler(during);
        EXPECT_NE(during, before);
    }
    const QtMessageHandler after = qInstallMessageHandler(nullptr);
    qInstallMessageHandler(after);
    EXPECT_EQ(after, before);
}

TEST(DisplayServerDeathTest, QtGivingUpWhileGuardedEndsWithStatus2AndTheLine)
{
    EXPECT_EXIT(
        {
            const EndWithoutDisplayServer guard;
            qFatal("could not connect to display");
        },
        ::testing::ExitedWithCode(2), "^Dotvane: no display server can be reached .*--headless");
}

}  // namespace
}  // namespace dotvane
