#include "app/NoticeFilter.h"

#include "tests/support/FakeSystemInfo.h"
#include "tests/support/RecordingHost.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace dotvane {
namespace {

TEST(NoticeFilterTest, ABoxShownInTheLastTenMinutesIsHeldBackButTheStatusLineAlwaysChanges)
{
    test::FakeLocalClock clock;
    clock.now = {2024, 5, 3, 1, 9, 7, 5};
    test::FakeTickCount ticks;
    test::RecordingHost host;
    NoticeFilter notices(host);
    for (int tick = 0; tick < 5; ++tick) {
        notices.ShowMessage("Could not load or display icon a.bmp");
        notices.SetStatusText("Checking Pop3 account: 0");
        notices.ShowError("Connection Timed out");
        notices.SetStatusText("Pop3 account checked: 0");
        ticks.milliseconds += 60000;
    }
    EXPECT_EQ(host.messages, std::vector<std::string>{"Could not load or display icon a.bmp"});
    EXPECT_EQ(host.errors, std::vector<std::string>{"Connection Timed out"});
    EXPECT_EQ(host.statusHistory.size(), 10u);
    EXPECT_EQ(host.StatusText(), "Pop3 account checked: 0");

    ticks.milliseconds = RecentTexts::kHoldMilliseconds;
    clock.now.Minute = 17;
    notices.ShowMessage("Could not load or display icon a.bmp");
    notices.ShowMessage("Could not load or display icon a.bmp");
    EXPECT_EQ(host.messages.back(),
              "Could not load or display icon a.bmp (held back 4 times since 2024-05-01T09:07:05)");
    EXPECT_EQ(host.messages.size(), 2u);
}

TEST(NoticeFilterTest, EveryTextIsCutTo1024Characters)
{
    test::RecordingHost host;
    NoticeFilter notices(host);
    struct Case {
        std::function<void(const std::string&)> tell;
        std::function<std::string()> told;
    };
    const std::vector<Case> cases{
        {[&](const std::string& text) { notices.ShowMessage(text); }, [&] { return host.messages.at(0); }},
        {[&](const std::string& text) { notices.ShowError(text); }, [&] { return host.errors.at(0); }},
        {[&](const std::string& text) { notices.SetStatusText(text); }, [&] { return host.StatusText(); }},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        const std::string huge = "Could not load or display icon " + std::string(1 << 20, char('a' + i));
        cases[i].tell(huge);
        EXPECT_EQ(cases[i].told(), huge.substr(0, 1021) + "...") << i;
    }
}

}  // namespace
}  // namespace dotvane
