#include "app/qt/DisplayServer.h"

#include "app/qt/DisplayConnectionHold.h"

#include <QByteArray>

#include <gtest/gtest.h>

#include <chrono>
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

TEST(DisplayServerTest, TheHoldGivesUpOnAStopRequestOrWhenItsPatienceRunsOut)
{
    const QByteArray saved = qgetenv("DISPLAY");
    int unserved = 90;
    while (std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(unserved))) ++unserved;
    qputenv("DISPLAY", (":" + std::to_string(unserved)).c_str());
    int asked = 0;
    const DisplayConnectionHold stopped(std::chrono::seconds(30), [&] { return ++asked == 3; });
    EXPECT_FALSE(stopped.Connected());
    EXPECT_EQ(asked, 3);
    asked = 0;
    const DisplayConnectionHold impatient(std::chrono::milliseconds(250), [&] { return ++asked > 100; });
    EXPECT_FALSE(impatient.Connected());
    EXPECT_GE(asked, 1);
    EXPECT_LE(asked, 3);
    if (saved.isNull())
        qunsetenv("DISPLAY");
    else
        qputenv("DISPLAY", saved);
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
