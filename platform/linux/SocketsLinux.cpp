#include "platform/linux/SocketsLinux.h"

#include "platform/ThreadLookup.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

namespace dotvane::platform {

int WinsockCode(int errnoValue)
{
    switch (errnoValue) {
    case 0: return 0;
    case EINTR: return 10004;
    case EBADF: return 10009;
    case EACCES: return 10013;
    case EFAULT: return 10014;
    case EINVAL: return 10022;
    case EMFILE: return 10024;
    case EAGAIN: return kWsaWouldBlock;  // EWOULDBLOCK is the same number on Linux
    case EINPROGRESS: return kWsaInProgress;
    case EALREADY: return 10037;
    case ENOTSOCK: return 10038;
    case EDESTADDRREQ: return 10039;
    case EMSGSIZE: return 10040;
    case EPROTOTYPE: return 10041;
    case ENOPROTOOPT: return 10042;
    case EPROTONOSUPPORT: return 10043;
    case ESOCKTNOSUPPORT: return 10044;
    case EOPNOTSUPP: return 10045;
    case EPFNOSUPPORT: return 10046;
    case EAFNOSUPPORT: return 10047;
    case EADDRINUSE: return 10048;
    case EADDRNOTAVAIL: return 10049;
    case ENETDOWN: return 10050;
    case ENETUNREACH: return 10051;
    case ENETRESET: return 10052;
    case ECONNABORTED: return 10053;
    // Writing to a connection the peer has reset: Winsock reports the reset.
    case EPIPE:
    case ECONNRESET: return kWsaConnectionReset;
    case ENOBUFS: return 10055;
    case EISCONN: return 10056;
    case ENOTCONN: return 10057;
    case ESHUTDOWN: return 10058;
    case ETOOMANYREFS: return 10059;
    case ETIMEDOUT: return 10060;
    case ECONNREFUSED: return kWsaConnectionRefused;
    case ELOOP: return 10062;
    case ENAMETOOLONG: return 10063;
    case EHOSTDOWN: return 10064;
    case EHOSTUNREACH: return 10065;
    case ENOTEMPTY: return 10066;
    case EUSERS: return 10068;
    case EDQUOT: return 10069;
    case ESTALE: return 10070;
    case EREMOTE: return 10071;
    default: return errnoValue;
    }
}

namespace {

// getaddrinfo for IPv4 stream addresses; the first answer counts.
std::optional<Ipv4Address> Resolve(const std::string& name)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    std::optional<Ipv4Address> address;
    if (getaddrinfo(name.c_str(), nullptr, &hints, &list) == 0 && list != nullptr)
        address = ntohl(reinterpret_cast<const sockaddr_in*>(list->ai_addr)->sin_addr.s_addr);
    if (list != nullptr) freeaddrinfo(list);
    return address;
}

int LastError() { return WinsockCode(errno); }

}  // namespace

std::unique_ptr<HostLookup> LinuxSockets::LookupHost(const std::string& name)
{
    return LookupOnThread(name, Resolve);
}

SocketHandle LinuxSockets::OpenStream(int& error)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    error = fd < 0 ? LastError() : 0;
    return fd < 0 ? kInvalidSocket : fd;
}

int LinuxSockets::Connect(SocketHandle socket, Ipv4Address address, uint16_t port)
{
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(port);
    peer.sin_addr.s_addr = htonl(address);
    if (::connect(static_cast<int>(socket), reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0) return 0;
    // A non-blocking connect that has begun is "would block" in Winsock.
    return errno == EINPROGRESS ? kWsaWouldBlock : LastError();
}

int LinuxSockets::ConnectResult(SocketHandle socket)
{
    pollfd entry{static_cast<int>(socket), POLLOUT, 0};
    const int ready = ::poll(&entry, 1, 0);
    if (ready < 0) return errno == EINTR ? kWsaWouldBlock : LastError();
    if (ready == 0) return kWsaWouldBlock;
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(static_cast<int>(socket), SOL_SOCKET, SO_ERROR, &error, &length) != 0) return LastError();
    if (error != 0) return WinsockCode(error);
    if ((entry.revents & POLLERR) != 0) return kConnectFailed;
    return 0;
}

int LinuxSockets::Send(SocketHandle socket, const char* data, size_t size, size_t& sent)
{
    sent = 0;
    const ssize_t n = ::send(static_cast<int>(socket), data, size, MSG_NOSIGNAL);
    if (n < 0) return errno == EINTR ? kWsaWouldBlock : LastError();
    sent = static_cast<size_t>(n);
    return 0;
}

int LinuxSockets::Receive(SocketHandle socket, char* buffer, size_t size, size_t& received)
{
    received = 0;
    const ssize_t n = ::recv(static_cast<int>(socket), buffer, size, 0);
    if (n < 0) return errno == EINTR ? kWsaWouldBlock : LastError();
    received = static_cast<size_t>(n);
    return 0;
}

void LinuxSockets::Close(SocketHandle socket) { ::close(static_cast<int>(socket)); }

Sockets& SystemSockets()
{
    // Never destroyed, so that connections closed while the process ends
    // still find it.
    static LinuxSockets* sockets = new LinuxSockets;
    return *sockets;
}

}  // namespace dotvane::platform
