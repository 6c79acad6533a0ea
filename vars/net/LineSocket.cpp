#include "vars/net/LineSocket.h"

#include "vars/net/DottedAddress.h"
#include "vars/net/NetError.h"
#include "vars/net/SocketErrorText.h"

#include <algorithm>
#include <thread>
#include <utility>

namespace dotvane {

using platform::kConnectFailed;
using platform::kInvalidSocket;
using platform::kWsaWouldBlock;

namespace {

constexpr std::chrono::milliseconds kPollPause{2};
constexpr int kWsaAlreadyInProgress = 10037;
constexpr int kWsaNotConnected = 10057;

}  // namespace

LineSocket::~LineSocket() { CloseNow(); }

void LineSocket::CheckIdle() const
{
    if (waiting_) throw NetError(SocketErrorText(kWsaAlreadyInProgress));
}

void LineSocket::Connect(const std::string& host, uint16_t port)
{
    CheckIdle();
    if (Connected()) throw NetError("Already connected");
    if (host.empty()) throw NetError("Null Remote Address");
    sockets_ = &platform::SocketsService::Current();
    cancelRequested_ = false;
    const auto deadline = Deadline();

    platform::Ipv4Address address = 0;
    if (const auto dotted = ParseDottedAddress(host)) {
        address = *dotted;
    } else {
        const auto lookup = sockets_->LookupHost(host);
        for (;;) {
            const auto status = lookup->Poll(address);
            if (status == platform::HostLookup::Status::Found) break;
            if (status == platform::HostLookup::Status::Failed) throw NetError("Host Lookup Failed");
            Pause(deadline);
        }
    }
    if (address == 0) throw NetError("Null Remote Address");

    int error = 0;
    const platform::SocketHandle handle = sockets_->OpenStream(error);
    if (handle == kInvalidSocket) throw NetError(SocketErrorText(error));
    handle_ = handle;
    received_.clear();
    peerClosed_ = false;

    int result = sockets_->Connect(handle_, address, port);
    while (result == kWsaWouldBlock) {
        Pause(deadline);
        result = sockets_->ConnectResult(handle_);
    }
    if (result == kConnectFailed) Fail("Connection Failed");
    if (result != 0) Fail(SocketErrorText(result));
}

void LineSocket::WriteLine(std::string_view text)
{
    std::string line(text);
    line += "\r\n";
    Write(line);
}

void LineSocket::Write(std::string_view data)
{
    CheckIdle();
    if (!Connected()) throw NetError(SocketErrorText(kWsaNotConnected));
    const auto deadline = Deadline();
    size_t done = 0;
    while (done < data.size()) {
        size_t sent = 0;
        const int error = sockets_->Send(handle_, data.data() + done, data.size() - done, sent);
        if (error == kWsaWouldBlock) {
            Pause(deadline);
        } else if (error != 0) {
            Fail(SocketErrorText(error));
        }
        done += sent;
    }
}

bool LineSocket::Receive(size_t limit)
{
    char chunk[16 * 1024];
    const size_t room = std::min(sizeof chunk, limit - received_.size());
    size_t count = 0;
    const int error = sockets_->Receive(handle_, chunk, room, count);
    if (error == kWsaWouldBlock) return false;
    if (error != 0) Fail(SocketErrorText(error));
    if (count == 0) peerClosed_ = true;
    received_.append(chunk, count);
    return true;
}

std::string LineSocket::ReadLine()
{
    CheckIdle();
    if (!Connected()) throw NetError(SocketErrorText(kWsaNotConnected));
    const auto deadline = Deadline();
    size_t searched = 0;
    for (;;) {
        const size_t end = received_.find('\n', searched);
        if (end != std::string::npos) {
            std::string line = received_.substr(0, end + 1);
            received_.erase(0, end + 1);
            return line;
        }
        searched = received_.size();
        if (peerClosed_) return {};
        if (received_.size() >= kReceiveBufferSize) Fail("Reply line too long");
        if (!Receive(kReceiveBufferSize)) Pause(deadline);
    }
}

std::string LineSocket::Transaction(std::string_view line)
{
    WriteLine(line);
    return ReadLine();
}

std::string LineSocket::ReadToClose(size_t limit)
{
    CheckIdle();
    if (!Connected()) throw NetError(SocketErrorText(kWsaNotConnected));
    const auto deadline = Deadline();
    for (;;) {
        // Receiving one byte beyond the limit tells a reply that is too long.
        if (received_.size() > limit) Fail("Reply too long");
        if (peerClosed_) break;
        if (!Receive(limit + 1)) Pause(deadline);
    }
    return std::exchange(received_, {});
}

void LineSocket::Pause(Clock::time_point deadline)
{
    // The deadline is tested before the events run, not after: an event can
    // hold the wait for long (a message box stays open until the user closes
    // it), and what the peer sent meanwhile is looked at before giving up.
    if (Clock::now() >= deadline) Fail("Connection Timed out");
    std::this_thread::sleep_for(kPollPause);
    waiting_ = true;
    try {
        events_.ProcessMessages();
    } catch (...) {
        waiting_ = false;
        throw;
    }
    waiting_ = false;
    if (cancelRequested_) {
        cancelRequested_ = false;
        Fail("Connection Canceled");
    }
}

void LineSocket::Cancel()
{
    if (waiting_) {
        cancelRequested_ = true;
    } else {
        CloseNow();
    }
}

void LineSocket::Close() { Cancel(); }

void LineSocket::CloseNow()
{
    if (handle_ != kInvalidSocket) sockets_->Close(handle_);
    handle_ = kInvalidSocket;
    received_.clear();
    peerClosed_ = false;
}

void LineSocket::Fail(const std::string& text)
{
    CloseNow();
    throw NetError(text);
}

}  // namespace dotvane
