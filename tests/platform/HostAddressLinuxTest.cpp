#include "platform/linux/HostAddressLinux.h"

#include "platform/linux/ComputerInfoLinux.h"
#include "tests/support/Variables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>

namespace dotvane::platform {
namespace {

using Address = std::array<uint8_t, 4>;

Ipv4Interface Up(const char* name, Address address) { return {name, address, true, false}; }
Ipv4Interface Down(const char* name, Address address) { return {name, address, false, false}; }
Ipv4Interface Loopback() { return {"lo", {127, 0, 0, 1}, true, true}; }

constexpr const char* kHeading = "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";

std::string Route(const char* iface, const char* destination, const char* flags, int metric, const char* mask)
{
    return std::string(iface) + "\t" + destination + "\t0101A8C0\t" + flags + "\t0\t0\t" + std::to_string(metric) +
           "\t" + mask + "\t0\t0\t0\n";
}

TEST(HostAddressLinux, ResolvesToTheFirstIpv4Address)
{
    HostAddressLinux host;
    EXPECT_EQ(host.GetHostName(200), ComputerInfoLinux().GetComputerName(200));
    const auto loopback = host.ResolveFirstIpv4("127.0.0.2");
    ASSERT_TRUE(loopback.has_value());
    EXPECT_EQ(*loopback, (std::array<uint8_t, 4>{127, 0, 0, 2}));
    const auto localhost = host.ResolveFirstIpv4("localhost");
    ASSERT_TRUE(localhost.has_value());
    EXPECT_EQ((*localhost)[0], 127);
    EXPECT_FALSE(host.ResolveFirstIpv4("").has_value());
    EXPECT_FALSE(host.ResolveFirstIpv4("::1").has_value());
}

struct ChoiceCase {
    const char* what;
    std::string table;
    std::vector<Ipv4Interface> interfaces;
    std::optional<Address> expected;
};

class ChooseNetworkIpv4Test : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(ChooseNetworkIpv4Test, Chooses)
{
    const ChoiceCase& c = GetParam();
    EXPECT_EQ(ChooseNetworkIpv4(c.table, c.interfaces), c.expected) << c.what;
}

const std::string kDefaultViaEth0 = kHeading + Route("eth0", "00000000", "0003", 100, "00000000");

INSTANTIATE_TEST_SUITE_P(
    Tables, ChooseNetworkIpv4Test,
    ::testing::Values(
        ChoiceCase{"the default route's interface, though listed later", kDefaultViaEth0,
                   {Loopback(), Up("docker0", {172, 17, 0, 1}), Up("eth0", {192, 168, 1, 23})},
                   Address{192, 168, 1, 23}},
        ChoiceCase{"the lowest metric of two default routes",
                   kHeading + Route("wlan0", "00000000", "0003", 600, "00000000") +
                       Route("eth0", "00000000", "0003", 100, "00000000"),
                   {Up("wlan0", {10, 10, 0, 5}), Up("eth0", {192, 168, 1, 23})}, Address{192, 168, 1, 23}},
        ChoiceCase{"the first of two default routes of equal metric",
                   kHeading + Route("wlan0", "00000000", "0003", 100, "00000000") +
                       Route("eth0", "00000000", "0003", 100, "00000000"),
                   {Up("eth0", {192, 168, 1, 23}), Up("wlan0", {10, 10, 0, 5})}, Address{10, 10, 0, 5}},
        ChoiceCase{"an address under a label of the interface", kDefaultViaEth0,
                   {Up("eth00", {10, 0, 0, 9}), Up("eth0:1", {192, 168, 1, 24})}, Address{192, 168, 1, 24}},
        ChoiceCase{"a default route that is not up counts for nothing",
                   kHeading + Route("eth0", "00000000", "0002", 100, "00000000"),
                   {Up("wlan0", {10, 10, 0, 5}), Up("eth0", {192, 168, 1, 23})}, Address{10, 10, 0, 5}},
        ChoiceCase{"a route to a network is no default route",
                   kHeading + Route("eth0", "0001A8C0", "0001", 100, "00FFFFFF"),
                   {Up("wlan0", {10, 10, 0, 5}), Up("eth0", {192, 168, 1, 23})}, Address{10, 10, 0, 5}},
        ChoiceCase{"a default route through an interface without an IPv4 address",
                   kHeading + Route("wg0", "00000000", "0001", 0, "00000000"),
                   {Loopback(), Up("eth0", {192, 168, 1, 23})}, Address{192, 168, 1, 23}},
        ChoiceCase{"no table: the first interface that is up and no loopback", "",
                   {Loopback(), Down("eth0", {192, 168, 1, 23}), Up("wlan0", {10, 10, 0, 5})},
                   Address{10, 10, 0, 5}},
        ChoiceCase{"a garbled table", "eth0 00000000\n\xFF\xFE garbage 1 2 3 4 5 6 7 8\n",
                   {Up("eth0", {192, 168, 1, 23})}, Address{192, 168, 1, 23}},
        ChoiceCase{"an address in the loopback network on another interface", "",
                   {Up("dummy0", {127, 0, 1, 1}), Up("eth0", {192, 168, 1, 23})}, Address{192, 168, 1, 23}},
        ChoiceCase{"only the loopback", kDefaultViaEth0, {Loopback(), Down("eth0", {192, 168, 1, 23})},
                   std::nullopt},
        ChoiceCase{"no interfaces", kDefaultViaEth0, {}, std::nullopt}));

// The interfaces of a Debian machine whose host name resolves to 127.0.1.1.
std::vector<Ipv4Interface> LaptopInterfaces()
{
    return {Loopback(), Up("docker0", {172, 17, 0, 1}), Up("wlan0", {10, 10, 0, 5}), Up("eth0", {192, 168, 1, 23})};
}

TEST(HostAddressLinux, NetworkAddressFromTheProcRoot)
{
    const std::pair<const char*, std::optional<Address>> cases[] = {
        {"wired", Address{192, 168, 1, 23}},
        {"two-defaults", Address{192, 168, 1, 23}},
        {"no-default", Address{172, 17, 0, 1}},
        {"no-such-root", Address{172, 17, 0, 1}},
    };
    for (const auto& [root, expected] : cases) {
        HostAddressLinux host(std::string(DOTVANE_FIXTURES "/route/") + root, LaptopInterfaces);
        EXPECT_EQ(host.NetworkIpv4(), expected) << root;
    }
    HostAddressLinux alone(DOTVANE_FIXTURES "/route/wired", [] { return std::vector<Ipv4Interface>{Loopback()}; });
    EXPECT_EQ(alone.NetworkIpv4(), std::nullopt);
}

// The Linux source behind the variable, with the host name's resolution
// standing in for /etc/hosts.
class HostsFile : public HostAddressLinux {
public:
    using HostAddressLinux::HostAddressLinux;
    std::string GetHostName(size_t) override { return "debian"; }
    std::optional<Address> ResolveFirstIpv4(const std::string& name) override
    {
        return name == "debian" ? resolved : std::nullopt;
    }
    std::optional<Address> resolved = Address{127, 0, 1, 1};
};

class HostAddressLinuxVariables : public test::VariablesTest {};

TEST_F(HostAddressLinuxVariables, LocalIpShowsTheNetworkAddressForALoopbackName)
{
    HostsFile host(DOTVANE_FIXTURES "/route/two-defaults", LaptopInterfaces);
    {
        const HostAddressService::Scoped installed(host);
        EXPECT_EQ(ExpandVariable("localip"), "192.168.1.23");
        host.resolved = Address{192, 168, 1, 50};
        EXPECT_EQ(ExpandVariable("localip"), "192.168.1.50");
    }
    HostsFile isolated(DOTVANE_FIXTURES "/route/wired", [] { return std::vector<Ipv4Interface>{Loopback()}; });
    const HostAddressService::Scoped installed(isolated);
    EXPECT_EQ(ExpandVariable("localip"), "127.0.1.1");
}

// The flags of an interface as /sys shows them (up 0x1, loopback 0x8).
std::optional<unsigned long> SysFlags(const std::string& name)
{
    std::ifstream in("/sys/class/net/" + name.substr(0, name.find(':')) + "/flags");
    std::string text;
    if (!std::getline(in, text)) return std::nullopt;
    return std::stoul(text, nullptr, 16);
}

TEST(HostAddressLinux, SystemInterfacesAgreeWithSys)
{
    const std::vector<Ipv4Interface> interfaces = SystemIpv4Interfaces();
    for (const Ipv4Interface& entry : interfaces) {
        const auto flags = SysFlags(entry.name);
        ASSERT_TRUE(flags.has_value()) << entry.name;
        EXPECT_EQ(entry.up, (*flags & 0x1) != 0) << entry.name;
        EXPECT_EQ(entry.loopback, (*flags & 0x8) != 0) << entry.name;
    }
    // A loopback interface that is up has its address.
    const auto lo = SysFlags("lo");
    if (lo && (*lo & 0x1) != 0) {
        EXPECT_TRUE(std::any_of(interfaces.begin(), interfaces.end(), [](const Ipv4Interface& i) {
            return i.name == "lo" && i.address == Address{127, 0, 0, 1} && i.loopback && i.up;
        }));
    }
}

}  // namespace
}  // namespace dotvane::platform
