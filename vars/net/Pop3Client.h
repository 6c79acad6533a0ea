#pragma once

#include "vars/net/LineSocket.h"

#include <chrono>
#include <cstdint>
#include <string>

namespace dotvane {

// A POP3 client that logs in, asks for the mailbox status and logs out;
// nothing is downloaded or deleted. Errors are raised as NetError.
class TPop3Client {
public:
    // Its waits let the window handle events through `events`.
    explicit TPop3Client(EventPump& events) : socket_(events) {}

    std::string Host;
    uint16_t Port = 110;
    std::string UserID;
    std::string Password;
    // The message count of the last STAT reply.
    int32_t MailCount = 0;

    // Connects, reads the greeting, logs in with USER and PASS and reads the
    // count with STAT. Any failure after the connection is open logs out
    // and closes before the error goes on. An empty user name or password
    // fails with "Authentication failed" without contacting the server.
    void Connect();
    // Sends QUIT and reads the reply, then closes in every case; a negative
    // reply is raised (after the close). Nothing without a connection.
    // Called while one of the client's own waits runs (from an event
    // handled during that wait), it cancels that wait instead.
    void Disconnect();
    bool Connected() const { return socket_.Connected(); }

    // The time-out of each wait; about a minute unless changed.
    void SetTimeout(std::chrono::milliseconds timeout) { socket_.SetTimeout(timeout); }

private:
    LineSocket socket_;
};

}  // namespace dotvane
