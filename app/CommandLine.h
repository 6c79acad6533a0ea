#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace dotvane {

// What the command line asks for.
enum class StartMode {
    Window,    // no options: the program with its window
    Headless,  // --headless: the program without a window
    Help,      // --help: the list of options
    Version,   // --version: the caption
    Refused,   // anything else: a one-line complaint and exit status 2
};

struct CommandLine {
    StartMode Mode = StartMode::Window;
    // With Refused, the line that says what was wrong.
    std::string Complaint;
};

// Reads the arguments after the program's name. Any argument that is not
// an option of the program is refused, whatever else is given; otherwise
// --help wins over --version, and that over --headless. `program` is the
// name the program was started by, for the complaint.
CommandLine ParseCommandLine(std::string_view program, const std::vector<std::string>& arguments);

// The text of --help.
std::string HelpText(std::string_view program);

// The exit status when the command line or the environment does not allow
// the program to start.
inline constexpr int kUsageExitStatus = 2;

}  // namespace dotvane
