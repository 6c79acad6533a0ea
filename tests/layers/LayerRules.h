#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dotvane::test {

// The layers of the source tree, from the bottom up, and what each may
// include: its own headers and those of the layers it uses, never one
// above. The panel emulators and the port libraries beside them sit on the
// display layer; the shells (app/qt/, app/win32/) on the program's logic.
enum class Layer { Base, Platform, Config, Lcd, Emulator, Vars, Net, Render, App, Shell };

// The layer a file belongs to by its path inside the source tree ("lcd/
// T6963CDriver.cpp", "vars/net/LineSocket.h"); nothing for files outside
// the layers (tests, fuzzers, benchmarks).
std::optional<Layer> LayerOf(std::string_view path);

// Whether code of layer `from` may include a header of layer `to`.
bool MayInclude(Layer from, Layer to);

// Whether a file may include Qt: the Qt shell, the font engine and image
// decoder on Qt, and on Linux the player that asks D-Bus.
bool MayIncludeQt(std::string_view path);
bool IsQtHeader(std::string_view header);

// Whether a system header is one of the Windows API's, and whether a file
// may include one: only the platform layer and the Windows shell may.
bool IsWindowsHeader(std::string_view header);
bool MayIncludeWindows(std::string_view path);

// One include that breaks the rules: the file, its line, and what it
// includes.
struct Violation {
    std::string file;
    int line = 0;
    std::string included;
};

// Every include of every source file of the layers under `root` that
// breaks the rules.
std::vector<Violation> FindViolations(const std::filesystem::path& root);

}  // namespace dotvane::test
