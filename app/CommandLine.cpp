#include "app/CommandLine.h"

namespace dotvane {

CommandLine ParseCommandLine(std::string_view program, const std::vector<std::string>& arguments)
{
    bool headless = false, help = false, version = false;
    for (const std::string& argument : arguments) {
        if (argument == "--headless") {
            headless = true;
        } else if (argument == "--help") {
            help = true;
        } else if (argument == "--version") {
            version = true;
        } else {
            return {StartMode::Refused, std::string(program) + ": unknown option \"" + argument + "\" (see " +
                                            std::string(program) + " --help)"};
        }
    }
    if (help) return {StartMode::Help, {}};
    if (version) return {StartMode::Version, {}};
    return {headless ? StartMode::Headless : StartMode::Window, {}};
}

std::string HelpText(std::string_view program)
{
    const std::string name(program);
    return "Usage: " + name + " [--headless]\n"
           "Shows system information on a graphic LCD on the parallel port, and on a\n"
           "virtual display in its window.\n"
           "\n"
           "  --headless  run without a window, tray icon or display server; messages\n"
           "              and status-line texts go to standard error, time-stamped\n"
           "  --help      show this text and exit\n"
           "  --version   show the program's name and version and exit\n"
           "\n"
           "SIGTERM, SIGINT and SIGHUP end the program as File > Exit does, with exit\n"
           "status 0 and the LCD blanked; further ones while it ends change nothing.\n"
           "The exit status is 2 for an unknown option, and when the program is started\n"
           "without --headless where no display server can be reached.\n";
}

}  // namespace dotvane
