#include "platform/linux/dlportio/ParportDevices.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>

namespace dotvane::dlportio {
namespace {

std::string Fixture(const std::string& name) { return std::string(DOTVANE_FIXTURES) + "/" + name; }

struct BaseTextCase {
    const char* Text;
    std::optional<uint32_t> Address;
};

class FirstBaseAddressTest : public ::testing::TestWithParam<BaseTextCase> {};

TEST_P(FirstBaseAddressTest, ReadsTheLeadingDecimalNumber)
{
    EXPECT_EQ(FirstBaseAddress(GetParam().Text), GetParam().Address) << GetParam().Text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FirstBaseAddressTest,
    ::testing::Values(BaseTextCase{"888\t1912\n", 888}, BaseTextCase{"956\t1980\n", 956}, BaseTextCase{"888", 888},
                      BaseTextCase{" 632 1656", 632}, BaseTextCase{"888\n", 888}, BaseTextCase{"", std::nullopt},
                      BaseTextCase{"\n", std::nullopt}, BaseTextCase{"0x378\t1912\n", std::nullopt},
                      BaseTextCase{"888x\n", std::nullopt}, BaseTextCase{"-888\n", std::nullopt},
                      BaseTextCase{"4294967295\n", 4294967295u}, BaseTextCase{"4294967296\n", std::nullopt},
                      BaseTextCase{"99999999999999999999999\n", std::nullopt}));

TEST(FindParportDeviceTest, TheDeviceOfThePortWithTheBase)
{
    EXPECT_EQ(FindParportDevice(888, Fixture("two-ports"), "/dev"), "/dev/parport1");
    EXPECT_EQ(FindParportDevice(956, Fixture("two-ports"), "/devices"), "/devices/parport0");
    EXPECT_EQ(FindParportDevice(632, Fixture("far-port"), "/dev"), "/dev/parport3");
    EXPECT_EQ(FindParportDevice(888, Fixture("late-port"), "/dev"), "/dev/parport15");
}

TEST(FindParportDeviceTest, NoneWithoutAPortAtTheBase)
{
    EXPECT_EQ(FindParportDevice(632, Fixture("two-ports"), "/dev"), std::nullopt);
    EXPECT_EQ(FindParportDevice(888, Fixture("far-port"), "/dev"), std::nullopt);
    EXPECT_EQ(FindParportDevice(888, Fixture("garbled"), "/dev"), std::nullopt);
    EXPECT_EQ(FindParportDevice(888, Fixture("no-such-tree"), "/dev"), std::nullopt);
}

// A FIFO in place of a base-addr file gives nothing at once instead of
// waiting for a writer; a huge file is read no further than its start.
TEST(FindParportDeviceTest, HostileFilesNeitherBlockNorMatch)
{
    test::TempDir root;
    const std::filesystem::path ports = root.Path() / "sys/dev/parport";
    std::filesystem::create_directories(ports / "parport0");
    std::filesystem::create_directories(ports / "parport1");
    ASSERT_EQ(mkfifo((ports / "parport0/base-addr").c_str(), 0600), 0);
    root.Write("sys/dev/parport/parport1/base-addr", std::string(1 << 20, '8'));
    root.Write("sys/dev/parport/parport2/base-addr", "888\t1912\n");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(FindParportDevice(888, root.Path().string(), "/dev"), "/dev/parport2");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

}  // namespace
}  // namespace dotvane::dlportio
