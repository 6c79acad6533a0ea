#include "vars/net/HttpMessage.h"

#include "vars/net/NetError.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dotvane {
namespace {

struct AddressCase {
    const char* address;
    const char* authority;
    const char* host;
    uint16_t port;
    const char* path;
};

class HttpAddressTest : public ::testing::TestWithParam<AddressCase> {};

TEST_P(HttpAddressTest, Splits)
{
    const AddressCase& c = GetParam();
    const HttpTarget target = ParseHttpAddress(c.address);
    EXPECT_EQ(target.Authority, c.authority) << c.address;
    EXPECT_EQ(target.Host, c.host) << c.address;
    EXPECT_EQ(target.Port, c.port) << c.address;
    EXPECT_EQ(target.Path, c.path) << c.address;
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, HttpAddressTest,
    ::testing::Values(AddressCase{"http://checkip.example.org/", "checkip.example.org", "checkip.example.org", 80, "/"},
                      AddressCase{"http://example.org", "example.org", "example.org", 80, "/"},
                      AddressCase{"http://example.org:8080/a/b?x=1", "example.org:8080", "example.org", 8080, "/a/b?x=1"},
                      AddressCase{"ftp://files.example.org/pub", "files.example.org", "files.example.org", 21, "/pub"},
                      AddressCase{"gopher://g.example.org/1", "g.example.org", "g.example.org", 70, "/1"},
                      AddressCase{"GOPHER://g.example.org", "g.example.org", "g.example.org", 70, "/"},
                      AddressCase{"Http://example.org/", "example.org", "example.org", 80, "/"},
                      AddressCase{"news://n.example.org/", "n.example.org", "n.example.org", 80, "/"},
                      AddressCase{"ftp://files.example.org:2121/", "files.example.org:2121", "files.example.org", 2121, "/"},
                      // Without "//" the host starts at the beginning.
                      AddressCase{"example.org/ip", "example.org", "example.org", 80, "/ip"},
                      AddressCase{"localhost:8080/x", "localhost:8080", "localhost", 8080, "/x"},
                      AddressCase{"http:///x", "", "", 80, "/x"}));

TEST(HttpAddressTest, LongPathIsCut)
{
    const std::string path = "/" + std::string(300, 'p');
    EXPECT_EQ(ParseHttpAddress("http://example.org" + path).Path, path.substr(0, kMaxRequestPath));
}

TEST(HttpAddressTest, RefusedAddresses)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "Empty URL"},
        {"https://checkip.example.org/", "HTTP Secure Socket is not supported"},
        {"HTTPS://checkip.example.org", "HTTP Secure Socket is not supported"},
        {"http://example.org:abc/", "Invalid port number"},
        {"http://example.org:/", "Invalid port number"},
        {"http://example.org:0/", "Invalid port number"},
        {"http://example.org:65536/", "Invalid port number"},
    };
    for (const auto& [address, text] : cases) {
        try {
            ParseHttpAddress(address);
            ADD_FAILURE() << "accepted '" << address << "'";
        } catch (const NetError& error) {
            EXPECT_EQ(error.what(), text) << address;
        }
    }
}

TEST(HttpRequestTest, RequestLines)
{
    const HttpTarget target = ParseHttpAddress("http://example.org:8080/ip");
    const std::string common = "GET /ip HTTP/1.0\r\n"
                               "Host: example.org\r\n"
                               "Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff\r\n"
                               "Accept: image/x-rgb, image/x-xbm, image/gif, */*, application/postscript\r\n";
    EXPECT_EQ(HttpRequestText(target, ""), common + "Content-type: application/x-www-form-urlencoded\r\n\r\n");
    EXPECT_EQ(HttpRequestText(target, "id=7; path=/"),
              common + "Cookie: id=7; path=/\r\nContent-type: application/x-www-form-urlencoded\r\n\r\n");
}

TEST(RedirectAddressTest, Locations)
{
    EXPECT_EQ(RedirectAddress("final.html", "example.org:81"), "http://example.org:81/final.html");
    EXPECT_EQ(RedirectAddress("", "example.org"), "http://example.org/");
    EXPECT_EQ(RedirectAddress("/deep/page", "example.org:81"), "http://example.org:81/deep/page");
    EXPECT_EQ(RedirectAddress("http://other.example.org/x", "example.org"), "http://other.example.org/x");
    EXPECT_EQ(RedirectAddress("//other.example.org/x", "example.org"), "//other.example.org/x");
    EXPECT_EQ(RedirectAddress("sub/page", "example.org"), "sub/page");
}

struct HeadCase {
    std::vector<const char*> lines;
    // How many lines belong to the head (the rest are not taken).
    size_t taken;
    int32_t status;
    const char* cookie;
    const char* location;
};

class HttpResponseHeadTest : public ::testing::TestWithParam<HeadCase> {};

TEST_P(HttpResponseHeadTest, Reads)
{
    const HeadCase& c = GetParam();
    HttpResponseHead head;
    size_t taken = 0;
    for (const char* line : c.lines) {
        ++taken;
        if (!head.TakeLine(line)) break;
    }
    EXPECT_EQ(taken, c.taken);
    EXPECT_EQ(head.StatusCode(), c.status);
    EXPECT_EQ(head.Cookie(), c.cookie);
    EXPECT_EQ(head.Location(), c.location);
}

INSTANTIATE_TEST_SUITE_P(
    Heads, HttpResponseHeadTest,
    ::testing::Values(
        HeadCase{{"HTTP/1.0 200 OK\r\n", "Content-Type: text/html\r\n", "\r\n", "body"}, 3, 200, "", ""},
        HeadCase{{"HTTP/1.0 302 Found\r\n", "Set-Cookie: id=42; path=/\r\n", "Location: http://a.example/b\r\n", "\n"},
                 4, 302, "id=42; path=/", "http://a.example/b"},
        HeadCase{{"HTTP/1.1 301\n", "LOCATION: final.html\n", "SET-COOKIE: x\n", "Content-Length: 12\n", "", "more"},
                 5, 301, "x", "final.html"},
        // The field name must be the whole first word.
        HeadCase{{"HTTP/1.0 302 Found\r\n", "set-cookie:x=1\r\n", "X-Location: /y\r\n", "\r\n"}, 4, 302, "", ""},
        // The value starts at a fixed column and runs to the line end.
        HeadCase{{"HTTP/1.0 302 Found\r\n", "Location:  spaced \r\n", "Set-Cookie:\r\n", "\r\n"}, 4, 302, "", " spaced "},
        HeadCase{{"HTTP/1.0 abc\r\n", "\r\n"}, 2, 0, "", ""},
        HeadCase{{"garbage\r\n", "\r\n"}, 2, 0, "", ""},
        // A connection closed before anything came.
        HeadCase{{"", "never taken"}, 1, 0, "", ""}));

}  // namespace
}  // namespace dotvane
