#pragma once

#include "platform/StandardError.h"

namespace dotvane::platform {

// Standard error of a Linux process. A pipe, FIFO or terminal is opened
// anew through /proc as a non-blocking file of the program's own, so that
// neither the descriptor it shares with others nor their way of writing
// changes; a socket (the journal's) is sent to without waiting; a regular
// file is written as it is. A write that fails because the reader has gone
// (EPIPE) closes it for good; with SIGPIPE ignored, the program goes on.
class StandardErrorLinux : public StandardError {
public:
    // Descriptor 2, or another one the caller keeps open (tests).
    explicit StandardErrorLinux(int descriptor = 2);
    ~StandardErrorLinux() override;
    StandardErrorLinux(const StandardErrorLinux&) = delete;
    StandardErrorLinux& operator=(const StandardErrorLinux&) = delete;

    ErrorOutput Write(std::string_view bytes) override;

private:
    enum class Way { None, Send, Write, PollThenWrite };

    void Close();

    int descriptor_ = -1;
    bool ownDescriptor_ = false;
    Way way_ = Way::None;
    // A write that got only part of its bytes through (a terminal or a
    // socket can take part) left a line without its end; the next write
    // begins with one.
    bool lineOpen_ = false;
};

}  // namespace dotvane::platform
