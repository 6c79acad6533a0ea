#pragma once

#include "app/CommandLine.h"

#include <string>
#include <string_view>

namespace dotvane {

// What the Windows program does with its command line. It has no console to
// write to, so whatever it has to say is a message box: the list of options,
// the caption, or why it refuses to start.
struct StartDecision {
    // Start the window; otherwise show the box and end.
    bool RunWindow = true;
    std::string Box;
    bool BoxIsError = false;
    int ExitStatus = 0;

    bool operator==(const StartDecision&) const = default;
};

// `program` is the name the program was started by.
StartDecision DecideStart(const CommandLine& line, std::string_view program);

}  // namespace dotvane
