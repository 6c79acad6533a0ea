// The Windows program: a window program without a console, so what it has
// to say about its command line is said in a message box.
#include "app/CommandLine.h"
#include "app/win32/StartDecision.h"
#include "app/win32/WindowProgram.h"

#include <filesystem>
#include <string>
#include <vector>

int main(int argc, char* argv[])
{
    const std::string name =
        argc > 0 && argv[0] != nullptr ? std::filesystem::path(argv[0]).filename().string() : "dotvane.exe";
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const dotvane::StartDecision start = dotvane::DecideStart(dotvane::ParseCommandLine(name, arguments), name);
    if (start.RunWindow) return dotvane::RunWindowProgram(::GetModuleHandleA(nullptr));
    ::MessageBoxA(nullptr, start.Box.c_str(), "Dotvane", MB_OK | (start.BoxIsError ? MB_ICONERROR : MB_ICONINFORMATION));
    return start.ExitStatus;
}
