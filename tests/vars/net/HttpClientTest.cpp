#include "vars/net/HttpClient.h"

#include "tests/support/LoopbackServer.h"
#include "tests/support/RecordingHost.h"
#include "vars/net/HttpMessage.h"
#include "vars/net/NetError.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace dotvane {
namespace {

using namespace std::chrono_literals;
using test::LoopbackServer;
using test::ServerConnection;

// An HTTP server whose connection n reads the request and sends
// responses[n] (the last one for all later connections), then closes.
// "{PORT}" in a response stands for the server's own port.
LoopbackServer::Script HttpScript(std::vector<std::string> responses)
{
    return [responses](ServerConnection& c, int index) {
        c.ReadRequestHead();
        std::string response = responses[std::min<size_t>(static_cast<size_t>(index), responses.size() - 1)];
        for (size_t at = response.find("{PORT}"); at != std::string::npos; at = response.find("{PORT}"))
            response.replace(at, 6, std::to_string(c.LocalPort()));
        c.Send(response);
    };
}

const std::string kAccept = "Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff\r\n"
                            "Accept: image/x-rgb, image/x-xbm, image/gif, */*, application/postscript\r\n";
const std::string kContentType = "Content-type: application/x-www-form-urlencoded\r\n";

// The request line of each request the server received.
std::vector<std::string> RequestLines(const LoopbackServer& server)
{
    std::vector<std::string> lines;
    for (const std::string& request : server.Received()) lines.push_back(request.substr(0, request.find("\r\n")));
    return lines;
}

class HttpClientTest : public ::testing::Test {
protected:
    HttpClientTest() { client.SetTimeout(2s); }

    static std::string Local(const LoopbackServer& server, const std::string& path)
    {
        return "http://127.0.0.1:" + std::to_string(server.Port()) + path;
    }

    std::string ErrorOfGet(const std::string& address)
    {
        try {
            client.Get(address);
        } catch (const NetError& error) {
            return error.what();
        }
        return {};
    }

    test::RecordingHost host;
    THttpClient client{host};
};

TEST_F(HttpClientTest, SendsTheRequestAndKeepsTheBody)
{
    LoopbackServer server(HttpScript({"HTTP/1.0 200 OK\r\nContent-Length: 26\r\n\r\nYour ip is 192.0.2.7 done\n"}));
    EXPECT_EQ(ErrorOfGet(Local(server, "/ip?x=1")), "");
    EXPECT_EQ(client.Body(), "Your ip is 192.0.2.7 done\n");
    ASSERT_EQ(server.Received().size(), 1u);
    EXPECT_EQ(server.Received()[0], "GET /ip?x=1 HTTP/1.0\r\nHost: 127.0.0.1\r\n" + kAccept + kContentType + "\r\n");
}

TEST_F(HttpClientTest, FollowsARedirectWithItsCookie)
{
    LoopbackServer server(HttpScript({"HTTP/1.0 302 Found\r\nSet-Cookie: session=abc\r\n"
                                      "Location: http://127.0.0.1:{PORT}/final\r\n\r\nmoved",
                                      "HTTP/1.0 200 OK\r\n\r\nfinal page"}));
    EXPECT_EQ(ErrorOfGet(Local(server, "/start")), "");
    EXPECT_EQ(client.Body(), "final page");
    const auto received = server.Received();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0], "GET /start HTTP/1.0\r\nHost: 127.0.0.1\r\n" + kAccept + kContentType + "\r\n");
    EXPECT_EQ(received[1],
              "GET /final HTTP/1.0\r\nHost: 127.0.0.1\r\n" + kAccept + "Cookie: session=abc\r\n" + kContentType + "\r\n");
}

TEST_F(HttpClientTest, CookieBelongsToOneFetch)
{
    LoopbackServer server(HttpScript({"HTTP/1.0 301 Moved\r\nSet-Cookie: a=1\r\nLocation: page\r\n\r\n",
                                      "HTTP/1.0 200 OK\r\n\r\none", "HTTP/1.0 200 OK\r\n\r\ntwo"}));
    EXPECT_EQ(ErrorOfGet(Local(server, "/")), "");
    EXPECT_EQ(ErrorOfGet(Local(server, "/")), "");
    EXPECT_EQ(client.Body(), "two");
    const auto received = server.Received();
    ASSERT_EQ(received.size(), 3u);
    EXPECT_NE(received[1].find("Cookie: a=1\r\n"), std::string::npos);
    EXPECT_EQ(received[2].find("Cookie:"), std::string::npos);
}

TEST_F(HttpClientTest, RelativeLocationsStayOnTheServer)
{
    LoopbackServer server(HttpScript({"HTTP/1.0 302 Found\r\nLocation: final.html\r\n\r\n",
                                      "HTTP/1.0 301 Moved\r\nLocation: /deep/page\r\n\r\n", "HTTP/1.0 200 OK\r\n\r\nhere"}));
    EXPECT_EQ(ErrorOfGet(Local(server, "/a/b")), "");
    EXPECT_EQ(client.Body(), "here");
    EXPECT_EQ(RequestLines(server), (std::vector<std::string>{"GET /a/b HTTP/1.0", "GET /final.html HTTP/1.0",
                                                               "GET /deep/page HTTP/1.0"}));
}

TEST_F(HttpClientTest, OtherCodesOfTheRedirectRangeRepeatTheRequest)
{
    LoopbackServer server(HttpScript({"HTTP/1.0 304 Not Modified\r\nLocation: elsewhere\r\n\r\n",
                                      "HTTP/1.0 299 Odd\r\n\r\n", "HTTP/1.0 200 OK\r\n\r\nok"}));
    EXPECT_EQ(ErrorOfGet(Local(server, "/page")), "");
    EXPECT_EQ(client.Body(), "ok");
    EXPECT_EQ(RequestLines(server),
              (std::vector<std::string>{"GET /page HTTP/1.0", "GET /page HTTP/1.0", "GET /page HTTP/1.0"}));
}

TEST_F(HttpClientTest, EndlessRedirectsStopAtTheCap)
{
    LoopbackServer server(HttpScript({"HTTP/1.0 302 Found\r\nLocation: again\r\n\r\nloop"}));
    EXPECT_EQ(ErrorOfGet(Local(server, "/")), "Too many redirects");
    EXPECT_EQ(server.Accepted(), kMaxHttpRequests);
    EXPECT_EQ(client.Body(), "loop");
}

TEST_F(HttpClientTest, RefusedAddressesContactNothingAndKeepTheBody)
{
    LoopbackServer server(HttpScript({"HTTP/1.0 200 OK\r\n\r\nkept"}));
    client.Get(Local(server, "/"));
    EXPECT_EQ(ErrorOfGet(""), "Empty URL");
    EXPECT_EQ(ErrorOfGet("https://127.0.0.1:" + std::to_string(server.Port()) + "/"),
              "HTTP Secure Socket is not supported");
    EXPECT_EQ(client.Body(), "kept");
    EXPECT_EQ(server.Accepted(), 1);
}

TEST_F(HttpClientTest, ResponseWithoutHeaderEnd)
{
    LoopbackServer server(HttpScript({"HTTP/1.0 200 OK\r\nServer: terse\r\n"}));
    EXPECT_EQ(ErrorOfGet(Local(server, "/")), "");
    EXPECT_EQ(client.Body(), "");
}

TEST_F(HttpClientTest, CancelFromAnEventEndsTheFetch)
{
    LoopbackServer server([](ServerConnection& c, int) { c.WaitForClose(); });
    host.onProcessMessages = [&] { client.Cancel(); };
    EXPECT_EQ(ErrorOfGet(Local(server, "/")), "Connection Canceled");
}

TEST_F(HttpClientTest, EndlessHeaderFails)
{
    std::string header = "HTTP/1.0 200 OK\r\n";
    while (header.size() <= 2 * kMaxResponseHead) header += "X-Padding: 0123456789\r\n";
    LoopbackServer server(HttpScript({header + "\r\nbody"}));
    EXPECT_EQ(ErrorOfGet(Local(server, "/")), "Reply header too long");
    EXPECT_EQ(client.Body(), "");
}

TEST_F(HttpClientTest, OversizedBodyFails)
{
    LoopbackServer server(HttpScript({"HTTP/1.0 200 OK\r\n\r\n" + std::string(kMaxHttpBody + 1, 'z')}));
    EXPECT_EQ(ErrorOfGet(Local(server, "/")), "Reply too long");
}

}  // namespace
}  // namespace dotvane
