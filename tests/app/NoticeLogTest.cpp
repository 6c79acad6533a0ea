#include "app/NoticeLog.h"

#include "tests/support/FakeStandardError.h"
#include "tests/support/FakeSystemInfo.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace dotvane {
namespace {

class NoticeLogTest : public ::testing::Test {
protected:
    NoticeLogTest() { clock.now = {2024, 5, 3, 1, 9, 7, 5}; }

    test::FakeLocalClock clock;
    test::FakeTickCount ticks;
    test::FakeStandardError out;
    NoticeLog log{out};
};

TEST_F(NoticeLogTest, EachMessageIsOneLineAfterTheLocalTime)
{
    log.ShowMessage("Could not load or display icon images\\x.bmp");
    clock.now = {2024, 12, 2, 31, 23, 59, 59};
    log.ShowError("Could not open the DriverLINX driver.");
    EXPECT_EQ(out.written,
              "2024-05-01T09:07:05 Could not load or display icon images\\x.bmp\n"
              "2024-12-31T23:59:59 Could not open the DriverLINX driver.\n");
}

TEST_F(NoticeLogTest, LineBreaksBecomeBlanksAndLatin1BecomesUtf8)
{
    log.ShowMessage("two\nlines\r\nhere");
    log.ShowMessage("Bj\xF6rk \xA9 \x7F!");
    EXPECT_EQ(out.written,
              "2024-05-01T09:07:05 two lines  here\n"
              "2024-05-01T09:07:05 Bj\xC3\xB6rk \xC2\xA9 \x7F!\n");
}

TEST_F(NoticeLogTest, StatusTextsAreWrittenWhenTheyChange)
{
    log.SetStatusText("Checking Pop3 account: 0");
    log.SetStatusText("Checking Pop3 account: 0");
    log.SetStatusText("Pop3 account checked: 0");
    // A text that only grows is a new text all the same.
    log.SetStatusText("Checking Pop3 account: 01");
    log.SetStatusText("");
    EXPECT_EQ(out.written,
              "2024-05-01T09:07:05 Checking Pop3 account: 0\n"
              "2024-05-01T09:07:05 Pop3 account checked: 0\n"
              "2024-05-01T09:07:05 Checking Pop3 account: 01\n");
    EXPECT_EQ(log.StatusText(), "");
}

TEST_F(NoticeLogTest, AppendingWritesWhatWasAppended)
{
    log.SetStatusText("Next - Screen: 1");
    log.AppendStatus("PdhOpenQuery error");
    EXPECT_EQ(log.StatusText(), "Next - Screen: 1PdhOpenQuery error");
    // Notices appends through the same call.
    static_cast<Notices&>(log).AppendStatus("PdhAddCounter error");
    EXPECT_EQ(log.StatusText(), "Next - Screen: 1PdhOpenQuery errorPdhAddCounter error");
    EXPECT_EQ(out.written,
              "2024-05-01T09:07:05 Next - Screen: 1\n"
              "2024-05-01T09:07:05 PdhOpenQuery error\n"
              "2024-05-01T09:07:05 PdhAddCounter error\n");
}

TEST_F(NoticeLogTest, ATextWrittenInTheLastTenMinutesIsHeldBackWhateverCameBetween)
{
    // A missing icon at every refresh, and a mail check in between.
    for (int tick = 0; tick < 60; ++tick) {
        log.ShowMessage("Could not load or display icon a.bmp");
        log.SetStatusText("Checking Pop3 account: 0");
        log.SetStatusText("Pop3 account checked: 0");
        ticks.milliseconds += 1000;
    }
    ticks.milliseconds = RecentTexts::kHoldMilliseconds;
    clock.now.Minute = 17;
    // Ten minutes after it was written, the text goes out again, once, and
    // tells how often it came meanwhile.
    log.ShowMessage("Could not load or display icon a.bmp");
    log.ShowMessage("Could not load or display icon a.bmp");
    EXPECT_EQ(out.written,
              "2024-05-01T09:07:05 Could not load or display icon a.bmp\n"
              "2024-05-01T09:07:05 Checking Pop3 account: 0\n"
              "2024-05-01T09:07:05 Pop3 account checked: 0\n"
              "2024-05-01T09:17:05 Could not load or display icon a.bmp (held back 59 times since 2024-05-01T09:07:05)\n");
}

TEST_F(NoticeLogTest, ALineIsCutTo1024CharactersOfTheProgramsText)
{
    log.ShowMessage(std::string(1024, 'a'));
    log.ShowMessage(std::string(1 << 20, '\xE9'));
    std::string accents;
    for (int i = 0; i < 1021; ++i) accents += "\xC3\xA9";
    EXPECT_EQ(out.written, "2024-05-01T09:07:05 " + std::string(1024, 'a') + "\n2024-05-01T09:07:05 " + accents + "...\n");
}

TEST_F(NoticeLogTest, LinesStandardErrorCannotTakeAreDroppedAndTheNextOneTellsHowMany)
{
    using platform::ErrorOutput;
    out.answers = {ErrorOutput::Written, ErrorOutput::Dropped, ErrorOutput::Dropped, ErrorOutput::Written,
                   ErrorOutput::Closed};
    for (const char* text : {"one", "two", "three", "four", "five", "six"}) log.ShowMessage(text);
    EXPECT_EQ(out.written,
              "2024-05-01T09:07:05 one\n"
              "2024-05-01T09:07:05 2 lines were dropped: standard error could not take them\n"
              "2024-05-01T09:07:05 four\n");
    // Once its reader has gone, nothing is tried again.
    EXPECT_EQ(out.writes, 5);
}

TEST_F(NoticeLogTest, TheEndTellsTheCountsNotToldYetAndTheLinesDropped)
{
    {
        NoticeLog ending(out);
        out.answers = {platform::ErrorOutput::Written, platform::ErrorOutput::Dropped};
        for (int i = 0; i < 3; ++i) ending.ShowMessage("Error opening user_info.sah");
        ending.ShowMessage("Could not load or display icon a.bmp");
        clock.now.Hour = 10;
    }
    EXPECT_EQ(out.written,
              "2024-05-01T09:07:05 Error opening user_info.sah\n"
              "2024-05-01T10:07:05 1 line was dropped: standard error could not take it\n"
              "2024-05-01T10:07:05 Error opening user_info.sah (held back 2 times since 2024-05-01T09:07:05)\n");
}

TEST_F(NoticeLogTest, WhenTheListIsFullTheOldestIsForgottenAndTellsItsCount)
{
    log.ShowMessage("first");
    log.ShowMessage("first");
    for (size_t i = 1; i < RecentTexts::kCapacity; ++i) log.ShowMessage("text " + std::to_string(i));
    out.written.clear();
    log.ShowMessage("one too many");
    log.ShowMessage("first");
    EXPECT_EQ(out.written,
              "2024-05-01T09:07:05 first (held back once since 2024-05-01T09:07:05)\n"
              "2024-05-01T09:07:05 one too many\n"
              "2024-05-01T09:07:05 first\n");
}

TEST_F(NoticeLogTest, MessagesAppendedAtEveryTickStopOnceTheLineIsFull)
{
    // Two errors that take turns are never a repeat of the line before.
    for (int tick = 0; tick < 10000; ++tick) {
        log.AppendStatus("PdhGetFormattedCounterValue error");
        log.AppendStatus("pdhFormattedValue.CStatus error");
    }
    EXPECT_EQ(log.StatusText().size(), Notices::kAppendLimit);
    const std::string written = out.written;
    EXPECT_LT(std::count(written.begin(), written.end(), '\n'), 40);
    // A new status text makes room again.
    log.SetStatusText("Next - Screen: 2");
    log.AppendStatus("PdhOpenQuery error");
    EXPECT_EQ(log.StatusText(), "Next - Screen: 2PdhOpenQuery error");
}

}  // namespace
}  // namespace dotvane
