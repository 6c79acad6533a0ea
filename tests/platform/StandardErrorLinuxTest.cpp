#include "platform/linux/StandardErrorLinux.h"

#include "platform/StopRequests.h"
#include "platform/linux/StandardDescriptors.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace dotvane::platform {
namespace {

// Both ends of a pipe or a socket pair, closed at the end.
struct Ends {
    int read = -1, write = -1;
    ~Ends()
    {
        for (const int end : {read, write})
            if (end >= 0) close(end);
    }
};

Ends MakePipe()
{
    int ends[2];
    EXPECT_EQ(pipe(ends), 0);
    return {ends[0], ends[1]};
}

Ends MakeSockets()
{
    int ends[2];
    EXPECT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0);
    return {ends[0], ends[1]};
}

std::string ReadAll(int descriptor)
{
    std::string read;
    fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) | O_NONBLOCK);
    char bytes[4096];
    for (ssize_t n; (n = ::read(descriptor, bytes, sizeof bytes)) > 0;) read.append(bytes, static_cast<size_t>(n));
    return read;
}

TEST(StandardErrorLinux, AFullPipeOrSocketDropsLinesWithoutWaitingAndTakesWholeOnesAgainOnceRead)
{
    const StopRequests requests;  // SIGPIPE ignored, as in the program
    const std::vector<std::function<Ends()>> makers{MakePipe, MakeSockets};
    for (const auto& make : makers) {
        Ends ends = make();
        const int flags = fcntl(ends.write, F_GETFL);
        StandardErrorLinux out(ends.write);
        // Another process sharing the descriptor still writes with waits.
        EXPECT_EQ(fcntl(ends.write, F_GETFL), flags);
        const std::string line = std::string(999, 'x') + "\n";
        int written = 0;
        while (out.Write(line) == ErrorOutput::Written) ++written;
        EXPECT_GT(written, 4);
        EXPECT_EQ(out.Write(std::string(999, 'y') + "\n"), ErrorOutput::Dropped);
        const std::string first = ReadAll(ends.read);
        EXPECT_EQ(out.Write("after\n"), ErrorOutput::Written);
        const std::string all = first + ReadAll(ends.read);
        // Every line arrived whole; one that got only partly through ends
        // before the next begins.
        EXPECT_TRUE(all.ends_with("\nafter\n"));
        EXPECT_EQ(all.find('y'), std::string::npos);
        EXPECT_GE(all.size(), line.size() * static_cast<size_t>(written));
    }
}

TEST(StandardErrorLinux, AReaderThatHasGoneClosesItForGood)
{
    const StopRequests requests;
    const std::vector<std::function<Ends()>> makers{MakePipe, MakeSockets};
    for (const auto& make : makers) {
        Ends ends = make();
        StandardErrorLinux out(ends.write);
        EXPECT_EQ(out.Write("one\n"), ErrorOutput::Written);
        close(ends.read);
        ends.read = -1;
        EXPECT_EQ(out.Write("two\n"), ErrorOutput::Closed);
        EXPECT_EQ(out.Write("three\n"), ErrorOutput::Closed);
    }
    // A pipe without a reader from the start, and no descriptor at all.
    Ends ends = MakePipe();
    close(ends.read);
    ends.read = -1;
    EXPECT_EQ(StandardErrorLinux(ends.write).Write("x\n"), ErrorOutput::Closed);
    EXPECT_EQ(StandardErrorLinux(1000).Write("x\n"), ErrorOutput::Closed);
}

TEST(StandardErrorLinux, ARegularFileIsWrittenAtItsEnd)
{
    char name[] = "/tmp/dotvane-stderr-XXXXXX";
    const int file = mkstemp(name);
    ASSERT_GE(file, 0);
    unlink(name);
    ASSERT_EQ(write(file, "before\n", 7), 7);
    {
        StandardErrorLinux out(file);
        EXPECT_EQ(out.Write("line\n"), ErrorOutput::Written);
    }
    std::string content(32, '\0');
    content.resize(static_cast<size_t>(pread(file, content.data(), content.size(), 0)));
    EXPECT_EQ(content, "before\nline\n");
    close(file);
}

// Whether the descriptor is open on /dev/null.
bool OnDevNull(int descriptor)
{
    struct stat null {};
    struct stat opened {};
    return stat("/dev/null", &null) == 0 && fstat(descriptor, &opened) == 0 && opened.st_rdev == null.st_rdev;
}

TEST(StandardDescriptorsDeathTest, ClosedStandardDescriptorsAreOpenedOnDevNull)
{
    EXPECT_EXIT(
        {
            close(1);
            close(2);
            OpenMissingStandardDescriptors();
            // The next descriptor the program opens is one of its own.
            const int next = dup(0);
            std::_Exit(OnDevNull(1) && OnDevNull(2) && next > 2 && fcntl(0, F_GETFD) != -1 ? 7 : 8);
        },
        ::testing::ExitedWithCode(7), "");
}

}  // namespace
}  // namespace dotvane::platform
