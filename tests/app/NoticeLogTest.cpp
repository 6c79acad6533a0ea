#include "app/NoticeLog.h"

#include "tests/support/FakeSystemInfo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace dotvane {
namespace {

class NoticeLogTest : public ::testing::Test {
protected:
    NoticeLogTest() { clock.now = {2024, 5, 3, 1, 9, 7, 5}; }

    test::FakeLocalClock clock;
    std::ostringstream out;
    NoticeLog log{out};
};

TEST_F(NoticeLogTest, EachMessageIsOneLineAfterTheLocalTime)
{
    log.ShowMessage("Could not load or display icon images\\x.bmp");
    clock.now = {2024, 12, 2, 31, 23, 59, 59};
    log.ShowError("Could not open the DriverLINX driver.");
    EXPECT_EQ(out.str(),
              "2024-05-01T09:07:05 Could not load or display icon images\\x.bmp\n"
              "2024-12-31T23:59:59 Could not open the DriverLINX driver.\n");
}

TEST_F(NoticeLogTest, LineBreaksBecomeBlanksAndLatin1BecomesUtf8)
{
    log.ShowMessage("two\nlines\r\nhere");
    log.ShowMessage("Bj\xF6rk \xA9 \x7F!");
    EXPECT_EQ(out.str(),
              "2024-05-01T09:07:05 two lines  here\n"
              "2024-05-01T09:07:05 Bj\xC3\xB6rk \xC2\xA9 \x7F!\n");
}

TEST_F(NoticeLogTest, StatusTextsAreWrittenWhenTheyChange)
{
    log.SetStatusText("Checking Pop3 account: 0");
    log.SetStatusText("Checking Pop3 account: 0");
    log.SetStatusText("Pop3 account checked: 0");
    log.SetStatusText("Checking Pop3 account: 0");
    // A text that only grows is a new text all the same.
    log.SetStatusText("Checking Pop3 account: 01");
    log.SetStatusText("");
    EXPECT_EQ(out.str(),
              "2024-05-01T09:07:05 Checking Pop3 account: 0\n"
              "2024-05-01T09:07:05 Pop3 account checked: 0\n"
              "2024-05-01T09:07:05 Checking Pop3 account: 0\n"
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
    EXPECT_EQ(out.str(),
              "2024-05-01T09:07:05 Next - Screen: 1\n"
              "2024-05-01T09:07:05 PdhOpenQuery error\n"
              "2024-05-01T09:07:05 PdhAddCounter error\n");
}

TEST_F(NoticeLogTest, ARepeatOfTheLastLineIsNotWrittenAgain)
{
    for (int tick = 0; tick < 5; ++tick) log.ShowMessage("Could not load or display icon a.bmp");
    for (int tick = 0; tick < 5; ++tick) log.AppendStatus("PdhCollectQueryData error");
    log.ShowMessage("Could not load or display icon a.bmp");
    log.ShowMessage("Error opening user_info.sah");
    log.ShowMessage("Could not load or display icon a.bmp");
    log.ShowMessage("");
    EXPECT_EQ(out.str(),
              "2024-05-01T09:07:05 Could not load or display icon a.bmp\n"
              "2024-05-01T09:07:05 PdhCollectQueryData error\n"
              "2024-05-01T09:07:05 Could not load or display icon a.bmp\n"
              "2024-05-01T09:07:05 Error opening user_info.sah\n"
              "2024-05-01T09:07:05 Could not load or display icon a.bmp\n");
}

TEST_F(NoticeLogTest, MessagesAppendedAtEveryTickStopOnceTheLineIsFull)
{
    // Two errors that take turns are never a repeat of the line before.
    for (int tick = 0; tick < 10000; ++tick) {
        log.AppendStatus("PdhGetFormattedCounterValue error");
        log.AppendStatus("pdhFormattedValue.CStatus error");
    }
    EXPECT_EQ(log.StatusText().size(), Notices::kAppendLimit);
    const std::string written = out.str();
    EXPECT_LT(std::count(written.begin(), written.end(), '\n'), 40);
    // A new status text makes room again.
    log.SetStatusText("Next - Screen: 2");
    log.AppendStatus("PdhOpenQuery error");
    EXPECT_EQ(log.StatusText(), "Next - Screen: 2PdhOpenQuery error");
}

}  // namespace
}  // namespace dotvane
