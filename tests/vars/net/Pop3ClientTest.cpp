#include "vars/net/Pop3Client.h"

#include "base/Timer.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/RecordingHost.h"
#include "tests/vars/net/FakeSockets.h"
#include "vars/net/NetError.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <map>
#include <string>
#include <thread>

namespace dotvane {
namespace {

using namespace std::chrono_literals;
using test::LoopbackServer;
using test::ServerConnection;

// A POP3 server that sends `greeting` and answers each command by its
// first word from `replies` ("-ERR" for others) until QUIT or the end.
LoopbackServer::Script Pop3Script(std::string greeting, std::map<std::string, std::string> replies)
{
    return [greeting, replies](ServerConnection& c, int) {
        c.Send(greeting);
        while (const auto line = c.ReadLine()) {
            const std::string command = line->substr(0, line->find(' '));
            const auto reply = replies.find(command);
            c.Send(reply != replies.end() ? reply->second : "-ERR unknown\r\n");
            if (command == "QUIT") return;
        }
    };
}

const std::map<std::string, std::string> kFriendly = {
    {"USER", "+OK\r\n"}, {"PASS", "+OK Logged in.\r\n"}, {"STAT", "+OK 5 2330\r\n"}, {"QUIT", "+OK Bye\r\n"}};

std::map<std::string, std::string> FriendlyWith(const std::string& command, const std::string& reply)
{
    auto replies = kFriendly;
    replies[command] = reply;
    return replies;
}

class Pop3ClientTest : public ::testing::Test {
protected:
    Pop3ClientTest()
    {
        client.Host = "127.0.0.1";
        client.UserID = "joe";
        client.Password = "secret";
        client.SetTimeout(2s);
    }

    // Connects to the port and returns the error text, "" without one.
    std::string ConnectTo(uint16_t port)
    {
        client.Port = port;
        try {
            client.Connect();
        } catch (const NetError& error) {
            return error.what();
        }
        return {};
    }

    // The commands the server received on its first connection.
    static std::string Commands(const LoopbackServer& server)
    {
        const auto received = server.Received();
        return received.empty() ? "(no connection)" : received[0];
    }

    test::RecordingHost host;
    TPop3Client client{host};
};

TEST_F(Pop3ClientTest, CountComesFromTheStatReply)
{
    LoopbackServer server(Pop3Script("+OK ready\r\n", kFriendly));
    EXPECT_EQ(ConnectTo(server.Port()), "");
    EXPECT_EQ(client.MailCount, 5);
    EXPECT_TRUE(client.Connected());
    client.Disconnect();
    EXPECT_FALSE(client.Connected());
    EXPECT_EQ(Commands(server), "USER joe\r\nPASS secret\r\nSTAT\r\nQUIT\r\n");
}

TEST_F(Pop3ClientTest, StatWithoutNumbersCountsZero)
{
    client.MailCount = 9;
    LoopbackServer server(Pop3Script("+OK ready\r\n", FriendlyWith("STAT", "+OK\r\n")));
    EXPECT_EQ(ConnectTo(server.Port()), "");
    EXPECT_EQ(client.MailCount, 0);
    client.Disconnect();
}

TEST_F(Pop3ClientTest, BadGreetingIsTheErrorAndTheClientLogsOut)
{
    LoopbackServer server(Pop3Script("-ERR too busy\r\n", kFriendly));
    EXPECT_EQ(ConnectTo(server.Port()), "-ERR too busy");
    EXPECT_FALSE(client.Connected());
    EXPECT_EQ(Commands(server), "QUIT\r\n");
}

TEST_F(Pop3ClientTest, RejectedUserOrPasswordFailsAuthentication)
{
    {
        LoopbackServer server(Pop3Script("+OK\r\n", FriendlyWith("USER", "-ERR no such user\r\n")));
        EXPECT_EQ(ConnectTo(server.Port()), "Authentication failed");
        EXPECT_EQ(Commands(server), "USER joe\r\nQUIT\r\n");
    }
    {
        LoopbackServer server(Pop3Script("+OK\r\n", FriendlyWith("PASS", "-ERR [AUTH] Authentication failed.\r\n")));
        EXPECT_EQ(ConnectTo(server.Port()), "Authentication failed");
        EXPECT_EQ(Commands(server), "USER joe\r\nPASS secret\r\nQUIT\r\n");
    }
    EXPECT_FALSE(client.Connected());
}

TEST_F(Pop3ClientTest, StatErrorIsTheReplyLine)
{
    client.MailCount = 4;
    LoopbackServer server(Pop3Script("+OK\r\n", FriendlyWith("STAT", "-ERR mailbox locked\r\n")));
    EXPECT_EQ(ConnectTo(server.Port()), "-ERR mailbox locked");
    EXPECT_EQ(client.MailCount, 4);
    EXPECT_FALSE(client.Connected());
}

TEST_F(Pop3ClientTest, QuitErrorIsRaisedAfterTheClose)
{
    LoopbackServer server(Pop3Script("+OK\r\n", FriendlyWith("QUIT", "-ERR cannot update mailbox\r\n")));
    EXPECT_EQ(ConnectTo(server.Port()), "");
    try {
        client.Disconnect();
        ADD_FAILURE() << "no error";
    } catch (const NetError& error) {
        EXPECT_STREQ(error.what(), "-ERR cannot update mailbox");
    }
    EXPECT_FALSE(client.Connected());
    EXPECT_NO_THROW(client.Disconnect());
}

TEST_F(Pop3ClientTest, ServerClosingTheConnectionMidwayFailsTheLogin)
{
    LoopbackServer server([](ServerConnection& c, int) {
        c.Send("+OK\r\n");
        c.ReadLine();
    });
    EXPECT_EQ(ConnectTo(server.Port()), "Authentication failed");
    EXPECT_FALSE(client.Connected());
}

TEST_F(Pop3ClientTest, EmptyUserOrPasswordFailsWithoutContactingTheServer)
{
    LoopbackServer server(Pop3Script("+OK\r\n", kFriendly));
    client.UserID = "";
    EXPECT_EQ(ConnectTo(server.Port()), "Authentication failed");
    client.UserID = "joe";
    client.Password = "";
    EXPECT_EQ(ConnectTo(server.Port()), "Authentication failed");
    EXPECT_EQ(server.Accepted(), 0);
}

TEST_F(Pop3ClientTest, SilentServerTimesOut)
{
    LoopbackServer server([](ServerConnection& c, int) { c.WaitForClose(); });
    client.SetTimeout(200ms);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ConnectTo(server.Port()), "Connection Timed out");
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    EXPECT_FALSE(client.Connected());
}

TEST_F(Pop3ClientTest, RefreshTimerKeepsFiringWhileTheServerIsSlow)
{
    // The refresh timer advances by the 2 ms of each wait; the server only
    // greets once it has fired three times.
    std::atomic<int> refreshes{0};
    ManualTimer refresh(10);
    refresh.SetHandler([&] { ++refreshes; });
    host.onProcessMessages = [&] { refresh.Advance(2); };
    LoopbackServer server([&](ServerConnection& c, int index) {
        const auto giveUp = std::chrono::steady_clock::now() + 5s;
        while (refreshes < 3 && std::chrono::steady_clock::now() < giveUp) std::this_thread::sleep_for(1ms);
        Pop3Script("+OK late\r\n", kFriendly)(c, index);
    });
    EXPECT_EQ(ConnectTo(server.Port()), "");
    EXPECT_GE(refreshes, 3);
    EXPECT_EQ(client.MailCount, 5);
    client.Disconnect();
}

TEST_F(Pop3ClientTest, DisconnectDuringAWaitCancelsIt)
{
    // As the window closing while a check waits for the server.
    LoopbackServer server([](ServerConnection& c, int) { c.WaitForClose(); });
    host.onProcessMessages = [&] { client.Disconnect(); };
    EXPECT_EQ(ConnectTo(server.Port()), "Connection Canceled");
    EXPECT_FALSE(client.Connected());
}

TEST_F(Pop3ClientTest, DisconnectDuringTheNameLookupCancelsIt)
{
    test::FakeSockets sockets(0, /*lookupEnds=*/false);
    client.Host = "mail.example.org";
    host.onProcessMessages = [&] { client.Disconnect(); };
    EXPECT_EQ(ConnectTo(110), "Connection Canceled");
    EXPECT_TRUE(sockets.connectedTo.empty());
}

}  // namespace
}  // namespace dotvane
