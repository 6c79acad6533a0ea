#include "base/Notices.h"

#include <gtest/gtest.h>

#include <string>

namespace dotvane {
namespace {

// A status line that counts how often it was set.
class StatusLine : public Notices {
public:
    void ShowMessage(const std::string&) override {}
    void ShowError(const std::string&) override {}
    void SetStatusText(const std::string& text) override
    {
        status = text;
        ++sets;
    }
    std::string StatusText() const override { return status; }

    std::string status;
    int sets = 0;
};

TEST(NoticesTest, AppendingAddsWithoutASeparator)
{
    StatusLine line;
    line.SetStatusText("Next - Screen: 1");
    line.AppendStatus("PdhOpenQuery error");
    line.AppendStatus("PdhAddCounter error");
    EXPECT_EQ(line.status, "Next - Screen: 1PdhOpenQuery errorPdhAddCounter error");
}

TEST(NoticesTest, AMessageAppendedAtEveryTickStopsAtTheLimit)
{
    StatusLine line;
    const std::string message = "PdhCollectQueryData error";
    // Some forty minutes of ticks at 250 ms; a day's would grow the line to
    // 8 MB.
    for (int tick = 0; tick < 10000; ++tick) line.AppendStatus(message);
    ASSERT_EQ(line.status.size(), Notices::kAppendLimit);
    // The line holds the messages as appended, the last one cut at the limit.
    const size_t whole = Notices::kAppendLimit / message.size();
    EXPECT_EQ(line.status.substr(0, message.size()), message);
    EXPECT_EQ(line.status.substr(whole * message.size()),
              message.substr(0, Notices::kAppendLimit - whole * message.size()));
    // Once full, appending leaves the line alone instead of setting it again.
    EXPECT_EQ(line.sets, int(whole) + 1);
}

TEST(NoticesTest, ALongLineSetDirectlyIsNotAppendedTo)
{
    StatusLine line;
    const std::string problem(2000, 'x');
    line.SetStatusText(problem);
    line.AppendStatus("PdhAddCounter error");
    EXPECT_EQ(line.status, problem);
    EXPECT_EQ(line.sets, 1);
}

TEST(NoticesTest, ReplacingTheLineMakesRoomAgain)
{
    StatusLine line;
    for (int tick = 0; tick < 100; ++tick) line.AppendStatus("pdhFormattedValue.CStatus error");
    line.SetStatusText("Pop3 account checked: 0");
    line.AppendStatus("PdhOpenQuery error");
    EXPECT_EQ(line.status, "Pop3 account checked: 0PdhOpenQuery error");
}

}  // namespace
}  // namespace dotvane
