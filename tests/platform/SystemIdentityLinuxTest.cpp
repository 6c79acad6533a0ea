#include "platform/linux/ComputerInfoLinux.h"
#include "platform/linux/LocalClockLinux.h"
#include "tests/support/Variables.h"

#include <gtest/gtest.h>

#include <clocale>
#include <fstream>
#include <string>

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

class ComputerInfoLinuxVariables : public test::VariablesTest {};

TEST_F(ComputerInfoLinuxVariables, NameInLatin1CutByCharacters)
{
    std::string hostName = "M\xC3\xBCller-PC";
    ComputerInfoLinux info([&] { return hostName; });
    EXPECT_EQ(info.GetComputerName(50), "M\xFCller-PC");
    {
        const ComputerInfoService::Scoped installed(info);
        EXPECT_EQ(ExpandVariable("computername"), "M\xFCller-PC");
    }

    // 60 characters of two bytes each: the buffer of 50 holds 49 of them.
    hostName.clear();
    for (int i = 0; i < 60; ++i) hostName += "\xC3\xA4";
    EXPECT_EQ(info.GetComputerName(50), std::string(49, '\xE4'));
    EXPECT_EQ(info.GetComputerName(1), "");
    EXPECT_EQ(info.GetComputerName(0), "");
    hostName = "box\xFF";
    EXPECT_EQ(info.GetComputerName(50), "box?");
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

// Switches the character set of the C library to `name` for its lifetime.
class CharacterSet {
public:
    explicit CharacterSet(const char* name) : previous_(std::setlocale(LC_CTYPE, nullptr))
    {
        available_ = std::setlocale(LC_CTYPE, name) != nullptr;
    }
    ~CharacterSet() { std::setlocale(LC_CTYPE, previous_.c_str()); }
    CharacterSet(const CharacterSet&) = delete;
    CharacterSet& operator=(const CharacterSet&) = delete;
    bool Available() const { return available_; }

private:
    std::string previous_;
    bool available_ = false;
};

class LocalClockLinuxVariables : public test::VariablesTest {};

TEST_F(LocalClockLinuxVariables, TextsOfTheLocaleInLatin1)
{
    // Formats holding the kind of names that the locale's own formats hold.
    LocalClockLinux clock("%d. M\xC3\xA4rz %Y", "%H\xE6\x99\x82%M \xE2\x80\x93 %S");
    const LocalTime time{2024, 3, 2, 12, 7, 5, 9};
    {
        CharacterSet utf8("C.UTF-8");
        ASSERT_TRUE(utf8.Available());
        EXPECT_EQ(clock.FormatShortDate(time), "12. M\xE4rz 2024");
        EXPECT_EQ(clock.FormatLongTime(time), "07?05 - 09");
        const LocalClockService::Scoped installed(clock);
        // Today's date, in the same form.
        EXPECT_NE(ExpandVariable("date").find(". M\xE4rz "), std::string::npos);
    }
    // A locale whose character set is plain ASCII has no other letters.
    ASSERT_STREQ(std::setlocale(LC_CTYPE, nullptr), "C");
    EXPECT_EQ(clock.FormatShortDate(time), "12. M??rz 2024");
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
