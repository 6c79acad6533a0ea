#include "vars/SetiStats.h"

#include "tests/support/RecordingHost.h"
#include "tests/support/TempDir.h"
#include "tests/support/Variables.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include "tests/support/HeldFifo.h"
#endif

namespace dotvane {
namespace {

class SetiStatsTest : public test::VariablesTest {
protected:
    void SetUp() override
    {
        auto& seti = MainSettings.SetiAtHome;
        seti.Enable = true;
        seti.Statedir = dir.Folder() + "state.sah";
        seti.Userinfodir = dir.Folder() + "user_info.sah";
        seti.Outfiledir = dir.Folder() + "outfile.sah";
    }
    void SetiTimerTick() { dotvane::SetiTimerTick(MainSettings, SetiStats, host); }
    void WriteAll(const std::string& state, const std::string& user, const std::string& out)
    {
        dir.Write("state.sah", state);
        dir.Write("user_info.sah", user);
        dir.Write("outfile.sah", out);
    }

    test::TempDir dir;
    test::RecordingHost host;
    TSetiStats& SetiStats = Values.SetiStats;
};

TEST_F(SetiStatsTest, ReadsTheThreeFilesIntoTheFigures)
{
    WriteAll("ncfft=12\nprog=0.4567\ncpu=33\n",
             "id=4\nname=Jo\nemail_addr=jo@example.org\nnresults=120\ntotal_cpu=31536000\n",
             "spike: peak=1\ngaussian: peak=2\nspike and gaussian\npulse: x\ntriplet: y\ntriplet: z\nother\n");
    SetiTimerTick();
    EXPECT_DOUBLE_EQ(SetiStats.Progress, 45.67);
    EXPECT_EQ(SetiStats.UserName, "Jo");
    EXPECT_EQ(SetiStats.ResultCount, 120);
    EXPECT_DOUBLE_EQ(SetiStats.CpuTime, 1.0);
    EXPECT_EQ(SetiStats.Spikes, 2);
    EXPECT_EQ(SetiStats.Gaussians, 2);
    EXPECT_EQ(SetiStats.Pulses, 1);
    EXPECT_EQ(SetiStats.Triplets, 2);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(ExpandLine("$setiuser$ $setiprog$% $setinresults$ $setitotal_cpu$y"), "Jo 45.67% 120 1.00y");
    EXPECT_EQ(ExpandLine("$setispike$/$setigaussian$/$setipulse$/$setitriplet$"), "2/2/1/2");

    // Every tick counts the result file anew.
    SetiTimerTick();
    EXPECT_EQ(SetiStats.Spikes, 2);
}

TEST_F(SetiStatsTest, DisabledOpensNothing)
{
    MainSettings.SetiAtHome.Enable = false;
    SetiStats.Progress = 12;
    SetiTimerTick();
    EXPECT_EQ(SetiStats.Progress, 12) << "a state file that was looked for would have set 0";
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(SetiStatsTest, MissingFilesShowTheirMessagesInFileOrderAndKeepTheFigures)
{
    SetiStats = TSetiStats{50, "Al", 7, 2.5, 1, 2, 3, 4};
    SetiTimerTick();
    EXPECT_EQ(host.messages, (std::vector<std::string>{"Error opening user_info.sah", "Error opening outfile.sah"}));
    EXPECT_EQ(SetiStats.Progress, 0) << "a missing state file sets the progress to 0 silently";
    EXPECT_EQ(SetiStats.UserName, "Al");
    EXPECT_EQ(SetiStats.ResultCount, 7);
    EXPECT_EQ(SetiStats.CpuTime, 2.5);
    EXPECT_EQ(SetiStats.Triplets, 4);

    // One message per tick and file, for as long as the file is missing.
    dir.Write("outfile.sah", "pulse\n");
    SetiTimerTick();
    EXPECT_EQ(host.messages.size(), 3u);
    EXPECT_EQ(host.messages.back(), "Error opening user_info.sah");
    EXPECT_EQ(SetiStats.Pulses, 1);
}

TEST_F(SetiStatsTest, AFolderIsNoFile)
{
    MainSettings.SetiAtHome.Userinfodir = dir.Folder();
    dir.Write("outfile.sah", "");
    SetiTimerTick();
    EXPECT_EQ(host.messages, std::vector<std::string>{"Error opening user_info.sah"});
}

TEST_F(SetiStatsTest, AKeySearchReachingTheEndKeepsWhatWasReadSoFar)
{
    SetiStats = TSetiStats{33, "Old", 9, 0.5, 0, 0, 0, 0};
    // nresults comes before name, so the search from the name line misses it
    // and total_cpu is never looked for.
    WriteAll("cpu=1\n", "nresults=5\nname=New\ntotal_cpu=63072000\n", "");
    SetiTimerTick();
    EXPECT_EQ(SetiStats.Progress, 33);
    EXPECT_EQ(SetiStats.UserName, "New");
    EXPECT_EQ(SetiStats.ResultCount, 9);
    EXPECT_EQ(SetiStats.CpuTime, 0.5);

    WriteAll("", "nothing here\n", "");
    SetiTimerTick();
    EXPECT_EQ(SetiStats.UserName, "New");
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(SetiStatsTest, SearchesContinueFromTheLineOfThePreviousKey)
{
    WriteAll("", "name=Jo nresults=3 total_cpu=63072000\n", "");
    SetiTimerTick();
    EXPECT_EQ(SetiStats.UserName, "Jo nresults=3 total_cpu=63072000");
    // The value is taken after as many characters as the key is long, from
    // the start of the line that holds it.
    EXPECT_EQ(SetiStats.ResultCount, 0);
    EXPECT_EQ(SetiStats.CpuTime, 0);
}

struct NumberCase {
    const char* line;
    double progress;
};

class SetiProgressTest : public SetiStatsTest, public ::testing::WithParamInterface<NumberCase> {};

TEST_P(SetiProgressTest, ReadsTheNumberAfterTheKey)
{
    WriteAll(std::string("x=1\n") + GetParam().line + "\n", "", "");
    SetiStats.Progress = -1;
    SetiTimerTick();
    EXPECT_DOUBLE_EQ(SetiStats.Progress, GetParam().progress) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(Lines, SetiProgressTest,
                         ::testing::Values(NumberCase{"prog=0.4567", 45.67}, NumberCase{"prog=  0.5xyz", 50},
                                           NumberCase{"prog=1e-2", 1}, NumberCase{"prog=+0.25", 25},
                                           NumberCase{"prog=abc", 0}, NumberCase{"prog=", 0},
                                           NumberCase{"prog=0.75\r", 75}, NumberCase{"prog=-0.1", -10},
                                           NumberCase{"prog=+-0.1", 0}, NumberCase{"PROG=0.3", -1},
                                           NumberCase{"prog 0.3", -1}));

TEST_F(SetiStatsTest, WindowsStyleNamesAndLineEndsAreRead)
{
    dir.Write("seti/State.sah", "prog=0.1\r\n");
    dir.Write("seti/user_info.sah", "name=Jo\r\nnresults=2\r\n");
    dir.Write("seti/outfile.sah", "spike\r\n");
    auto& seti = MainSettings.SetiAtHome;
    seti.Statedir = dir.Folder() + "SETI\\state.sah";
    seti.Userinfodir = dir.Folder() + "seti\\user_info.sah";
    seti.Outfiledir = dir.Folder() + "seti\\outfile.sah";
    SetiTimerTick();
    EXPECT_TRUE(host.messages.empty());
    EXPECT_DOUBLE_EQ(SetiStats.Progress, 10);
    EXPECT_EQ(SetiStats.UserName, "Jo");
    EXPECT_EQ(SetiStats.ResultCount, 2);
    EXPECT_EQ(SetiStats.Spikes, 1);
}

TEST_F(SetiStatsTest, TheUserNameIsReadAsUtf8OrAsLatin1)
{
    WriteAll("", "name=J\xC3\xB6rg \xE2\x80\x93 \xC5\x81\xC3\xB3" "d\xC5\xBA\n", "");
    SetiTimerTick();
    EXPECT_EQ(ExpandVariable("setiuser"), "J\xF6rg - L\xF3" "dz");
    WriteAll("", "name=J\xF6rg\n", "");
    SetiTimerTick();
    EXPECT_EQ(ExpandVariable("setiuser"), "J\xF6rg");
}

TEST_F(SetiStatsTest, TheFilesNamedInTheSettingsOpenWhenSpeltInUtf8)
{
    dir.Write("seti/\xC3\xA9tat.sah", "prog=0.25\n");
    MainSettings.SetiAtHome.Statedir = dir.Folder() + "seti\\\xE9tat.sah";
    SetiTimerTick();
    EXPECT_DOUBLE_EQ(SetiStats.Progress, 25);
}

TEST_F(SetiStatsTest, OnlyTheEightNamesAreSetiVariables)
{
    SetiStats = TSetiStats{0, "", 0, 123.456, 0, 0, 0, 0};
    EXPECT_EQ(ExpandVariable("setiprog"), "0.00");
    EXPECT_EQ(ExpandVariable("setitotal_cpu"), "123.46");
    for (const char* name : {"seti", "setiprog(1)", "setiProg", "SETIPROG", "setiuser "})
        EXPECT_EQ(ExpandVariable(name), "") << name;
}

TEST_F(SetiStatsTest, AFileOverTheLimitCannotBeOpened)
{
    const std::string padding(kSetiFileLimit, ' ');
    WriteAll("prog=0.5\n" + padding, "name=Jo\n" + padding, "spike\n" + padding);
    SetiStats.Progress = 12;
    SetiStats.Spikes = 7;
    SetiTimerTick();
    EXPECT_EQ(SetiStats.Progress, 0);
    EXPECT_EQ(SetiStats.UserName, "");
    EXPECT_EQ(SetiStats.Spikes, 7);
    EXPECT_EQ(host.messages, (std::vector<std::string>{"Error opening user_info.sah", "Error opening outfile.sah"}));

    // At the limit the files are read.
    WriteAll("prog=0.5\n" + padding.substr(9), "name=Jo\n" + padding.substr(8), "spike\n" + padding.substr(6));
    SetiTimerTick();
    EXPECT_DOUBLE_EQ(SetiStats.Progress, 50);
    EXPECT_EQ(SetiStats.UserName, "Jo");
    EXPECT_EQ(SetiStats.Spikes, 1);
    EXPECT_EQ(host.messages.size(), 2u);
}

#ifndef _WIN32
TEST_F(SetiStatsTest, FifosAreNotWaitedFor)
{
    test::HeldFifo state(dir.Path() / "state.sah", "prog=0.5\n");
    test::HeldFifo user(dir.Path() / "user_info.sah", "name=Jo\n");
    test::HeldFifo out(dir.Path() / "outfile.sah", "spike\n");
    SetiStats.Progress = 12;
    const auto [prompt, messages] = test::ReadWhileHeld({&state, &user, &out}, [&] {
        SetiTimerTick();
        return host.messages;
    });
    EXPECT_TRUE(prompt);
    EXPECT_EQ(SetiStats.Progress, 0);
    EXPECT_EQ(SetiStats.UserName, "");
    EXPECT_EQ(messages, (std::vector<std::string>{"Error opening user_info.sah", "Error opening outfile.sah"}));
}

TEST_F(SetiStatsTest, DevicesCannotBeOpened)
{
    MainSettings.SetiAtHome.Userinfodir = "/dev/null";
    MainSettings.SetiAtHome.Outfiledir = "/dev/zero";
    SetiTimerTick();
    EXPECT_EQ(host.messages, (std::vector<std::string>{"Error opening user_info.sah", "Error opening outfile.sah"}));
}
#endif

}  // namespace
}  // namespace dotvane
