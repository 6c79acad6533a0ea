#pragma once

#include "platform/Sockets.h"

namespace dotvane::platform {

// The Winsock code for a Linux error number, so that "connection refused"
// reads "10061:Connection refused" here as it does on Windows. Numbers
// without a Winsock counterpart are passed on unchanged.
int WinsockCode(int errnoValue);

// POSIX sockets behind the Winsock-shaped interface. A name lookup runs
// getaddrinfo on a helper thread of its own that does nothing else; the
// program's logic never leaves its own thread.
class LinuxSockets : public Sockets {
public:
    std::unique_ptr<HostLookup> LookupHost(const std::string& name) override;
    SocketHandle OpenStream(int& error) override;
    int Connect(SocketHandle socket, Ipv4Address address, uint16_t port) override;
    int ConnectResult(SocketHandle socket) override;
    int Send(SocketHandle socket, const char* data, size_t size, size_t& sent) override;
    int Receive(SocketHandle socket, char* buffer, size_t size, size_t& received) override;
    void Close(SocketHandle socket) override;
};

}  // namespace dotvane::platform
