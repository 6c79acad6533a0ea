#pragma once

// A FIFO for tests of readers that must not wait on one (Linux only).

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <initializer_list>
#include <stdexcept>
#include <string_view>
#include <system_error>
#include <utility>

namespace dotvane::test {

// A FIFO whose two ends the test itself holds open, with some bytes waiting
// in it. A reader's open of it returns at once, but a reader that reads it
// to the end waits until the test lets go of it (Release, or the end of the
// object), which ends that reader's wait with the end of the file and
// removes the FIFO.
class HeldFifo {
public:
    explicit HeldFifo(const std::filesystem::path& path, std::string_view waiting = "") : path_(path)
    {
        std::filesystem::create_directories(path.parent_path());
        if (::mkfifo(path.c_str(), 0600) != 0) throw std::runtime_error("mkfifo failed");
        fd_ = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        if (fd_ < 0) throw std::runtime_error("cannot open the FIFO");
        if (!waiting.empty() && ::write(fd_, waiting.data(), waiting.size()) != static_cast<ssize_t>(waiting.size()))
            throw std::runtime_error("cannot fill the FIFO");
    }
    ~HeldFifo() { Release(); }
    HeldFifo(const HeldFifo&) = delete;
    HeldFifo& operator=(const HeldFifo&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::string Name() const { return path_.string(); }

    // Removes the FIFO, so that later opens find nothing instead of
    // waiting for a writer, then closes the test's ends.
    void Release()
    {
        if (fd_ < 0) return;
        std::error_code ec;
        std::filesystem::remove(path_, ec);
        ::close(fd_);
        fd_ = -1;
    }

private:
    std::filesystem::path path_;
    int fd_ = -1;
};

// Runs `read` on a thread of its own and gives its result together with
// whether it came back within `patience` while the FIFOs were still held. A
// reader that waits on them is released after that time, so the test ends
// either way.
template <class Read>
auto ReadWhileHeld(std::initializer_list<HeldFifo*> fifos, Read read,
                   std::chrono::milliseconds patience = std::chrono::seconds(3))
{
    auto result = std::async(std::launch::async, std::move(read));
    const bool prompt = result.wait_for(patience) == std::future_status::ready;
    for (HeldFifo* fifo : fifos) fifo->Release();
    return std::make_pair(prompt, result.get());
}

template <class Read>
auto ReadWhileHeld(HeldFifo& fifo, Read read, std::chrono::milliseconds patience = std::chrono::seconds(3))
{
    return ReadWhileHeld({&fifo}, std::move(read), patience);
}

}  // namespace dotvane::test
