#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace dotvane {

// The longest request path sent; a longer one is cut.
inline constexpr size_t kMaxRequestPath = 256;
// The most a response's status line and header lines may hold together.
inline constexpr size_t kMaxResponseHead = 64 * 1024;

// Where a page address points.
struct HttpTarget {
    // The text between "//" and the next "/", port included ("host:8080").
    std::string Authority;
    std::string Host;
    uint16_t Port = 80;
    // From the "/" after the authority on; "/" when there is none.
    std::string Path;
};

// Splits a page address. The scheme before the first ":" gives the default
// port (gopher 70, ftp 21, any other 80); a ":n" after the host overrides
// it. Raises NetError "Empty URL" for an empty address, "HTTP Secure Socket
// is not supported" for https and "Invalid port number" for a port that is
// not one.
HttpTarget ParseHttpAddress(std::string_view address);

// The request for a target, every line ending in CR LF and closed by an
// empty line; the Cookie line appears only with a cookie.
std::string HttpRequestText(const HttpTarget& target, std::string_view cookie);

// The address a redirect leads to: the location as it is, except that a
// location without any "/" names a page at the root of the same server and
// one that starts with a single "/" a path on the same server.
std::string RedirectAddress(std::string_view location, std::string_view authority);

// The status line and header of a response, taken line by line as they
// arrive (each with its line end).
class HttpResponseHead {
public:
    // Takes the next line: the first is the status line, the others header
    // lines. False once the header has ended, at an empty line (CR LF or LF
    // alone) or the empty text that stands for the end of the connection.
    // Raises NetError "Reply header too long" once the lines taken exceed
    // kMaxResponseHead, so that a server cannot keep a fetch going with an
    // endless header.
    bool TakeLine(std::string_view line);

    // The second word of the status line as a number, 0 when it is none.
    int32_t StatusCode() const { return statusCode_; }
    // What "Set-Cookie:" and "Location:" lines gave, from their 13th and
    // 11th character on; empty without such a line.
    const std::string& Cookie() const { return cookie_; }
    const std::string& Location() const { return location_; }

private:
    bool statusRead_ = false;
    size_t size_ = 0;
    int32_t statusCode_ = 0;
    std::string cookie_;
    std::string location_;
};

}  // namespace dotvane
