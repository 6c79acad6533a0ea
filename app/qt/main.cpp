#include "app/CommandLine.h"
#include "app/Edition.h"
#include "app/qt/Programs.h"
#include "platform/linux/StandardDescriptors.h"

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char* argv[])
{
    dotvane::platform::OpenMissingStandardDescriptors();
    dotvane::platform::IgnoreBrokenPipes();
    char fallbackName[] = "dotvane";
    char* program = argc > 0 && argv[0] != nullptr ? argv[0] : fallbackName;
    const std::string name = std::filesystem::path(program).filename().string();
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);

    const dotvane::CommandLine line = dotvane::ParseCommandLine(name, arguments);
    switch (line.Mode) {
    case dotvane::StartMode::Help:
        std::cout << dotvane::HelpText(name);
        return 0;
    case dotvane::StartMode::Version:
        std::cout << dotvane::ProgramCaption() << '\n';
        return 0;
    case dotvane::StartMode::Refused:
        std::cerr << line.Complaint << '\n';
        return dotvane::kUsageExitStatus;
    case dotvane::StartMode::Headless:
        return dotvane::RunHeadless(program);
    case dotvane::StartMode::Window:
        break;
    }
    return dotvane::RunWithWindow(program);
}
