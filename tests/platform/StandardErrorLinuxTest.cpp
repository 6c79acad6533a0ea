#include "platform/linux/StandardErrorLinux.h"

#include "platform/StopRequests.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

namespace dotvane::platform {
namespace {

std::string ReadAll(int descriptor)
{
    std::string read;
    fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) | O_NONBLOCK);
    char bytes[4096];
    for (ssize_t n; (n = ::read(descriptor, bytes, sizeof bytes)) > 0;) read.append(bytes, static_cast<size_t>(n));
    return read;
}

TEST(StandardErrorLinux, APipeOrSocketThatIsFullDropsLinesAndOneWithoutReaderClosesForGood)
{
    const StopRequests requests;  // SIGPIPE ignored, as in the program
    for (const bool socket : {false, true}) {
        int ends[2];
        ASSERT_EQ(socket ? socketpair(AF_UNIX, SOCK_STREAM, 0, ends) : pipe(ends), 0);
        const int flags = fcntl(ends[1], F_GETFL);
        StandardErrorLinux out(ends[1]);
        // Others who share the descriptor still write to it with waits.
        EXPECT_EQ(fcntl(ends[1], F_GETFL), flags);
        const std::string line = std::string(999, 'x') + "\n";
        int written = 0;
        while (out.Write(line) == ErrorOutput::Written) ++written;
        EXPECT_GT(written, 4) << socket;
        EXPECT_EQ(out.Write(std::string(999, 'y') + "\n"), ErrorOutput::Dropped) << socket;
        const std::string first = ReadAll(ends[0]);
        EXPECT_EQ(out.Write("after\n"), ErrorOutput::Written) << socket;
        // A line that got only partly through ends before the next begins.
        const std::string all = first + ReadAll(ends[0]);
        EXPECT_TRUE(all.ends_with("\nafter\n")) << socket;
        EXPECT_EQ(all.find('y'), std::string::npos) << socket;
        close(ends[0]);
        EXPECT_EQ(out.Write("gone\n"), ErrorOutput::Closed) << socket;
        EXPECT_EQ(out.Write("still gone\n"), ErrorOutput::Closed) << socket;
        close(ends[1]);
    }
    EXPECT_EQ(StandardErrorLinux(1000).Write("not open\n"), ErrorOutput::Closed);
}

}  // namespace
}  // namespace dotvane::platform
