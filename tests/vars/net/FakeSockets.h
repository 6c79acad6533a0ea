#pragma once

#include "platform/Sockets.h"

#include <memory>
#include <string>
#include <vector>

namespace dotvane::test {

// Sockets that never touch the network, installed for their lifetime: every
// name is looked up as 10.0.0.1 (or the lookup never ends), and every
// connection attempt ends with a given result after one "would block".
class FakeSockets : public platform::Sockets {
    platform::SocketsService::Scoped installed_{*this};

public:
    explicit FakeSockets(int connectResult, bool lookupEnds = true)
        : connectResult_(connectResult), lookupEnds_(lookupEnds)
    {
    }

    std::unique_ptr<platform::HostLookup> LookupHost(const std::string& name) override
    {
        lookedUp.push_back(name);
        return std::make_unique<Lookup>(lookupEnds_);
    }
    platform::SocketHandle OpenStream(int& error) override
    {
        error = 0;
        return 7;
    }
    int Connect(platform::SocketHandle, platform::Ipv4Address address, uint16_t) override
    {
        connectedTo.push_back(address);
        return platform::kWsaWouldBlock;
    }
    int ConnectResult(platform::SocketHandle) override { return connectResult_; }
    int Send(platform::SocketHandle, const char*, size_t, size_t&) override { return 0; }
    int Receive(platform::SocketHandle, char*, size_t, size_t&) override { return 0; }
    void Close(platform::SocketHandle socket) override { closed.push_back(socket); }

    std::vector<std::string> lookedUp;
    std::vector<platform::Ipv4Address> connectedTo;
    std::vector<platform::SocketHandle> closed;

private:
    class Lookup : public platform::HostLookup {
    public:
        explicit Lookup(bool ends) : ends_(ends) {}
        Status Poll(platform::Ipv4Address& address) override
        {
            if (!ends_) return Status::Pending;
            address = 0x0A000001;
            return Status::Found;
        }

    private:
        bool ends_;
    };

    int connectResult_;
    bool lookupEnds_;
};

}  // namespace dotvane::test
