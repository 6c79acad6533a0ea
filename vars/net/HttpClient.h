#pragma once

#include "vars/net/LineSocket.h"

#include <chrono>
#include <cstddef>
#include <string>

namespace dotvane {

class HttpResponseHead;
struct HttpTarget;

// How many responses one Get follows at most (the first request and the
// redirects and repeats after it).
inline constexpr int kMaxHttpRequests = 11;
// The longest response body kept.
inline constexpr size_t kMaxHttpBody = 4 * 1024 * 1024;

// An HTTP/1.0 client for fetching one page: no keep-alive, the body runs to
// the end of the connection. Errors are raised as NetError.
class THttpClient {
public:
    // Its waits let the window handle events through `events`.
    explicit THttpClient(EventPump& events) : socket_(events) {}

    // Fetches the page at `address` and leaves the response body in Body(),
    // whatever the status. Redirects (300, 301, 302) are followed to their
    // location with the cookie the redirect set, other codes from 299 to
    // 399 repeat the request; more than kMaxHttpRequests responses raise
    // "Too many redirects".
    void Get(const std::string& address);
    // The body of the last response received; empty before the first.
    const std::string& Body() const { return body_; }

    // Ends a fetch that is waiting (called from an event handled during
    // the wait, such as the window closing) with "Connection Canceled".
    void Cancel() { socket_.Cancel(); }

    // The time-out of each wait; about a minute unless changed.
    void SetTimeout(std::chrono::milliseconds timeout) { socket_.SetTimeout(timeout); }

private:
    // One request and its response.
    void Fetch(const HttpTarget& target, HttpResponseHead& head);

    LineSocket socket_;
    std::string body_;
    std::string cookie_;
};

}  // namespace dotvane
