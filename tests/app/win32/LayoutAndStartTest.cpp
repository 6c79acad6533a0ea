// The arithmetic of the window's layout and what the command line starts.
#include "app/win32/StartDecision.h"
#include "app/win32/WindowLayout.h"

#include <gtest/gtest.h>

namespace dotvane {
namespace {

TEST(WindowLayoutTest, TheClientHoldsTheDoubledDisplayAndTheStatusLine)
{
    struct Case {
        int width, height, dpi, textHeight, minimumWidth;
        WindowLayout expected;
    };
    const Case cases[] = {
        // The defaults, and a larger display, at 96 dpi.
        {128, 64, 96, 13, 0, {257, 149, {0, 0, 257, 130}, {0, 130, 257, 19}}},
        {240, 128, 96, 13, 0, {481, 277, {0, 0, 481, 258}, {0, 258, 481, 19}}},
        // At 144 dpi the status line grows with the text; the picture keeps
        // its pixels.
        {128, 64, 144, 19, 0, {257, 159, {0, 0, 257, 130}, {0, 130, 257, 29}}},
        // A tall status font, and a menu bar wider than a tiny display.
        {128, 64, 96, 18, 0, {257, 152, {0, 0, 257, 130}, {0, 130, 257, 22}}},
        {1, 1, 96, 13, 120, {120, 23, {0, 0, 120, 4}, {0, 4, 120, 19}}},
    };
    for (const Case& c : cases) {
        const int status = StatusLineHeight(c.dpi, c.textHeight);
        EXPECT_EQ(LayOutWindow(c.width, c.height, status, c.minimumWidth), c.expected)
            << c.width << "x" << c.height << " at " << c.dpi << " dpi";
    }
}

TEST(StartDecisionTest, OnlyNoOptionsStartsTheWindowAndEverythingElseIsABox)
{
    struct Case {
        std::vector<std::string> arguments;
        bool runs;
        std::string boxStart;
        int status;
    };
    const Case cases[] = {
        {{}, true, "", 0},
        {{"--version"}, false, "Dotvane v. 0.3.2 pre13 NT", 0},
        {{"--help"}, false, "Usage: dotvane.exe [--help | --version]", 0},
        {{"--headless"}, false, "--headless is an option of the Linux program.", 2},
        {{"--headless", "-x"}, false, "dotvane.exe: unknown option \"-x\"", 2},
    };
    for (const Case& c : cases) {
        const StartDecision start = DecideStart(ParseCommandLine("dotvane.exe", c.arguments), "dotvane.exe");
        EXPECT_EQ(start.RunWindow, c.runs) << c.boxStart;
        EXPECT_TRUE(start.Box.starts_with(c.boxStart)) << start.Box;
        EXPECT_EQ(start.ExitStatus, c.status) << c.boxStart;
        EXPECT_EQ(start.BoxIsError, c.status != 0) << c.boxStart;
    }
}

}  // namespace
}  // namespace dotvane
