#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dotvane {
namespace {

TEST(CommandLineTest, OptionsChooseHowTheProgramStarts)
{
    struct Case {
        std::vector<std::string> arguments;
        StartMode mode;
    };
    const std::vector<Case> cases{
        {{}, StartMode::Window},
        {{"--headless"}, StartMode::Headless},
        {{"--headless", "--headless"}, StartMode::Headless},
        {{"--help"}, StartMode::Help},
        {{"--version"}, StartMode::Version},
        {{"--headless", "--help"}, StartMode::Help},
        {{"--version", "--help"}, StartMode::Help},
        {{"--version", "--headless"}, StartMode::Version},
    };
    for (const Case& c : cases) {
        const CommandLine line = ParseCommandLine("dotvane", c.arguments);
        EXPECT_EQ(line.Mode, c.mode) << ::testing::PrintToString(c.arguments);
        EXPECT_EQ(line.Complaint, "") << ::testing::PrintToString(c.arguments);
    }
}

TEST(CommandLineTest, AnythingElseIsRefusedWithOneLine)
{
    struct Case {
        std::vector<std::string> arguments;
        const char* complaint;
    };
    const std::vector<Case> cases{
        {{"--bogus"}, "dotvane-plain: unknown option \"--bogus\" (see dotvane-plain --help)"},
        {{"-h"}, "dotvane-plain: unknown option \"-h\" (see dotvane-plain --help)"},
        {{"--Headless"}, "dotvane-plain: unknown option \"--Headless\" (see dotvane-plain --help)"},
        {{"--headless=yes"}, "dotvane-plain: unknown option \"--headless=yes\" (see dotvane-plain --help)"},
        {{"DOTVANE.INI"}, "dotvane-plain: unknown option \"DOTVANE.INI\" (see dotvane-plain --help)"},
        {{""}, "dotvane-plain: unknown option \"\" (see dotvane-plain --help)"},
        // Qt's own options are not taken either.
        {{"-platform", "offscreen"}, "dotvane-plain: unknown option \"-platform\" (see dotvane-plain --help)"},
        // Refused whatever comes with it.
        {{"--help", "--nope"}, "dotvane-plain: unknown option \"--nope\" (see dotvane-plain --help)"},
        {{"--headless", "x", "y"}, "dotvane-plain: unknown option \"x\" (see dotvane-plain --help)"},
    };
    for (const Case& c : cases) {
        const CommandLine line = ParseCommandLine("dotvane-plain", c.arguments);
        EXPECT_EQ(line.Mode, StartMode::Refused) << ::testing::PrintToString(c.arguments);
        EXPECT_EQ(line.Complaint, c.complaint);
        EXPECT_EQ(line.Complaint.find('\n'), std::string::npos);
    }
    EXPECT_EQ(kUsageExitStatus, 2);
}

TEST(CommandLineTest, HelpNamesTheProgramAndEachOption)
{
    const std::string help = HelpText("dotvane-plain");
    EXPECT_TRUE(help.starts_with("Usage: dotvane-plain [--headless]\n"));
    for (const char* option : {"  --headless  ", "  --help  ", "  --version  ", "SIGTERM, SIGINT and SIGHUP"})
        EXPECT_NE(help.find(option), std::string::npos) << option;
    EXPECT_TRUE(help.ends_with('\n'));
    // It fits a terminal of 80 columns.
    size_t start = 0;
    for (size_t end = help.find('\n'); end != std::string::npos; start = end + 1, end = help.find('\n', start))
        EXPECT_LE(end - start, 80u) << help.substr(start, end - start);
}

}  // namespace
}  // namespace dotvane
