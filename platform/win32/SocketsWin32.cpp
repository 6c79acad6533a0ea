#include "platform/Sockets.h"
#include "platform/ThreadLookup.h"

#include "platform/win32/Win32Api.h"
#include "platform/win32/Winsock.h"

#include <climits>
#include <cstring>
#include <memory>
#include <optional>

namespace dotvane::platform {
namespace {

SOCKET AsSocket(SocketHandle socket) { return static_cast<SOCKET>(socket); }

// gethostbyname, which Winsock runs here on the lookup's own thread; its
// answer lives in storage of that thread and is copied at once.
std::optional<Ipv4Address> Resolve(const std::string& name)
{
    const hostent* host = ::gethostbyname(name.c_str());
    if (host == nullptr || host->h_addrtype != AF_INET || host->h_length != 4 || host->h_addr_list == nullptr ||
        host->h_addr_list[0] == nullptr)
        return std::nullopt;
    in_addr address{};
    memcpy(&address, host->h_addr_list[0], sizeof address);
    return ntohl(address.s_addr);
}

// Winsock sockets, non-blocking through ioctlsocket. The error codes are
// Winsock's own numbers.
class Win32Sockets : public Sockets {
public:
    std::unique_ptr<HostLookup> LookupHost(const std::string& name) override
    {
        if (!EnsureWinsock()) return std::make_unique<FailedLookup>();
        return LookupOnThread(name, Resolve);
    }

    SocketHandle OpenStream(int& error) override
    {
        if (!EnsureWinsock()) {
            error = WSANOTINITIALISED;
            return kInvalidSocket;
        }
        const SOCKET socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (socket == INVALID_SOCKET) {
            error = ::WSAGetLastError();
            return kInvalidSocket;
        }
        u_long nonBlocking = 1;
        if (::ioctlsocket(socket, FIONBIO, &nonBlocking) != 0) {
            error = ::WSAGetLastError();
            ::closesocket(socket);
            return kInvalidSocket;
        }
        error = 0;
        return static_cast<SocketHandle>(socket);
    }

    int Connect(SocketHandle socket, Ipv4Address address, uint16_t port) override
    {
        sockaddr_in peer{};
        peer.sin_family = AF_INET;
        peer.sin_port = htons(port);
        peer.sin_addr.s_addr = htonl(address);
        if (::connect(AsSocket(socket), reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0) return 0;
        return ::WSAGetLastError();
    }

    // A connection attempt has ended when the socket becomes writable
    // (connected) or shows up in the exception set (failed, with the reason
    // in SO_ERROR).
    int ConnectResult(SocketHandle socket) override
    {
        fd_set writable;
        fd_set failed;
        FD_ZERO(&writable);
        FD_ZERO(&failed);
        FD_SET(AsSocket(socket), &writable);
        FD_SET(AsSocket(socket), &failed);
        timeval now{0, 0};
        const int ready = ::select(0, nullptr, &writable, &failed, &now);
        if (ready == SOCKET_ERROR) return ::WSAGetLastError();
        if (ready == 0) return kWsaWouldBlock;
        if (FD_ISSET(AsSocket(socket), &failed)) {
            int error = 0;
            int length = sizeof error;
            if (::getsockopt(AsSocket(socket), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) != 0)
                return ::WSAGetLastError();
            return error != 0 ? error : kConnectFailed;
        }
        return 0;
    }

    int Send(SocketHandle socket, const char* data, size_t size, size_t& sent) override
    {
        sent = 0;
        const int chunk = size > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(size);
        const int n = ::send(AsSocket(socket), data, chunk, 0);
        if (n == SOCKET_ERROR) return ::WSAGetLastError();
        sent = static_cast<size_t>(n);
        return 0;
    }

    int Receive(SocketHandle socket, char* buffer, size_t size, size_t& received) override
    {
        received = 0;
        const int chunk = size > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(size);
        const int n = ::recv(AsSocket(socket), buffer, chunk, 0);
        if (n == SOCKET_ERROR) return ::WSAGetLastError();
        received = static_cast<size_t>(n);
        return 0;
    }

    void Close(SocketHandle socket) override { ::closesocket(AsSocket(socket)); }

private:
    class FailedLookup : public HostLookup {
    public:
        Status Poll(Ipv4Address&) override { return Status::Failed; }
    };
};

}  // namespace

Sockets& SystemSockets()
{
    // Never destroyed, so that connections closed while the process ends
    // still find it.
    static Win32Sockets* sockets = new Win32Sockets;
    return *sockets;
}

}  // namespace dotvane::platform
