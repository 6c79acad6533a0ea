#include "vars/net/LineSocket.h"

#include "tests/support/LoopbackServer.h"
#include "tests/support/RecordingHost.h"
#include "tests/vars/net/FakeSockets.h"
#include "vars/net/NetError.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <string>
#include <thread>
#include <vector>

namespace dotvane {
namespace {

using namespace std::chrono_literals;
using test::LoopbackServer;
using test::ServerConnection;

// The text of the NetError that `action` raises; "" when it raises none.
template <typename Action>
std::string ErrorOf(Action action)
{
    try {
        action();
    } catch (const NetError& error) {
        return error.what();
    }
    return {};
}

class LineSocketTest : public ::testing::Test {
protected:
    LineSocketTest() { socket.SetTimeout(2s); }

    test::RecordingHost host;
    LineSocket socket{host};
};

TEST_F(LineSocketTest, ReadsLinesWithTheirLineEndsUntilThePeerCloses)
{
    LoopbackServer server([](ServerConnection& c, int) { c.Send("+OK hello\r\nsecond\nthird without end"); });
    socket.Connect("127.0.0.1", server.Port());
    EXPECT_TRUE(socket.Connected());
    EXPECT_EQ(socket.ReadLine(), "+OK hello\r\n");
    EXPECT_EQ(socket.ReadLine(), "second\n");
    EXPECT_EQ(socket.ReadLine(), "");
    EXPECT_EQ(socket.ReadLine(), "");
    socket.Close();
    EXPECT_FALSE(socket.Connected());
}

TEST_F(LineSocketTest, TransactionSendsTheLineWithCrLfAndReadsTheReply)
{
    LoopbackServer server([](ServerConnection& c, int) {
        const auto line = c.ReadLine();
        c.Send(line == "STAT" ? "+OK 1 2\r\n" : "-ERR\r\n");
    });
    socket.Connect("127.0.0.1", server.Port());
    EXPECT_EQ(socket.Transaction("STAT"), "+OK 1 2\r\n");
    EXPECT_EQ(socket.ReadLine(), "");
    socket.Close();
    ASSERT_EQ(server.Received().size(), 1u);
    EXPECT_EQ(server.Received()[0], "STAT\r\n");
}

TEST_F(LineSocketTest, LooksUpAHostName)
{
    LoopbackServer server([](ServerConnection& c, int) { c.Send("hi\r\n"); });
    socket.Connect("localhost", server.Port());
    EXPECT_EQ(socket.ReadLine(), "hi\r\n");
}

TEST_F(LineSocketTest, RefusedConnectionGivesTheWinsockText)
{
    EXPECT_EQ(ErrorOf([&] { socket.Connect("127.0.0.1", test::UnusedLoopbackPort()); }), "10061:Connection refused");
    EXPECT_FALSE(socket.Connected());
}

TEST_F(LineSocketTest, UnknownHostFailsTheLookup)
{
    EXPECT_EQ(ErrorOf([&] { socket.Connect("no-such-host.invalid", 110); }), "Host Lookup Failed");
    EXPECT_FALSE(socket.Connected());
}

TEST_F(LineSocketTest, EmptyOrNullAddressIsRefused)
{
    EXPECT_EQ(ErrorOf([&] { socket.Connect("", 110); }), "Null Remote Address");
    EXPECT_EQ(ErrorOf([&] { socket.Connect("0.0.0.0", 110); }), "Null Remote Address");
}

TEST_F(LineSocketTest, SecondConnectIsRefusedWhileConnected)
{
    LoopbackServer server([](ServerConnection& c, int) { c.WaitForClose(); });
    socket.Connect("127.0.0.1", server.Port());
    EXPECT_EQ(ErrorOf([&] { socket.Connect("127.0.0.1", server.Port()); }), "Already connected");
    EXPECT_TRUE(socket.Connected());
}

TEST_F(LineSocketTest, SilentServerTimesOutAndTheConnectionIsClosed)
{
    std::promise<bool> closedByClient;
    LoopbackServer server([&](ServerConnection& c, int) { closedByClient.set_value(c.WaitForClose(10s)); });
    socket.SetTimeout(300ms);
    socket.Connect("127.0.0.1", server.Port());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ErrorOf([&] { socket.ReadLine(); }), "Connection Timed out");
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, 300ms);
    EXPECT_LT(waited, 5s);
    EXPECT_FALSE(socket.Connected());
    // The wait kept the window's events flowing.
    EXPECT_GT(host.processed, 10);
    // The server sees the connection closed.
    auto closed = closedByClient.get_future();
    ASSERT_EQ(closed.wait_for(5s), std::future_status::ready);
    EXPECT_TRUE(closed.get());
}

TEST_F(LineSocketTest, AnswerThatCameWhileAnEventHeldTheWaitIsStillRead)
{
    // The answer arrives while an event handled during the wait (a message
    // box, say) runs past the time-out; the wait takes it instead of failing.
    class LateAnswer : public test::FakeSockets {
    public:
        LateAnswer() : FakeSockets(0) {}
        int Receive(platform::SocketHandle, char* buffer, size_t size, size_t& received) override
        {
            received = 0;
            if (!arrived) return platform::kWsaWouldBlock;
            received = std::min(size, pending.size());
            pending.copy(buffer, received);
            pending.erase(0, received);
            return 0;
        }
        bool arrived = false;
        std::string pending = "+OK\r\n";
    } sockets;
    socket.SetTimeout(20ms);
    socket.Connect("192.0.2.7", 110);
    host.onProcessMessages = [&] {
        std::this_thread::sleep_for(60ms);
        sockets.arrived = true;
    };
    EXPECT_EQ(ErrorOf([&] { EXPECT_EQ(socket.ReadLine(), "+OK\r\n"); }), "");
    // Closed while the fake sockets still exist.
    socket.Close();
}

TEST_F(LineSocketTest, LineFillingTheBufferIsRead)
{
    const std::string line = std::string(kReceiveBufferSize - 1, 'a') + "\n";
    LoopbackServer server([&](ServerConnection& c, int) { c.Send(line + "next\r\n"); });
    socket.Connect("127.0.0.1", server.Port());
    EXPECT_EQ(socket.ReadLine(), line);
    EXPECT_EQ(socket.ReadLine(), "next\r\n");
}

TEST_F(LineSocketTest, MegabyteLineEndsTheConnectionWithAnError)
{
    LoopbackServer server([](ServerConnection& c, int) {
        c.Send("+OK " + std::string(1024 * 1024, 'x') + "\r\n");
        c.WaitForClose();
    });
    socket.Connect("127.0.0.1", server.Port());
    EXPECT_EQ(ErrorOf([&] { socket.ReadLine(); }), "Reply line too long");
    EXPECT_FALSE(socket.Connected());
}

TEST_F(LineSocketTest, ReadToCloseGivesTheRestAfterTheLines)
{
    LoopbackServer server([](ServerConnection& c, int) { c.Send("head\r\n\r\nbody line\nand more"); });
    socket.Connect("127.0.0.1", server.Port());
    EXPECT_EQ(socket.ReadLine(), "head\r\n");
    EXPECT_EQ(socket.ReadLine(), "\r\n");
    EXPECT_EQ(socket.ReadToClose(1000), "body line\nand more");
}

TEST_F(LineSocketTest, ReadToCloseStopsBeyondTheLimit)
{
    LoopbackServer server([](ServerConnection& c, int) {
        c.Send(std::string(5000, 'b'));
        c.WaitForClose();
    });
    socket.Connect("127.0.0.1", server.Port());
    EXPECT_EQ(ErrorOf([&] { socket.ReadToClose(4096); }), "Reply too long");
    EXPECT_FALSE(socket.Connected());
}

TEST_F(LineSocketTest, CancelFromAnEventDuringTheWaitEndsIt)
{
    LoopbackServer server([](ServerConnection& c, int) { c.WaitForClose(); });
    socket.Connect("127.0.0.1", server.Port());
    std::string nestedError;
    host.onProcessMessages = [&] {
        if (host.processed < 3) return;
        // Another use of the busy connection is refused; a cancel is taken.
        nestedError = ErrorOf([&] { socket.WriteLine("NOOP"); });
        socket.Cancel();
    };
    EXPECT_EQ(ErrorOf([&] { socket.ReadLine(); }), "Connection Canceled");
    EXPECT_EQ(nestedError, "10037:Operation already in progress");
    EXPECT_FALSE(socket.Connected());
}

TEST_F(LineSocketTest, DottedAddressIsUsedWithoutLookup)
{
    test::FakeSockets sockets(platform::kConnectFailed);
    EXPECT_EQ(ErrorOf([&] { socket.Connect("192.0.2.7", 110); }), "Connection Failed");
    EXPECT_TRUE(sockets.lookedUp.empty());
    ASSERT_EQ(sockets.connectedTo.size(), 1u);
    EXPECT_EQ(sockets.connectedTo[0], 0xC0000207u);
    EXPECT_EQ(sockets.closed, std::vector<platform::SocketHandle>{7});
}

TEST_F(LineSocketTest, NameIsLookedUpAndErrorCodesBecomeTexts)
{
    test::FakeSockets sockets(10065);
    EXPECT_EQ(ErrorOf([&] { socket.Connect("mail.example.org", 110); }), "10065:No route to Host");
    EXPECT_EQ(sockets.lookedUp, std::vector<std::string>{"mail.example.org"});
    EXPECT_EQ(sockets.connectedTo, std::vector<platform::Ipv4Address>{0x0A000001});
    EXPECT_FALSE(socket.Connected());
}

TEST_F(LineSocketTest, CancelDuringTheNameLookup)
{
    test::FakeSockets sockets(0, /*lookupEnds=*/false);
    host.onProcessMessages = [&] { socket.Cancel(); };
    EXPECT_EQ(ErrorOf([&] { socket.Connect("mail.example.org", 110); }), "Connection Canceled");
    EXPECT_TRUE(sockets.connectedTo.empty());
}

TEST_F(LineSocketTest, UnknownCodeOfAFailedConnect)
{
    test::FakeSockets sockets(9999);
    EXPECT_EQ(ErrorOf([&] { socket.Connect("192.0.2.7", 110); }), "Unknown Error No. 9999");
}

}  // namespace
}  // namespace dotvane
