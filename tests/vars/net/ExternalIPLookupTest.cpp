#include "vars/net/ExternalIPLookup.h"

#include "base/Timer.h"
#include "config/SettingsFiles.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/TempDir.h"
#include "tests/support/Variables.h"
#include "vars/net/HttpClient.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace dotvane {
namespace {

using namespace std::chrono_literals;
using test::LoopbackServer;
using test::ServerConnection;

struct ExtractCase {
    const char* body;
    const char* before;
    const char* after;
    std::optional<std::string> address;
};

class ExtractAddressTest : public ::testing::TestWithParam<ExtractCase> {};

TEST_P(ExtractAddressTest, Cuts)
{
    const ExtractCase& c = GetParam();
    EXPECT_EQ(ExtractAddress(c.body, c.before, c.after), c.address) << c.body;
}

INSTANTIATE_TEST_SUITE_P(
    Bodies, ExtractAddressTest,
    ::testing::Values(
        ExtractCase{"<p>Your ip is 192.0.2.7 - checked</p>", "Your ip is ", " - checked", "192.0.2.7"},
        ExtractCase{"Current IP Address: 198.51.100.23</body>", "Current IP Address: ", "</body>", "198.51.100.23"},
        // Nothing is trimmed.
        ExtractCase{"ip= 10.0.0.1 ;", "ip=", ";", " 10.0.0.1 "},
        ExtractCase{"Your ip is - checked", "Your ip is ", "- checked", ""},
        ExtractCase{"no markers at all", "Your ip is ", " - checked", std::nullopt},
        ExtractCase{"Your ip is 192.0.2.7", "Your ip is ", " - checked", std::nullopt},
        ExtractCase{"192.0.2.7 - checked", "Your ip is ", " - checked", std::nullopt},
        // The after marker is searched from the start of the body.
        ExtractCase{"</b>Your ip is 192.0.2.7</b>", "Your ip is ", "</b>", std::nullopt},
        ExtractCase{"", "", "", ""}));

// A web server that answers every request with `page` and counts requests.
LoopbackServer::Script PageScript(std::string page)
{
    return [page](ServerConnection& c, int) {
        c.ReadRequestHead();
        c.Send(page);
    };
}

class ExternalIPLookupTest : public test::VariablesTest {
protected:
    void SetUp() override
    {
        MainSettings.ExternalIP.Enable = true;
        // The pages served here are pages of the test's own, which put the
        // address after the text that such pages default to.
        MainSettings.ExternalIP.BeforeString = kOwnPageBeforeString;
        HttpClient.SetTimeout(2s);
    }

    void LookupExternalAddress() { lookup.LookupExternalAddress(); }
    void ExternalIPTimerTick(Timer& timer) { lookup.ExternalIPTimerTick(timer); }
    bool LookupBusy() const { return lookup.LookupBusy(); }

    static std::string Local(const LoopbackServer& server)
    {
        return "http://127.0.0.1:" + std::to_string(server.Port()) + "/";
    }
    static std::string Page(const std::string& body) { return "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n" + body; }

    test::RecordingHost host;
    std::string& ExternalAddress = Values.ExternalAddress;
    THttpClient HttpClient{host};
    ExternalIPLookup lookup{{MainSettings.ExternalIP.Enable, MainSettings.ExternalIP.Update,
                             MainSettings.ExternalIP.WebAddress, MainSettings.ExternalIP.BeforeString,
                             MainSettings.ExternalIP.AfterString},
                            ExternalAddress, HttpClient};
};

TEST_F(ExternalIPLookupTest, TakesTheAddressBetweenTheMarkers)
{
    LoopbackServer server(PageScript(Page("<html>Your ip is 192.0.2.7" + std::string(kDefaultAfterString) + "</html>")));
    MainSettings.ExternalIP.WebAddress = Local(server);
    LookupExternalAddress();
    EXPECT_EQ(ExternalAddress, "192.0.2.7");
    EXPECT_FALSE(LookupBusy());
    EXPECT_EQ(ExpandLine("$extip$"), "192.0.2.7");
}

// The default page's answer, as the service sends it.
constexpr const char* kCheckIpAnswer =
    "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nServer: DynDNS-CheckIP/1.0\r\nConnection: close\r\n\r\n"
    "<html><head><title>Current IP Check</title></head><body>Current IP Address: 203.0.113.5</body></html>\r\n";

TEST_F(ExternalIPLookupTest, BundledSettingsReadTheCheckIpPage)
{
    // The page as the service documents it, served from here.
    LoopbackServer server(PageScript(kCheckIpAnswer));
    MainSettings = ReadSettingsFiles(DOTVANE_SOURCE_DIR "/examples/").MainSettings;
    EXPECT_FALSE(MainSettings.ExternalIP.Enable);
    EXPECT_EQ(MainSettings.ExternalIP.WebAddress, kDefaultWebAddress);
    EXPECT_EQ(MainSettings.ExternalIP.BeforeString, kDefaultBeforeString);
    EXPECT_EQ(MainSettings.ExternalIP.AfterString, kDefaultAfterString);
    MainSettings.ExternalIP.WebAddress = Local(server);
    LookupExternalAddress();
    EXPECT_EQ(ExternalAddress, "203.0.113.5");
}

TEST_F(ExternalIPLookupTest, SwitchingItOnIsEnoughForTheDefaultPage)
{
    LoopbackServer server(PageScript(kCheckIpAnswer));
    test::TempDir folder;
    folder.Write("DOTVANE.INI", "[ExternalIP]\nEnable=1\n");
    MainSettings = ReadSettingsFiles(folder.Folder()).MainSettings;
    EXPECT_TRUE(MainSettings.ExternalIP.Enable);
    EXPECT_EQ(MainSettings.ExternalIP.WebAddress, kDefaultWebAddress);
    // The default page, served from here.
    MainSettings.ExternalIP.WebAddress = Local(server);
    ManualTimer timer(kFirstLookupDelay);
    timer.SetHandler([&] { ExternalIPTimerTick(timer); });
    timer.Advance(kFirstLookupDelay);
    EXPECT_EQ(ExpandLine("$extip$"), "203.0.113.5");
    EXPECT_EQ(server.Accepted(), 1);
}

TEST_F(ExternalIPLookupTest, SettingsForAPageOfTheirOwnKeepWorking)
{
    LoopbackServer server(PageScript(Page("<html><body>Your ip is 192.0.2.7</body></html>")));
    test::TempDir folder;
    folder.Write("DOTVANE.INI", "[ExternalIP]\nEnable=1\nWebAddress=" + Local(server) + "\n");
    MainSettings = ReadSettingsFiles(folder.Folder()).MainSettings;
    LookupExternalAddress();
    EXPECT_EQ(ExternalAddress, "192.0.2.7");
}

TEST_F(ExternalIPLookupTest, HonoursABeforeStringOfAnotherLength)
{
    LoopbackServer server(PageScript(Page("<body>Current IP Address: 198.51.100.23</body>")));
    MainSettings.ExternalIP.WebAddress = Local(server);
    MainSettings.ExternalIP.BeforeString = "Current IP Address: ";
    MainSettings.ExternalIP.AfterString = "</body>";
    LookupExternalAddress();
    EXPECT_EQ(ExternalAddress, "198.51.100.23");
}

TEST_F(ExternalIPLookupTest, SearchesTheBodyOfAnErrorPage)
{
    LoopbackServer server(PageScript("HTTP/1.0 404 Not Found\r\n\r\nYour ip is 203.0.113.9 - lost"));
    MainSettings.ExternalIP.WebAddress = Local(server);
    MainSettings.ExternalIP.AfterString = " - lost";
    LookupExternalAddress();
    EXPECT_EQ(ExternalAddress, "203.0.113.9");
}

TEST_F(ExternalIPLookupTest, UsesThePortOfTheAddress)
{
    LoopbackServer server(PageScript(Page("Your ip is 192.0.2.8 !")));
    MainSettings.ExternalIP.WebAddress = "http://localhost:" + std::to_string(server.Port()) + "/ip";
    MainSettings.ExternalIP.AfterString = " !";
    LookupExternalAddress();
    EXPECT_EQ(ExternalAddress, "192.0.2.8");
    EXPECT_TRUE(server.Received().at(0).starts_with("GET /ip HTTP/1.0\r\nHost: localhost\r\n"));
}

TEST_F(ExternalIPLookupTest, FailuresAreSilentAndKeepTheAddress)
{
    LoopbackServer server(PageScript(Page("Your ip is 192.0.2.7 - up")));
    MainSettings.ExternalIP.AfterString = " - up";
    for (const std::string& address : {std::string(), "https://127.0.0.1:" + std::to_string(server.Port()) + "/",
                                      "http://127.0.0.1:" + std::to_string(test::UnusedLoopbackPort()) + "/"}) {
        MainSettings.ExternalIP.WebAddress = address;
        LookupExternalAddress();
        EXPECT_EQ(ExternalAddress, "Unknown") << address;
    }
    MainSettings.ExternalIP.WebAddress = Local(server);
    LookupExternalAddress();
    EXPECT_EQ(ExternalAddress, "192.0.2.7");
    // A later failure searches the page from before and finds the same.
    MainSettings.ExternalIP.WebAddress = "";
    LookupExternalAddress();
    EXPECT_EQ(ExternalAddress, "192.0.2.7");
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(server.Accepted(), 1);
    EXPECT_FALSE(LookupBusy());
}

TEST_F(ExternalIPLookupTest, PageWithoutMarkersKeepsThePreviousAddress)
{
    LoopbackServer server(PageScript(Page("maintenance")));
    MainSettings.ExternalIP.WebAddress = Local(server);
    ExternalAddress = "192.0.2.1";
    LookupExternalAddress();
    EXPECT_EQ(ExternalAddress, "192.0.2.1");
    EXPECT_EQ(server.Accepted(), 1);
}

TEST_F(ExternalIPLookupTest, TicksDuringALookupReturnAtOnce)
{
    LoopbackServer server(PageScript(Page("Your ip is 192.0.2.7 - x")));
    MainSettings.ExternalIP.WebAddress = Local(server);
    MainSettings.ExternalIP.AfterString = " - x";
    int nested = 0;
    host.onProcessMessages = [&] {
        ++nested;
        LookupExternalAddress();
    };
    LookupExternalAddress();
    EXPECT_GT(nested, 0);
    EXPECT_EQ(server.Accepted(), 1);
    EXPECT_EQ(ExternalAddress, "192.0.2.7");
}

TEST_F(ExternalIPLookupTest, FirstTickAfterTenSecondsThenEveryUpdate)
{
    LoopbackServer server(PageScript(Page("Your ip is 192.0.2.7 - x")));
    MainSettings.ExternalIP.WebAddress = Local(server);
    MainSettings.ExternalIP.AfterString = " - x";
    MainSettings.ExternalIP.Update = 60000;
    ManualTimer timer(kFirstLookupDelay);
    timer.SetHandler([&] { ExternalIPTimerTick(timer); });

    timer.Advance(9999);
    EXPECT_EQ(server.Accepted(), 0);
    timer.Advance(1);
    EXPECT_EQ(server.Accepted(), 1);
    EXPECT_EQ(timer.Interval(), 60000);
    EXPECT_EQ(ExternalAddress, "192.0.2.7");
    timer.Advance(59999);
    EXPECT_EQ(server.Accepted(), 1);
    timer.Advance(1);
    EXPECT_EQ(server.Accepted(), 2);
}

TEST_F(ExternalIPLookupTest, SwitchedOffTheTimerOnlyKeepsItsPeriod)
{
    LoopbackServer server(PageScript(Page("Your ip is 192.0.2.7 - x")));
    MainSettings.ExternalIP.WebAddress = Local(server);
    MainSettings.ExternalIP.AfterString = " - x";
    MainSettings.ExternalIP.Update = 30000;
    ManualTimer timer(kFirstLookupDelay);
    timer.SetHandler([&] { ExternalIPTimerTick(timer); });
    timer.Advance(kFirstLookupDelay);
    EXPECT_EQ(ExpandLine("$extip$"), "192.0.2.7");

    MainSettings.ExternalIP.Enable = false;
    EXPECT_EQ(ExpandLine("$extip$"), "");
    timer.Advance(30000 * 3);
    EXPECT_EQ(server.Accepted(), 1);
    EXPECT_EQ(timer.Interval(), 30000);
}

}  // namespace
}  // namespace dotvane
