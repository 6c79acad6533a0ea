#include "platform/linux/ComputerInfoLinux.h"
#include "platform/linux/HostAddressLinux.h"
#include "platform/linux/LocalClockLinux.h"

#include <gtest/gtest.h>

#include <clocale>
#include <fstream>

namespace dotvane::platform {
namespace {

TEST(ComputerInfoLinux, NameFitsTheBufferAndPlatformIsNeitherWindowsFamily)
{
    ComputerInfoLinux info;
    const std::string full = info.GetComputerName(256);
    ASSERT_FALSE(full.empty());
    std::string kernelName;
    std::getline(std::ifstream("/proc/sys/kernel/hostname"), kernelName);
    EXPECT_EQ(full, kernelName);
    const std::string cut = info.GetComputerName(4);
    EXPECT_EQ(cut, full.substr(0, 3));
    EXPECT_EQ(info.GetComputerName(1), "");
    EXPECT_EQ(info.GetComputerName(0), "");
    EXPECT_EQ(info.GetPlatformId(), 0u);
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

TEST(LocalClockLinux, FormatsWithTheLocaleDateAndTimeFormats)
{
    // Tests run in the C locale: "%x" is MM/DD/YY and "%X" is HH:MM:SS.
    ASSERT_STREQ(std::setlocale(LC_TIME, nullptr), "C");
    LocalClockLinux clock;
    const LocalTime time{2024, 3, 2, 12, 7, 5, 9};
    EXPECT_EQ(clock.FormatShortDate(time), "03/12/24");
    EXPECT_EQ(clock.FormatLongTime(time), "07:05:09");
}

TEST(LocalClockLinux, ReadsAPlausibleLocalTime)
{
    const LocalTime now = LocalClockLinux().GetLocalTime();
    EXPECT_GE(now.Year, 2024);
    EXPECT_GE(now.Month, 1);
    EXPECT_LE(now.Month, 12);
    EXPECT_GE(now.DayOfWeek, 0);
    EXPECT_LE(now.DayOfWeek, 6);
    EXPECT_GE(now.Day, 1);
    EXPECT_LE(now.Day, 31);
    EXPECT_LE(now.Hour, 23);
}

}  // namespace
}  // namespace dotvane::platform
