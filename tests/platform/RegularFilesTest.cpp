#include "platform/RegularFiles.h"

#include "tests/support/HeldFifo.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>

#include <cstring>

namespace dotvane::platform {
namespace {

TEST(RegularFiles, ReadsAWholeFileUpToTheLimit)
{
    test::TempDir dir;
    const auto file = dir.Write("a.txt", "0123456789");
    FileContents read = ReadRegularFile(file, 100);
    EXPECT_EQ(read.status, FileStatus::Ok);
    EXPECT_EQ(read.bytes, "0123456789");

    read = ReadRegularFile(file, 10);
    EXPECT_EQ(read.status, FileStatus::Ok);
    EXPECT_EQ(read.bytes, "0123456789");

    read = ReadRegularFile(dir.Write("empty.txt", ""), 10);
    EXPECT_EQ(read.status, FileStatus::Ok);
    EXPECT_EQ(read.bytes, "");
}

TEST(RegularFiles, AFileOverTheLimitGivesItsFirstBytes)
{
    test::TempDir dir;
    const auto file = dir.Write("a.txt", "0123456789");
    FileContents read = ReadRegularFile(file, 9);
    EXPECT_EQ(read.status, FileStatus::TooLarge);
    EXPECT_EQ(read.bytes, "012345678");

    read = ReadRegularFile(file, 0);
    EXPECT_EQ(read.status, FileStatus::TooLarge);
    EXPECT_EQ(read.bytes, "");

    // Longer than one read of the loop.
    const std::string big(300000, 'x');
    read = ReadRegularFile(dir.Write("big.txt", big + "y"), big.size());
    EXPECT_EQ(read.status, FileStatus::TooLarge);
    EXPECT_EQ(read.bytes, big);
    read = ReadRegularFile(dir.Write("exact.txt", big), big.size());
    EXPECT_EQ(read.status, FileStatus::Ok);
    EXPECT_EQ(read.bytes.size(), big.size());
}

TEST(RegularFiles, MissingNames)
{
    test::TempDir dir;
    EXPECT_EQ(ReadRegularFile(dir.Path() / "none.txt", 10).status, FileStatus::Missing);
    EXPECT_EQ(ReadRegularFile(dir.Path() / "none" / "a.txt", 10).status, FileStatus::Missing);
    EXPECT_EQ(ReadRegularFile(dir.Write("file", "x") / "a.txt", 10).status, FileStatus::Missing);
    EXPECT_EQ(ReadRegularFile("", 10).status, FileStatus::Missing);
}

TEST(RegularFiles, AFolderIsNotRead)
{
    test::TempDir dir;
    const FileContents read = ReadRegularFile(dir.Path(), 10);
    EXPECT_EQ(read.status, FileStatus::NotRegular);
    EXPECT_EQ(read.bytes, "");
}

TEST(RegularFiles, AFifoIsRefusedWithoutWaiting)
{
    test::TempDir dir;
    test::HeldFifo fifo(dir.Path() / "fifo", "[s]\nk=v\n");
    const auto [prompt, read] = test::ReadWhileHeld(fifo, [&] { return ReadRegularFile(fifo.Path(), 100); });
    EXPECT_TRUE(prompt);
    EXPECT_EQ(read.status, FileStatus::NotRegular);
    EXPECT_EQ(read.bytes, "");

    // Without any writer: an open that waited would never return.
    const auto lone = dir.Path() / "lone";
    ASSERT_EQ(::mkfifo(lone.c_str(), 0600), 0);
    EXPECT_EQ(ReadRegularFile(lone, 100).status, FileStatus::NotRegular);
}

TEST(RegularFiles, DevicesAndEndlessFilesAreNotRead)
{
    EXPECT_EQ(ReadRegularFile("/dev/zero", 100).status, FileStatus::NotRegular);
    EXPECT_EQ(ReadRegularFile("/dev/null", 100).status, FileStatus::NotRegular);
    test::TempDir dir;
    std::filesystem::create_symlink("/dev/zero", dir.Path() / "settings.ini");
    EXPECT_EQ(ReadRegularFile(dir.Path() / "settings.ini", 100).status, FileStatus::NotRegular);
}

TEST(RegularFiles, ASocketIsNotRead)
{
    test::TempDir dir;
    const std::string name = (dir.Path() / "sock").string();
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(name.size(), sizeof(address.sun_path));
    std::memcpy(address.sun_path, name.c_str(), name.size() + 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    EXPECT_EQ(ReadRegularFile(name, 100).status, FileStatus::NotRegular);
    ::close(fd);
}

TEST(RegularFiles, KernelFilesThatReportNoSizeAreReadWhole)
{
    // /proc files report a size of 0 and still hold text.
    const FileContents read = ReadRegularFile("/proc/self/status", 1024 * 1024);
    EXPECT_EQ(read.status, FileStatus::Ok);
    EXPECT_NE(read.bytes.find("Name:"), std::string::npos);
    EXPECT_NE(read.bytes.find("VmRSS:"), std::string::npos);
}

TEST(RegularFiles, ALinkToAFileIsRead)
{
    test::TempDir dir;
    const auto file = dir.Write("real.ini", "[a]\n");
    std::filesystem::create_symlink(file, dir.Path() / "link.ini");
    const FileContents read = ReadRegularFile(dir.Path() / "link.ini", 100);
    EXPECT_EQ(read.status, FileStatus::Ok);
    EXPECT_EQ(read.bytes, "[a]\n");
}

}  // namespace
}  // namespace dotvane::platform
