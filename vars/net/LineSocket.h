#pragma once

#include "base/EventPump.h"
#include "platform/Sockets.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace dotvane {

// How long one wait of the socket layer may last before it gives up with
// "Connection Timed out".
inline constexpr std::chrono::milliseconds kNetworkTimeout{60000};
// The receive buffer: a line must fit in it.
inline constexpr size_t kReceiveBufferSize = 64 * 1024;

// A line-oriented TCP connection for the POP3 and HTTP clients. Every wait
// (name lookup, connect, send, receive) sleeps 2 ms and lets the window
// process its pending events through `events`, over and over, so that the
// window's timers keep running meanwhile; each wait gives up after the
// time-out. Failures
// close the connection and raise NetError with the text the user sees.
//
// Because the window runs other code while a wait goes on, that code may
// call Cancel (or Close) on a connection that is waiting: the wait then
// ends with "Connection Canceled". Any other call made meanwhile raises
// "Operation already in progress".
class LineSocket {
public:
    explicit LineSocket(EventPump& events) : events_(events) {}
    ~LineSocket();
    LineSocket(const LineSocket&) = delete;
    LineSocket& operator=(const LineSocket&) = delete;

    void SetTimeout(std::chrono::milliseconds timeout) { timeout_ = timeout; }
    std::chrono::milliseconds Timeout() const { return timeout_; }

    // Connects to the host, a dotted IPv4 address used as is or a name that
    // is looked up first, at `port`.
    void Connect(const std::string& host, uint16_t port);
    bool Connected() const { return handle_ != platform::kInvalidSocket; }
    // Whether an operation of this connection is waiting right now.
    bool Waiting() const { return waiting_; }

    // Sends the bytes as they are.
    void Write(std::string_view data);
    // Sends the text followed by CR LF.
    void WriteLine(std::string_view text);
    // The next line with its line end; the empty text once the peer has
    // closed the connection. A line longer than the receive buffer ends the
    // connection with an error.
    std::string ReadLine();
    // WriteLine, then ReadLine.
    std::string Transaction(std::string_view line);
    // Everything the peer still sends until it closes the connection; more
    // than `limit` bytes end the connection with an error.
    std::string ReadToClose(size_t limit);

    // Closes the connection (nothing when there is none); while an
    // operation waits, the same as Cancel.
    void Close();
    // Makes a waiting operation end with "Connection Canceled"; closes at
    // once when none waits.
    void Cancel();

private:
    using Clock = std::chrono::steady_clock;

    void CheckIdle() const;
    Clock::time_point Deadline() const { return Clock::now() + timeout_; }
    // Ends the operation when the deadline has passed; otherwise sleeps
    // 2 ms, processes the window's events, and ends the operation when it
    // was canceled meanwhile.
    void Pause(Clock::time_point deadline);
    // Receives what has arrived into the buffer, up to `limit` bytes in
    // all; false when nothing had.
    bool Receive(size_t limit);
    void CloseNow();
    [[noreturn]] void Fail(const std::string& text);

    EventPump& events_;
    std::chrono::milliseconds timeout_ = kNetworkTimeout;
    platform::Sockets* sockets_ = nullptr;
    platform::SocketHandle handle_ = platform::kInvalidSocket;
    std::string received_;
    bool peerClosed_ = false;
    bool waiting_ = false;
    bool cancelRequested_ = false;
};

}  // namespace dotvane
