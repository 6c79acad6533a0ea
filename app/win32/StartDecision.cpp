#include "app/win32/StartDecision.h"

#include "app/Edition.h"

namespace dotvane {
namespace {

std::string WindowsHelpText(std::string_view program)
{
    return "Usage: " + std::string(program) + " [--help | --version]\n\n"
           "Shows system information on a graphic LCD on the parallel port, and on a virtual display in its "
           "window.\n\n"
           "--help\tshow this text\n"
           "--version\tshow the program's name and version\n\n"
           "The program reads DOTVANE.INI from its own folder.";
}

}  // namespace

StartDecision DecideStart(const CommandLine& line, std::string_view program)
{
    switch (line.Mode) {
    case StartMode::Window:
        return {};
    case StartMode::Help:
        return {false, WindowsHelpText(program), false, 0};
    case StartMode::Version:
        return {false, ProgramCaption(), false, 0};
    case StartMode::Headless:
        return {false,
                "--headless is an option of the Linux program. On Windows, Dotvane runs with its window; minimise "
                "it to keep only the notification-area icon.",
                true, kUsageExitStatus};
    case StartMode::Refused:
        break;
    }
    return {false, line.Complaint, true, kUsageExitStatus};
}

}  // namespace dotvane
