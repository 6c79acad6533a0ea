#include "platform/linux/SocketsLinux.h"

#include "tests/support/LoopbackServer.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <thread>

namespace dotvane::platform {
namespace {

using namespace std::chrono_literals;

TEST(WinsockCodeTest, MapsLinuxErrorNumbers)
{
    const std::pair<int, int> cases[] = {
        {0, 0},           {EINTR, 10004},        {EBADF, 10009},         {EACCES, 10013},      {EINVAL, 10022},
        {EMFILE, 10024},  {EAGAIN, 10035},       {EWOULDBLOCK, 10035},   {EINPROGRESS, 10036}, {EALREADY, 10037},
        {ENOTSOCK, 10038}, {EMSGSIZE, 10040},    {EAFNOSUPPORT, 10047},  {EADDRINUSE, 10048},  {EADDRNOTAVAIL, 10049},
        {ENETDOWN, 10050}, {ENETUNREACH, 10051}, {ECONNABORTED, 10053},  {ECONNRESET, 10054},  {EPIPE, 10054},
        {ENOBUFS, 10055}, {EISCONN, 10056},      {ENOTCONN, 10057},      {ETIMEDOUT, 10060},   {ECONNREFUSED, 10061},
        {EHOSTDOWN, 10064}, {EHOSTUNREACH, 10065}, {EDQUOT, 10069},      {ESTALE, 10070},
        // Without a Winsock counterpart the number stays as it is.
        {ENOENT, ENOENT}, {ENOMEM, ENOMEM},
    };
    for (const auto& [errnoValue, winsock] : cases) EXPECT_EQ(WinsockCode(errnoValue), winsock) << "errno " << errnoValue;
}

// Polls a lookup until it ends (bounded, so a broken lookup fails the test).
HostLookup::Status Finish(HostLookup& lookup, Ipv4Address& address)
{
    const auto giveUp = std::chrono::steady_clock::now() + 10s;
    HostLookup::Status status = lookup.Poll(address);
    while (status == HostLookup::Status::Pending && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(1ms);
        status = lookup.Poll(address);
    }
    return status;
}

TEST(LinuxSocketsTest, LooksNamesUp)
{
    LinuxSockets sockets;
    Ipv4Address address = 0;
    EXPECT_EQ(Finish(*sockets.LookupHost("localhost"), address), HostLookup::Status::Found);
    EXPECT_EQ(address, 0x7F000001u);
    EXPECT_EQ(Finish(*sockets.LookupHost("no-such-host.invalid"), address), HostLookup::Status::Failed);
}

TEST(LinuxSocketsTest, AbandonedLookupIsHarmless)
{
    LinuxSockets sockets;
    for (int i = 0; i < 8; ++i) (void)sockets.LookupHost("localhost");
    Ipv4Address address = 0;
    EXPECT_EQ(Finish(*sockets.LookupHost("localhost"), address), HostLookup::Status::Found);
}

// Polls a connection attempt until it ends.
int FinishConnect(Sockets& sockets, SocketHandle socket, int result)
{
    const auto giveUp = std::chrono::steady_clock::now() + 10s;
    while (result == kWsaWouldBlock && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(1ms);
        result = sockets.ConnectResult(socket);
    }
    return result;
}

TEST(LinuxSocketsTest, RefusedConnectionReportsTheWinsockCode)
{
    LinuxSockets sockets;
    int error = -1;
    const SocketHandle socket = sockets.OpenStream(error);
    ASSERT_NE(socket, kInvalidSocket);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(FinishConnect(sockets, socket, sockets.Connect(socket, 0x7F000001, test::UnusedLoopbackPort())),
              kWsaConnectionRefused);
    sockets.Close(socket);
}

TEST(LinuxSocketsTest, ExchangesBytesWithoutBlocking)
{
    test::LoopbackServer server([](test::ServerConnection& c, int) {
        if (c.ReadLine() == "ping") c.Send("pong\n");
    });
    LinuxSockets sockets;
    int error = 0;
    const SocketHandle socket = sockets.OpenStream(error);
    ASSERT_EQ(FinishConnect(sockets, socket, sockets.Connect(socket, 0x7F000001, server.Port())), 0);

    char buffer[16];
    size_t count = 99;
    EXPECT_EQ(sockets.Receive(socket, buffer, sizeof buffer, count), kWsaWouldBlock);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(sockets.Send(socket, "ping\n", 5, count), 0);
    EXPECT_EQ(count, 5u);

    std::string received;
    const auto giveUp = std::chrono::steady_clock::now() + 10s;
    for (;;) {
        const int result = sockets.Receive(socket, buffer, sizeof buffer, count);
        if (result == 0 && count == 0) break;  // closed by the server
        if (result == 0) received.append(buffer, count);
        ASSERT_TRUE(result == 0 || result == kWsaWouldBlock) << result;
        ASSERT_LT(std::chrono::steady_clock::now(), giveUp);
        std::this_thread::sleep_for(1ms);
    }
    EXPECT_EQ(received, "pong\n");
    sockets.Close(socket);
}

}  // namespace
}  // namespace dotvane::platform
