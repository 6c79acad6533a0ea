#include "vars/net/HttpMessage.h"

#include "base/AsciiText.h"
#include "vars/net/NetError.h"
#include "vars/net/ReplyWords.h"

#include <algorithm>
#include <charconv>

namespace dotvane {
namespace {

uint16_t DefaultPort(std::string_view scheme)
{
    if (EqualsIgnoreCase(scheme, "gopher")) return 70;
    if (EqualsIgnoreCase(scheme, "ftp")) return 21;
    return 80;
}

uint16_t ParsePort(std::string_view text)
{
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value == 0 || value > 65535)
        throw NetError("Invalid port number");
    return static_cast<uint16_t>(value);
}

// The text after the first `skip` characters, empty when it is shorter.
std::string From(std::string_view line, size_t skip) { return std::string(line.substr(std::min(skip, line.size()))); }

}  // namespace

HttpTarget ParseHttpAddress(std::string_view address)
{
    if (address.empty()) throw NetError("Empty URL");
    const size_t colon = address.find(':');
    const std::string_view scheme = address.substr(0, colon == std::string_view::npos ? 0 : colon);
    if (EqualsIgnoreCase(scheme, "https")) throw NetError("HTTP Secure Socket is not supported");

    HttpTarget target;
    target.Port = DefaultPort(scheme);
    const size_t slashes = address.find("//");
    const size_t start = slashes == std::string_view::npos ? 0 : slashes + 2;
    const size_t pathStart = address.find('/', start);
    target.Authority = address.substr(start, pathStart == std::string_view::npos ? std::string_view::npos : pathStart - start);
    target.Path = pathStart == std::string_view::npos ? "/" : address.substr(pathStart, kMaxRequestPath);

    const size_t portColon = target.Authority.find(':');
    target.Host = target.Authority.substr(0, portColon);
    if (portColon != std::string::npos) target.Port = ParsePort(std::string_view(target.Authority).substr(portColon + 1));
    return target;
}

std::string HttpRequestText(const HttpTarget& target, std::string_view cookie)
{
    std::string request = "GET " + target.Path + " HTTP/1.0\r\n";
    request += "Host: " + target.Host + "\r\n";
    request += "Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff\r\n";
    request += "Accept: image/x-rgb, image/x-xbm, image/gif, */*, application/postscript\r\n";
    if (!cookie.empty()) request += "Cookie: " + std::string(cookie) + "\r\n";
    request += "Content-type: application/x-www-form-urlencoded\r\n";
    request += "\r\n";
    return request;
}

std::string RedirectAddress(std::string_view location, std::string_view authority)
{
    const std::string server = "http://" + std::string(authority);
    if (location.find('/') == std::string_view::npos) return server + "/" + std::string(location);
    if (location.starts_with('/') && !location.starts_with("//")) return server + std::string(location);
    return std::string(location);
}

bool HttpResponseHead::TakeLine(std::string_view line)
{
    size_ += line.size();
    if (size_ > kMaxResponseHead) throw NetError("Reply header too long");
    if (!statusRead_) {
        statusRead_ = true;
        statusCode_ = PlainInteger(Word(line, 1));
        return !line.empty();
    }
    if (line.empty() || line == "\r\n" || line == "\n") return false;
    const std::string_view field = Word(line, 0);
    const std::string_view text = WithoutLineEnd(line);
    if (EqualsIgnoreCase(field, "SET-COOKIE:")) {
        cookie_ = From(text, 12);
    } else if (EqualsIgnoreCase(field, "LOCATION:")) {
        location_ = From(text, 10);
    }
    // "Content-Length:" is not needed: the body runs to the end of the
    // connection. Other fields are ignored as well.
    return true;
}

}  // namespace dotvane
