#pragma once

#include "base/ServicePoint.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace dotvane::platform {

// An IPv4 address as a number, first octet in the highest byte
// (127.0.0.1 is 0x7F000001).
using Ipv4Address = uint32_t;

// A socket of the operating system; kInvalidSocket stands for none.
using SocketHandle = std::intptr_t;
inline constexpr SocketHandle kInvalidSocket = -1;

// Error codes as Winsock numbers them. Every implementation reports its
// errors in these codes, so the texts the user sees are the same everywhere.
inline constexpr int kWsaWouldBlock = 10035;
inline constexpr int kWsaInProgress = 10036;
inline constexpr int kWsaConnectionReset = 10054;
inline constexpr int kWsaConnectionRefused = 10061;
// Not a Winsock code: a connection attempt that failed without the system
// telling why.
inline constexpr int kConnectFailed = -1;

// A name lookup running beside the program (WSAAsyncGetHostByName on
// Windows). Destroying it abandons the lookup.
class HostLookup {
public:
    enum class Status { Pending, Found, Failed };
    virtual ~HostLookup() = default;
    // Whether the lookup has ended; on Found, `address` receives the first
    // IPv4 address of the name.
    virtual Status Poll(Ipv4Address& address) = 0;
};

// Non-blocking TCP sockets in the shape of Winsock (socket, ioctlsocket
// with FIONBIO, connect, select, send, recv, closesocket). No call waits:
// the caller polls and decides how long to go on. Results are 0 for success
// or an error code as above.
class Sockets {
public:
    virtual ~Sockets() = default;

    virtual std::unique_ptr<HostLookup> LookupHost(const std::string& name) = 0;
    // A new non-blocking stream socket, or kInvalidSocket with `error` set.
    virtual SocketHandle OpenStream(int& error) = 0;
    // Starts connecting: 0 when connected at once, kWsaWouldBlock while the
    // attempt goes on, another code when it failed at once.
    virtual int Connect(SocketHandle socket, Ipv4Address address, uint16_t port) = 0;
    // The state of an attempt begun by Connect: kWsaWouldBlock while it goes
    // on, 0 once connected, the error code (or kConnectFailed) when it failed.
    virtual int ConnectResult(SocketHandle socket) = 0;
    // Sends up to `size` bytes and sets `sent`; kWsaWouldBlock when the
    // system cannot take any now.
    virtual int Send(SocketHandle socket, const char* data, size_t size, size_t& sent) = 0;
    // Receives up to `size` bytes and sets `received` (0 when the peer has
    // closed the connection); kWsaWouldBlock when nothing has arrived.
    virtual int Receive(SocketHandle socket, char* buffer, size_t size, size_t& received) = 0;
    virtual void Close(SocketHandle socket) = 0;
};

// The operating system's sockets; lives until the process ends.
Sockets& SystemSockets();
// Where the program finds it: the system's own, or a stand-in a test
// installs.
using SocketsService = ServicePoint<Sockets, SystemSockets>;

}  // namespace dotvane::platform
