// The file reader on Windows: regular files within a limit, and folders,
// devices and pipes refused without waiting on them.
#include "platform/RegularFiles.h"

#include "tests/support/TempDir.h"

#include "platform/win32/Win32Api.h"

#include <gtest/gtest.h>

#include <string>

namespace dotvane::platform {
namespace {

TEST(RegularFilesWin32, ReadsAWholeFileUpToTheLimit)
{
    test::TempDir dir;
    const auto file = dir.Write("a.txt", "0123456789");
    FileContents read = ReadRegularFile(file, 10);
    EXPECT_EQ(read.status, FileStatus::Ok);
    EXPECT_EQ(read.bytes, "0123456789");

    read = ReadRegularFile(file, 4);
    EXPECT_EQ(read.status, FileStatus::TooLarge);
    EXPECT_EQ(read.bytes, "0123");

    const std::string big(200000, 'x');
    read = ReadRegularFile(dir.Write("big.txt", big), big.size());
    EXPECT_EQ(read.status, FileStatus::Ok);
    EXPECT_EQ(read.bytes, big);
}

TEST(RegularFilesWin32, MissingNamesAndFolders)
{
    test::TempDir dir;
    EXPECT_EQ(ReadRegularFile(dir.Path() / "none.txt", 10).status, FileStatus::Missing);
    EXPECT_EQ(ReadRegularFile(dir.Path() / "none" / "a.txt", 10).status, FileStatus::Missing);
    EXPECT_EQ(ReadRegularFile("", 10).status, FileStatus::Missing);
    EXPECT_EQ(ReadRegularFile(dir.Path(), 10).status, FileStatus::NotRegular);
}

TEST(RegularFilesWin32, AFileOpenForWritingElsewhereIsRead)
{
    test::TempDir dir;
    const auto file = dir.Write("busy.txt", "text");
    const HANDLE writer = ::CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    const FileContents read = ReadRegularFile(file, 100);
    ::CloseHandle(writer);
    EXPECT_EQ(read.status, FileStatus::Ok);
    EXPECT_EQ(read.bytes, "text");
}

TEST(RegularFilesWin32, DevicesAreNotRead)
{
    EXPECT_EQ(ReadRegularFile("NUL", 100).status, FileStatus::NotRegular);
    EXPECT_EQ(ReadRegularFile("\\\\.\\NUL", 100).status, FileStatus::NotRegular);
}

TEST(RegularFilesWin32, APipeIsNotReadNorWaitedFor)
{
    const wchar_t* name = L"\\\\.\\pipe\\dotvane-regular-files-test";
    const HANDLE server = ::CreateNamedPipeW(name, PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 4096, 4096, 0,
                                             nullptr);
    ASSERT_NE(server, INVALID_HANDLE_VALUE);
    const FileContents read = ReadRegularFile(std::filesystem::path(name), 100);
    ::CloseHandle(server);
    EXPECT_EQ(read.status, FileStatus::NotRegular);
    EXPECT_EQ(read.bytes, "");
}

}  // namespace
}  // namespace dotvane::platform
