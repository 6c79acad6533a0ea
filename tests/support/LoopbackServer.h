#pragma once

// Scripted TCP servers on the loopback interface for the network tests. They
// use the system's sockets directly: POSIX sockets on Linux, Winsock in the
// Windows test programs.
#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace dotvane::test {

// The few socket calls that differ between the two systems.
namespace loopback {
#ifdef _WIN32
using Socket = SOCKET;
inline constexpr Socket kNoSocket = INVALID_SOCKET;
inline constexpr int kSendFlags = 0;
inline int Poll(pollfd& entry, int milliseconds) { return ::WSAPoll(&entry, 1, milliseconds); }
inline Socket Open() { return ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP); }
// Accepted connections do not block, so that a script's send can give up.
inline Socket Accept(Socket listener)
{
    const Socket socket = ::accept(listener, nullptr, nullptr);
    u_long nonBlocking = 1;
    if (socket != INVALID_SOCKET) ::ioctlsocket(socket, FIONBIO, &nonBlocking);
    return socket;
}
inline bool WouldBlock() { return ::WSAGetLastError() == WSAEWOULDBLOCK; }
inline void Close(Socket socket) { ::closesocket(socket); }
// Winsock counts its users: every server holds it started.
struct Startup {
    Startup()
    {
        WSADATA data{};
        ::WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~Startup() { ::WSACleanup(); }
};
#else
using Socket = int;
inline constexpr Socket kNoSocket = -1;
inline constexpr int kSendFlags = MSG_NOSIGNAL;
inline int Poll(pollfd& entry, int milliseconds) { return ::poll(&entry, 1, milliseconds); }
inline Socket Open() { return ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0); }
inline Socket Accept(Socket listener) { return ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK); }
inline bool WouldBlock() { return errno == EAGAIN || errno == EWOULDBLOCK; }
inline void Close(Socket socket) { ::close(socket); }
struct Startup {
    Startup() {}
};
#endif
}  // namespace loopback

// One accepted connection as a server script sees it. Every read gives up
// after its time-out or when the server stops, so a script never hangs.
class ServerConnection {
public:
    ServerConnection(loopback::Socket fd, const std::atomic<bool>& stopping) : fd_(fd), stopping_(stopping) {}
    ~ServerConnection() { loopback::Close(fd_); }
    ServerConnection(const ServerConnection&) = delete;
    ServerConnection& operator=(const ServerConnection&) = delete;

    // The next line from the client without its CR LF; nothing when the
    // client closed, the time-out passed or the server stops.
    std::optional<std::string> ReadLine(std::chrono::milliseconds timeout = std::chrono::seconds(5))
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            const size_t end = pending_.find('\n');
            if (end != std::string::npos) {
                std::string line = pending_.substr(0, end);
                pending_.erase(0, end + 1);
                if (!line.empty() && line.back() == '\r') line.pop_back();
                return line;
            }
            if (!ReceiveSome(deadline)) return std::nullopt;
        }
    }

    // Reads up to and including the empty line that ends a request header.
    std::string ReadRequestHead(std::chrono::milliseconds timeout = std::chrono::seconds(5))
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (pending_.find("\r\n\r\n") == std::string::npos && ReceiveSome(deadline)) {
        }
        return received_;
    }

    // Waits until the client closes the connection; true when it did.
    bool WaitForClose(std::chrono::milliseconds timeout = std::chrono::seconds(5))
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (ReceiveSome(deadline)) {
        }
        return closedByClient_;
    }

    // Sends everything, giving up when the client has gone, when the time-out
    // passes or when the server stops: a client that stops reading never
    // holds the server, and with it the test, for ever. (Under Wine, a
    // blocking send to a client that closed with data unread now and then
    // waits for ever.)
    void Send(std::string_view data, std::chrono::milliseconds timeout = std::chrono::seconds(5))
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (!data.empty() && !stopping_ && std::chrono::steady_clock::now() < deadline) {
            const auto n = ::send(fd_, data.data(), static_cast<int>(data.size()), loopback::kSendFlags);
            if (n > 0) {
                data.remove_prefix(static_cast<size_t>(n));
            } else if (n < 0 && loopback::WouldBlock()) {
                pollfd entry{fd_, POLLOUT, 0};
                loopback::Poll(entry, 10);
            } else {
                return;
            }
        }
    }

    // The server's port of this connection.
    uint16_t LocalPort() const
    {
        sockaddr_in address{};
        socklen_t length = sizeof address;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
        return ntohs(address.sin_port);
    }

    // Every byte read from the client so far.
    const std::string& Received() const { return received_; }

private:
    // Receives what arrives before the deadline; false when the client
    // closed, the deadline passed or the server stops.
    bool ReceiveSome(std::chrono::steady_clock::time_point deadline)
    {
        while (!stopping_ && std::chrono::steady_clock::now() < deadline) {
            pollfd entry{fd_, POLLIN, 0};
            if (loopback::Poll(entry, 10) <= 0) continue;
            char chunk[4096];
            const auto n = ::recv(fd_, chunk, sizeof chunk, 0);
            if (n < 0 && loopback::WouldBlock()) continue;
            if (n <= 0) {
                closedByClient_ = true;
                return false;
            }
            received_.append(chunk, static_cast<size_t>(n));
            pending_.append(chunk, static_cast<size_t>(n));
            return true;
        }
        return false;
    }

    loopback::Socket fd_;
    const std::atomic<bool>& stopping_;
    std::string received_;
    std::string pending_;
    bool closedByClient_ = false;
};

// A server on 127.0.0.1 at a free port that runs a script for each
// connection, one connection after another, on a thread of its own. The
// connection is closed when the script returns.
class LoopbackServer {
public:
    // The script gets the connection and its number (0 for the first).
    using Script = std::function<void(ServerConnection&, int)>;

    explicit LoopbackServer(Script script) : script_(std::move(script))
    {
        listener_ = loopback::Open();
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (listener_ == loopback::kNoSocket || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            ::listen(listener_, 8) != 0 || ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            throw std::runtime_error("cannot listen on the loopback interface");
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }

    ~LoopbackServer()
    {
        stopping_ = true;
        thread_.join();
        loopback::Close(listener_);
    }

    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    uint16_t Port() const { return port_; }
    int Accepted() const { return accepted_; }
    // What the client sent on each connection whose script has ended.
    std::vector<std::string> Received() const
    {
        std::lock_guard lock(mutex_);
        return received_;
    }

private:
    void Serve()
    {
        while (!stopping_) {
            pollfd entry{listener_, POLLIN, 0};
            if (loopback::Poll(entry, 10) <= 0) continue;
            const loopback::Socket fd = loopback::Accept(listener_);
            if (fd == loopback::kNoSocket) continue;
            ServerConnection connection(fd, stopping_);
            script_(connection, accepted_++);
            std::lock_guard lock(mutex_);
            received_.push_back(connection.Received());
        }
    }

    loopback::Startup winsock_;
    Script script_;
    loopback::Socket listener_ = loopback::kNoSocket;
    uint16_t port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<int> accepted_{0};
    mutable std::mutex mutex_;
    std::vector<std::string> received_;
    std::thread thread_;
};

// A loopback port that nothing listens on (it was free a moment ago).
inline uint16_t UnusedLoopbackPort()
{
    const loopback::Startup winsock;
    const loopback::Socket fd = loopback::Open();
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), length);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    loopback::Close(fd);
    return ntohs(address.sin_port);
}

}  // namespace dotvane::test
