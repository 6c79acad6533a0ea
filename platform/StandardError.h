#pragma once

#include <string_view>

namespace dotvane::platform {

// What became of bytes handed to standard error.
enum class ErrorOutput {
    // They were written, all of them.
    Written,
    // Standard error could not take them at once (a full pipe, a stalled
    // journal): none of them counts as written, and a later try may work.
    Dropped,
    // Standard error cannot take anything any more (its reader has gone, or
    // it is not open): nothing is written from now on.
    Closed,
};

// Standard error, written without ever waiting, so that a reader that
// stalls never holds up the program that writes.
class StandardError {
public:
    virtual ~StandardError() = default;
    // Writes the bytes whole or not at all; a few kilobytes at most.
    virtual ErrorOutput Write(std::string_view bytes) = 0;
};

}  // namespace dotvane::platform
