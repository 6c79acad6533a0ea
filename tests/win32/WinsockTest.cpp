// The socket layer on Winsock: the Sockets seam itself, and a mail count and
// an external address fetched from loopback servers.
#include "platform/Sockets.h"
#include "vars/net/CheckMail.h"
#include "vars/net/ExternalIPLookup.h"
#include "vars/net/HttpClient.h"
#include "vars/net/LineSocket.h"
#include "vars/net/Pop3Client.h"

#include "tests/support/LoopbackServer.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/Variables.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <string>
#include <thread>

namespace dotvane::test {
namespace {

using namespace std::chrono_literals;
using platform::HostLookup;
using platform::kInvalidSocket;
using platform::kWsaWouldBlock;

constexpr platform::Ipv4Address kLoopback = 0x7F000001;

// Polls `done` every millisecond for up to two seconds.
template <typename Predicate>
bool Within2s(Predicate done)
{
    const auto deadline = std::chrono::steady_clock::now() + 2s;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

class SocketsTest : public ::testing::Test {
protected:
    platform::Sockets& sockets = platform::SocketsService::Current();

    platform::SocketHandle Open()
    {
        int error = -1;
        const platform::SocketHandle socket = sockets.OpenStream(error);
        EXPECT_NE(socket, kInvalidSocket);
        EXPECT_EQ(error, 0);
        return socket;
    }

    // Connects to the port and waits until the attempt has ended.
    int ConnectTo(platform::SocketHandle socket, uint16_t port)
    {
        int result = sockets.Connect(socket, kLoopback, port);
        if (result != kWsaWouldBlock) return result;
        Within2s([&] { return (result = sockets.ConnectResult(socket)) != kWsaWouldBlock; });
        return result;
    }
};

TEST_F(SocketsTest, NonBlockingConnectSendAndReceive)
{
    LoopbackServer server([](ServerConnection& c, int) {
        const auto line = c.ReadLine();
        c.Send("you said " + line.value_or("nothing") + "\r\n");
    });
    const platform::SocketHandle socket = Open();
    ASSERT_EQ(ConnectTo(socket, server.Port()), 0);

    char buffer[64];
    size_t received = 99;
    EXPECT_EQ(sockets.Receive(socket, buffer, sizeof buffer, received), kWsaWouldBlock) << "nothing has arrived";
    EXPECT_EQ(received, 0u);

    size_t sent = 0;
    ASSERT_EQ(sockets.Send(socket, "hello\r\n", 7, sent), 0);
    EXPECT_EQ(sent, 7u);

    std::string reply;
    ASSERT_TRUE(Within2s([&] {
        const int result = sockets.Receive(socket, buffer, sizeof buffer, received);
        if (result == 0 && received == 0) return true;  // closed by the server
        if (result == 0) reply.append(buffer, received);
        return result != 0 && result != kWsaWouldBlock;
    }));
    EXPECT_EQ(reply, "you said hello\r\n");
    sockets.Close(socket);
}

TEST_F(SocketsTest, RefusedConnectionHasWinsocksCode)
{
    const platform::SocketHandle socket = Open();
    EXPECT_EQ(ConnectTo(socket, UnusedLoopbackPort()), platform::kWsaConnectionRefused);
    sockets.Close(socket);
}

TEST_F(SocketsTest, ClosedSocketIsNoSocket)
{
    const platform::SocketHandle socket = Open();
    sockets.Close(socket);
    char byte = 0;
    size_t received = 0;
    EXPECT_EQ(sockets.Receive(socket, &byte, 1, received), 10038) << "Socket operation on non-socket";
}

TEST_F(SocketsTest, NameLookupRunsBesideTheCaller)
{
    const auto lookup = sockets.LookupHost("localhost");
    platform::Ipv4Address address = 0;
    HostLookup::Status status = HostLookup::Status::Pending;
    ASSERT_TRUE(Within2s([&] { return (status = lookup->Poll(address)) != HostLookup::Status::Pending; }));
    EXPECT_EQ(status, HostLookup::Status::Found);
    EXPECT_EQ(address, kLoopback);
}

// A POP3 server with one mailbox per user, answering one session per
// connection.
LoopbackServer::Script Pop3Script(std::map<std::string, std::pair<std::string, int>> boxes)
{
    return [boxes](ServerConnection& c, int) {
        c.Send("+OK POP3 ready\r\n");
        std::string user;
        bool loggedIn = false;
        while (const auto line = c.ReadLine()) {
            if (line->rfind("USER ", 0) == 0) {
                user = line->substr(5);
                c.Send("+OK\r\n");
            } else if (line->rfind("PASS ", 0) == 0) {
                loggedIn = boxes.contains(user) && boxes.at(user).first == line->substr(5);
                c.Send(loggedIn ? "+OK logged in\r\n" : "-ERR denied\r\n");
            } else if (*line == "STAT" && loggedIn) {
                c.Send("+OK " + std::to_string(boxes.at(user).second) + " 4096\r\n");
            } else if (*line == "QUIT") {
                c.Send("+OK bye\r\n");
                return;
            } else {
                c.Send("-ERR\r\n");
            }
        }
    };
}

class MailOverWinsockTest : public VariablesTest {
protected:
    void SetUp() override
    {
        MainSettings.Pop3.Enable = true;
        MailCount = {-1, -1, -1, -1, -1};
        Pop3Client.SetTimeout(5s);
    }
    void CheckMail() { check.CheckMail(); }

    RecordingHost host;
    MailCounts& MailCount = Values.MailCount;
    TPop3Client Pop3Client{host};
    MailCheck check{{MainSettings.Pop3.Enable, MainSettings.Pop3.Host, MainSettings.Pop3.UserID,
                     MainSettings.Pop3.Password},
                    MailCount, Pop3Client, host};
};

TEST_F(MailOverWinsockTest, CountsOfTwoAccountsByAddressAndByName)
{
    LoopbackServer server(Pop3Script({{"alice", {"alpha", 3}}, {"bob", {"bravo", 12}}}));
    Pop3Client.Port = server.Port();
    MainSettings.Pop3.Host[0] = "127.0.0.1";
    MainSettings.Pop3.UserID[0] = "alice";
    MainSettings.Pop3.Password[0] = "alpha";
    MainSettings.Pop3.Host[3] = "localhost";
    MainSettings.Pop3.UserID[3] = "bob";
    MainSettings.Pop3.Password[3] = "bravo";
    CheckMail();
    EXPECT_TRUE(host.messages.empty()) << host.messages.front();
    EXPECT_EQ(MailCount, (std::array<int32_t, 5>{3, -1, -1, 12, -1}));
    EXPECT_EQ(host.status, "Pop3 account checked: 3");
    EXPECT_EQ(server.Accepted(), 2);
    const auto received = server.Received();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0], "USER alice\r\nPASS alpha\r\nSTAT\r\nQUIT\r\n");
}

TEST_F(MailOverWinsockTest, WrongPasswordStopsThePass)
{
    LoopbackServer server(Pop3Script({{"alice", {"alpha", 3}}}));
    Pop3Client.Port = server.Port();
    MainSettings.Pop3.Host[1] = "127.0.0.1";
    MainSettings.Pop3.UserID[1] = "alice";
    MainSettings.Pop3.Password[1] = "wrong";
    CheckMail();
    EXPECT_EQ(host.messages, std::vector<std::string>{"Authentication failed"});
    EXPECT_EQ(MailCount[1], -1);
    EXPECT_FALSE(Pop3Client.Connected());
}

TEST_F(MailOverWinsockTest, ServerThatIsNotThereGivesWinsocksText)
{
    Pop3Client.Port = UnusedLoopbackPort();
    MainSettings.Pop3.Host[0] = "127.0.0.1";
    MainSettings.Pop3.UserID[0] = "alice";
    MainSettings.Pop3.Password[0] = "alpha";
    CheckMail();
    EXPECT_EQ(host.messages, std::vector<std::string>{"10061:Connection refused"});
    EXPECT_EQ(MailCount[0], -1);
}

class ExternalAddressOverWinsock : public VariablesTest {};

TEST_F(ExternalAddressOverWinsock, AddressIsCutFromTheServedPage)
{
    RecordingHost host;
    THttpClient HttpClient(host);
    const auto& lookupSettings = MainSettings.ExternalIP;
    ExternalIPLookup lookup({lookupSettings.Enable, lookupSettings.Update, lookupSettings.WebAddress,
                             lookupSettings.BeforeString, lookupSettings.AfterString},
                            Values.ExternalAddress, HttpClient);
    MainSettings.ExternalIP.Enable = true;
    MainSettings.ExternalIP.BeforeString = "Address: ";
    MainSettings.ExternalIP.AfterString = "</b>";
    LoopbackServer server([](ServerConnection& c, int) {
        c.ReadRequestHead();
        c.Send("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n<html><b>Address: 198.51.100.23</b></html>");
    });
    MainSettings.ExternalIP.WebAddress = "http://localhost:" + std::to_string(server.Port()) + "/ip";
    HttpClient.SetTimeout(5s);
    lookup.LookupExternalAddress();
    EXPECT_EQ(Values.ExternalAddress, "198.51.100.23");
    EXPECT_EQ(ExpandLine("$extip$"), "198.51.100.23");
    const auto received = server.Received();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].substr(0, received[0].find("\r\n")), "GET /ip HTTP/1.0");
    EXPECT_NE(received[0].find("Host: localhost\r\n"), std::string::npos);
}

}  // namespace
}  // namespace dotvane::test
