#include "app/NoticeLog.h"

#include "tests/support/FakeStandardError.h"
#include "tests/support/FakeSystemInfo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace dotvane {
namespace {

using platform::ErrorOutput;

class NoticeLogTest : public ::testing::Test {
protected:
    NoticeLogTest() { clock.now = {2024, 5, 3, 1, 9, 7, 5}; }

    // Ten minutes later, to the millisecond.
    void TenMinutesLater(int minute)
    {
        ticks.milliseconds += RecentTexts::kHoldMilliseconds;
        clock.now.Minute = minute;
    }

    test::FakeLocalClock clock;
    test::FakeTickCount ticks;
    test::FakeStandardError out;
    std::unique_ptr<NoticeLog> log = std::make_unique<NoticeLog>(out);
};

TEST_F(NoticeLogTest, EachMessageIsOneLineAfterTheLocalTime)
{
    log->ShowMessage("Could not load or display icon images\\x.bmp");
    clock.now = {2024, 12, 2, 31, 23, 59, 59};
    log->ShowError("Could not open the DriverLINX driver.");
    EXPECT_EQ(out.written,
              "2024-05-01T09:07:05 Could not load or display icon images\\x.bmp\n"
              "2024-12-31T23:59:59 Could not open the DriverLINX driver.\n");
}

TEST_F(NoticeLogTest, LineBreaksBecomeBlanksAndLatin1BecomesUtf8)
{
    log->ShowMessage("two\nlines\r\nhere");
    log->ShowMessage("Bj\xF6rk \xA9 \x7F!");
    EXPECT_EQ(out.written,
              "2024-05-01T09:07:05 two lines  here\n"
              "2024-05-01T09:07:05 Bj\xC3\xB6rk \xC2\xA9 \x7F!\n");
}

TEST_F(NoticeLogTest, AppendingWritesWhatWasAppended)
{
    log->SetStatusText("Next - Screen: 1");
    log->AppendStatus("PdhOpenQuery error");
    EXPECT_EQ(log->StatusText(), "Next - Screen: 1PdhOpenQuery error");
    // Notices appends through the same call.
    static_cast<Notices&>(*log).AppendStatus("PdhAddCounter error");
    EXPECT_EQ(log->StatusText(), "Next - Screen: 1PdhOpenQuery errorPdhAddCounter error");
    EXPECT_EQ(out.written,
              "2024-05-01T09:07:05 Next - Screen: 1\n"
              "2024-05-01T09:07:05 PdhOpenQuery error\n"
              "2024-05-01T09:07:05 PdhAddCounter error\n");
}

TEST_F(NoticeLogTest, ATextWrittenInTheLastTenMinutesIsHeldBackWhateverCameBetween)
{
    // A missing icon at every refresh, and a mail check in between.
    for (int tick = 0; tick < 60; ++tick) {
        log->ShowMessage("Could not load or display icon a.bmp");
        log->SetStatusText("Checking Pop3 account: 0");
        log->SetStatusText("Pop3 account checked: 0");
        ticks.milliseconds += 1000;
    }
    log->SetStatusText("");
    EXPECT_EQ(out.written,
              "2024-05-01T09:07:05 Could not load or display icon a.bmp\n"
              "2024-05-01T09:07:05 Checking Pop3 account: 0\n"
              "2024-05-01T09:07:05 Pop3 account checked: 0\n");
    EXPECT_EQ(log->StatusText(), "");

    // Ten minutes after it was written, the text goes out again, once, and
    // tells how often it came meanwhile.
    ticks.milliseconds = RecentTexts::kHoldMilliseconds - 1;
    log->ShowMessage("Could not load or display icon a.bmp");
    out.written.clear();
    TenMinutesLater(17);
    log->ShowMessage("Could not load or display icon a.bmp");
    log->ShowMessage("Could not load or display icon a.bmp");
    log->SetStatusText("Checking Pop3 account: 0");
    EXPECT_EQ(out.written,
              "2024-05-01T09:17:05 Could not load or display icon a.bmp (held back 60 times since 2024-05-01T09:07:05)\n"
              "2024-05-01T09:17:05 Checking Pop3 account: 0 (held back 59 times since 2024-05-01T09:07:05)\n");
}

TEST_F(NoticeLogTest, ALineLongerThan1024CharactersIsCutWithThreeFullStops)
{
    struct Case {
        size_t length;
        std::string written;
    };
    const std::vector<Case> cases{
        {1023, std::string(1023, 'a')},
        {1024, std::string(1024, 'b')},
        {1025, std::string(1021, 'c') + "..."},
        {1 << 20, std::string(1021, 'd') + "..."},
    };
    for (const Case& c : cases) {
        out.written.clear();
        log->ShowMessage(std::string(c.length, c.written[0]));
        EXPECT_EQ(out.written, "2024-05-01T09:07:05 " + c.written + "\n") << c.length;
    }
    // Each Latin-1 letter takes two bytes in UTF-8; the cut counts the
    // program's characters.
    out.written.clear();
    log->ShowMessage(std::string(5000, '\xE9'));
    std::string accents;
    for (int i = 0; i < 1021; ++i) accents += "\xC3\xA9";
    EXPECT_EQ(out.written, "2024-05-01T09:07:05 " + accents + "...\n");
}

TEST_F(NoticeLogTest, LinesStandardErrorCannotTakeAreDroppedAndTheNextOneTellsHowMany)
{
    out.answers = {ErrorOutput::Written, ErrorOutput::Dropped, ErrorOutput::Dropped, ErrorOutput::Dropped};
    for (const char* text : {"one", "two", "three", "four", "five", "six"}) log->ShowMessage(text);
    EXPECT_EQ(out.written,
              "2024-05-01T09:07:05 one\n"
              "2024-05-01T09:07:05 3 lines were dropped: standard error could not take them\n"
              "2024-05-01T09:07:05 five\n"
              "2024-05-01T09:07:05 six\n");
    // The line and the one about the dropped lines go in one write, all or
    // nothing.
    EXPECT_EQ(out.writes, 6);
    out.answers = {ErrorOutput::Dropped};
    log->ShowMessage("seven");
    log.reset();
    EXPECT_EQ(out.written.substr(out.written.rfind("05 ") + 3), "1 line was dropped: standard error could not take it\n");
}

TEST_F(NoticeLogTest, OnceStandardErrorIsClosedNothingIsWrittenAgain)
{
    out.answers = {ErrorOutput::Written, ErrorOutput::Closed};
    log->ShowMessage("one");
    log->ShowMessage("two");
    log->ShowMessage("three");
    log->SetStatusText("four");
    log.reset();
    EXPECT_EQ(out.writes, 2);
    EXPECT_EQ(out.written, "2024-05-01T09:07:05 one\n");
}

TEST_F(NoticeLogTest, TheEndTellsTheCountsNotToldYet)
{
    for (int i = 0; i < 3; ++i) log->ShowMessage("Error opening user_info.sah");
    log->ShowMessage("Could not load or display icon a.bmp");
    clock.now.Hour = 10;
    log.reset();
    EXPECT_EQ(out.written,
              "2024-05-01T09:07:05 Error opening user_info.sah\n"
              "2024-05-01T09:07:05 Could not load or display icon a.bmp\n"
              "2024-05-01T10:07:05 Error opening user_info.sah (held back 2 times since 2024-05-01T09:07:05)\n");
}

TEST_F(NoticeLogTest, MemoryIsBoundedAndATextForgottenForRoomTellsItsCount)
{
    log->ShowMessage("first");
    log->ShowMessage("first");
    for (size_t i = 1; i < RecentTexts::kCapacity; ++i) log->ShowMessage("text " + std::to_string(i));
    out.written.clear();
    // One text more than it keeps: the oldest is forgotten, with its count
    // told, and may then go out again at once.
    log->ShowMessage("one too many");
    log->ShowMessage("first");
    EXPECT_EQ(out.written,
              "2024-05-01T09:07:05 first (held back once since 2024-05-01T09:07:05)\n"
              "2024-05-01T09:07:05 one too many\n"
              "2024-05-01T09:07:05 first\n");
}

TEST_F(NoticeLogTest, MessagesAppendedAtEveryTickStopOnceTheLineIsFull)
{
    // Two errors that take turns are never a repeat of the line before.
    for (int tick = 0; tick < 10000; ++tick) {
        log->AppendStatus("PdhGetFormattedCounterValue error");
        log->AppendStatus("pdhFormattedValue.CStatus error");
    }
    EXPECT_EQ(log->StatusText().size(), Notices::kAppendLimit);
    EXPECT_LT(std::count(out.written.begin(), out.written.end(), '\n'), 40);
    // A new status text makes room again.
    log->SetStatusText("Next - Screen: 2");
    log->AppendStatus("PdhOpenQuery error");
    EXPECT_EQ(log->StatusText(), "Next - Screen: 2PdhOpenQuery error");
}

}  // namespace
}  // namespace dotvane
