#include "vars/net/CheckMail.h"

#include "config/Settings.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/RecordingHost.h"
#include "tests/vars/net/DovecotServer.h"
#include "vars/net/Pop3Client.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace dotvane {
namespace {

using namespace std::chrono_literals;

// The mail check of the main window: its settings, the counts it fills,
// its client and what it reports.
class MailChecking {
protected:
    void CheckMail() { check.CheckMail(); }
    bool MailCheckBusy() const { return check.MailCheckBusy(); }

    test::RecordingHost host;
    TMainSettings MainSettings;
    std::array<int32_t, 5> MailCount{};
    TPop3Client Pop3Client{host};
    MailCheck check{{MainSettings.Pop3.Enable, MainSettings.Pop3.Host, MainSettings.Pop3.UserID,
                     MainSettings.Pop3.Password},
                    MailCount, Pop3Client, host};
};

// Mail checks against a real POP3 server.
class CheckMailTest : public ::testing::Test, protected MailChecking {
protected:
    void SetUp() override
    {
        dovecot = std::make_unique<test::DovecotServer>(std::vector<test::DovecotServer::Account>{
            {"alice", "alpha", 0}, {"bob", "bravo", 5}, {"carol", "charlie", 2}, {"dave", "delta", 1}, {"erin", "echo", 3}});
        MainSettings.Pop3.Enable = true;
        MailCount = {-1, -1, -1, -1, -1};
        Pop3Client.Port = dovecot->Port();
        Pop3Client.SetTimeout(10s);
    }

    void TearDown() override { host.onProcessMessages = nullptr; }

    void Configure(size_t account, const std::string& user, const std::string& password)
    {
        MainSettings.Pop3.Host[account] = "127.0.0.1";
        MainSettings.Pop3.UserID[account] = user;
        MainSettings.Pop3.Password[account] = password;
    }

    std::unique_ptr<test::DovecotServer> dovecot;
};

TEST_F(CheckMailTest, CountsTheMessagesOfEachAccount)
{
    Configure(0, "alice", "alpha");
    Configure(1, "bob", "bravo");
    CheckMail();
    EXPECT_EQ(host.messages, std::vector<std::string>{}) << dovecot->Log();
    EXPECT_EQ(MailCount, (std::array<int32_t, 5>{0, 5, -1, -1, -1}));
    EXPECT_FALSE(MailCheckBusy());
    EXPECT_FALSE(Pop3Client.Connected());
    EXPECT_EQ(host.status, "Pop3 account checked: 1");
}

TEST_F(CheckMailTest, WrongPasswordEndsThePassAndTheNextTickTriesAgain)
{
    Configure(0, "bob", "bravo");
    Configure(1, "carol", "wrong");
    Configure(2, "dave", "delta");
    Configure(3, "erin", "echo");
    Configure(4, "alice", "alpha");
    CheckMail();
    EXPECT_EQ(host.messages, std::vector<std::string>{"Authentication failed"});
    EXPECT_EQ(MailCount, (std::array<int32_t, 5>{5, -1, -1, -1, -1}));
    EXPECT_FALSE(MailCheckBusy());
    EXPECT_FALSE(Pop3Client.Connected());
    EXPECT_EQ(host.status, "Checking Pop3 account: 1");

    MainSettings.Pop3.Password[1] = "charlie";
    CheckMail();
    EXPECT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(MailCount, (std::array<int32_t, 5>{5, 2, 1, 3, 0}));
}

TEST_F(CheckMailTest, SkipsAccountsWithoutHostAndReportsProgress)
{
    Configure(0, "bob", "bravo");
    Configure(3, "erin", "echo");
    CheckMail();
    EXPECT_EQ(host.statusHistory, (std::vector<std::string>{"Checking Pop3 account: 0", "Pop3 account checked: 0",
                                                            "Checking Pop3 account: 3", "Pop3 account checked: 3"}));
    EXPECT_EQ(MailCount, (std::array<int32_t, 5>{5, -1, -1, 3, -1}));
}

TEST_F(CheckMailTest, TicksDuringAPassReturnAtOnce)
{
    Configure(0, "bob", "bravo");
    Configure(2, "carol", "charlie");
    int nested = 0;
    host.onProcessMessages = [&] {
        ++nested;
        CheckMail();
    };
    CheckMail();
    EXPECT_GT(nested, 0);
    EXPECT_EQ(host.messages, std::vector<std::string>{});
    EXPECT_EQ(host.statusHistory.size(), 4u);
    EXPECT_EQ(MailCount, (std::array<int32_t, 5>{5, -1, 2, -1, -1}));
}

TEST_F(CheckMailTest, LeftOverConnectionIsOnlyClosedOnThatTick)
{
    Pop3Client.Host = "127.0.0.1";
    Pop3Client.UserID = "bob";
    Pop3Client.Password = "bravo";
    Pop3Client.Connect();
    Configure(0, "carol", "charlie");

    CheckMail();
    EXPECT_FALSE(Pop3Client.Connected());
    EXPECT_TRUE(host.statusHistory.empty());
    EXPECT_EQ(MailCount[0], -1);

    CheckMail();
    EXPECT_EQ(MailCount[0], 2);
}

TEST_F(CheckMailTest, EmptyUserNameEndsThePass)
{
    Configure(0, "bob", "bravo");
    Configure(1, "", "");
    Configure(2, "carol", "charlie");
    CheckMail();
    EXPECT_EQ(host.messages, std::vector<std::string>{"Authentication failed"});
    EXPECT_EQ(MailCount, (std::array<int32_t, 5>{5, -1, -1, -1, -1}));
}

// Without a server behind it: checks that must not reach any.
class CheckMailOffTest : public ::testing::Test, protected MailChecking {};

TEST_F(CheckMailOffTest, DisabledCheckContactsNothing)
{
    test::LoopbackServer server([](test::ServerConnection& c, int) { c.Send("+OK\r\n"); });
    MainSettings.Pop3.Enable = false;
    MainSettings.Pop3.Host[0] = "127.0.0.1";
    MainSettings.Pop3.UserID[0] = "bob";
    MainSettings.Pop3.Password[0] = "bravo";
    Pop3Client.Port = server.Port();
    MailCount = {4, 4, 4, 4, 4};
    CheckMail();
    EXPECT_EQ(server.Accepted(), 0);
    EXPECT_TRUE(host.statusHistory.empty());
    EXPECT_EQ(MailCount, (std::array<int32_t, 5>{4, 4, 4, 4, 4}));
}

TEST_F(CheckMailOffTest, UnreachableServerIsShownOnce)
{
    MainSettings.Pop3.Enable = true;
    MainSettings.Pop3.Host[0] = "127.0.0.1";
    MainSettings.Pop3.UserID[0] = "bob";
    MainSettings.Pop3.Password[0] = "bravo";
    Pop3Client.Port = test::UnusedLoopbackPort();
    CheckMail();
    EXPECT_EQ(host.messages, std::vector<std::string>{"10061:Connection refused"});
    EXPECT_FALSE(MailCheckBusy());
}

}  // namespace
}  // namespace dotvane
