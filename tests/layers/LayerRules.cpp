#include "tests/layers/LayerRules.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <initializer_list>
#include <utility>

namespace dotvane::test {
namespace {

// Folders in the order they are tried, longer ones first.
constexpr std::array<std::pair<std::string_view, Layer>, 11> kFolders{{
    {"app/qt/", Layer::Shell},
    {"app/win32/", Layer::Shell},
    {"vars/net/", Layer::Net},
    {"lcd/emulator/", Layer::Emulator},
    {"base/", Layer::Base},
    {"platform/", Layer::Platform},
    {"config/", Layer::Config},
    {"lcd/", Layer::Lcd},
    {"vars/", Layer::Vars},
    {"render/", Layer::Render},
    {"app/", Layer::App},
}};

bool IsSource(const std::filesystem::path& file)
{
    const std::string extension = file.extension().string();
    return extension == ".h" || extension == ".cpp" || extension == ".inc" || extension == ".c";
}

// The text between the quotes or angle brackets of an include line;
// nothing for any other line.
std::optional<std::pair<std::string, bool>> Included(std::string_view line)
{
    const size_t start = line.find_first_not_of(" \t");
    if (start == std::string_view::npos || line[start] != '#') return std::nullopt;
    line.remove_prefix(start + 1);
    line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size()));
    if (!line.starts_with("include")) return std::nullopt;
    line.remove_prefix(7);
    const size_t open = line.find_first_of("\"<");
    if (open == std::string_view::npos) return std::nullopt;
    const char close = line[open] == '"' ? '"' : '>';
    const size_t end = line.find(close, open + 1);
    if (end == std::string_view::npos) return std::nullopt;
    return std::make_pair(std::string(line.substr(open + 1, end - open - 1)), close == '"');
}

}  // namespace

std::optional<Layer> LayerOf(std::string_view path)
{
    for (const auto& [folder, layer] : kFolders)
        if (path.starts_with(folder)) return layer;
    return std::nullopt;
}

bool MayInclude(Layer from, Layer to)
{
    using enum Layer;
    auto any = [to](std::initializer_list<Layer> allowed) {
        return std::find(allowed.begin(), allowed.end(), to) != allowed.end();
    };
    switch (from) {
    case Base:
        return any({Base});
    case Platform:
        return any({Platform, Base});
    case Config:
        return any({Config, Platform, Base});
    case Lcd:
        return any({Lcd, Config, Platform, Base});
    case Emulator:
        return any({Emulator, Lcd, Platform, Base});
    case Vars:
        return any({Vars, Config, Platform, Base});
    case Net:
        return any({Net, Platform, Base});
    case Render:
        return any({Render, Vars, Lcd, Config, Platform, Base});
    case App:
        return any({App, Render, Vars, Net, Lcd, Config, Platform, Base});
    case Shell:
        return any({Shell, App, Render, Vars, Net, Lcd, Config, Platform, Base});
    }
    return false;
}

bool MayIncludeQt(std::string_view path)
{
    return path.starts_with("app/qt/") || path.starts_with("platform/qt/") || path.starts_with("platform/linux/mpris/");
}

bool IsQtHeader(std::string_view header)
{
    // <QImage>, <QtCore/QString>, and the lower-case forms <qimage.h>.
    return header.starts_with("Q") || (header.starts_with("q") && header.ends_with(".h"));
}

bool IsWindowsHeader(std::string_view header)
{
    std::string name(header);
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    if (!name.ends_with(".h")) return false;
    // The Windows API's own names (windows.h, winuser.h, winver.h, ...),
    // its C++ helpers and the driver kit, then the others it has.
    for (std::string_view prefix : {"win", "wrl/", "ddk/"})
        if (name.starts_with(prefix)) return true;
    static constexpr std::array<std::string_view, 13> kHeaders{
        "ws2tcpip.h", "shellapi.h", "commctrl.h", "objbase.h",  "ole2.h",  "pdh.h",    "pdhmsg.h",
        "shlobj.h",   "iphlpapi.h", "tlhelp32.h", "psapi.h",    "mmsystem.h", "setupapi.h"};
    return std::find(kHeaders.begin(), kHeaders.end(), name) != kHeaders.end();
}

bool MayIncludeWindows(std::string_view path)
{
    return path.starts_with("platform/") || path.starts_with("app/win32/");
}

std::vector<Violation> FindViolations(const std::filesystem::path& root)
{
    std::vector<Violation> violations;
    for (const auto& [folder, folderLayer] : kFolders) {
        if (!std::filesystem::is_directory(root / folder)) continue;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root / folder)) {
            if (!entry.is_regular_file() || !IsSource(entry.path())) continue;
            const std::string file = std::filesystem::relative(entry.path(), root).generic_string();
            // A file in a folder of its own below another (lcd/emulator/
            // below lcd/) is checked when that folder's turn comes.
            const std::optional<Layer> layer = LayerOf(file);
            if (layer != folderLayer) continue;
            std::ifstream in(entry.path());
            int number = 0;
            for (std::string line; std::getline(in, line);) {
                ++number;
                const auto included = Included(line);
                if (!included) continue;
                const auto& [name, quoted] = *included;
                bool broken = false;
                if (quoted) {
                    const std::optional<Layer> target = LayerOf(name);
                    broken = target && !MayInclude(*layer, *target);
                    // Every other project folder lies outside the layers.
                    broken = broken || name.starts_with("tests/") || name.starts_with("fuzz/") ||
                             name.starts_with("bench/");
                }
                broken = broken || (IsQtHeader(name) && !MayIncludeQt(file)) ||
                         (IsWindowsHeader(name) && !MayIncludeWindows(file));
                if (broken) violations.push_back({file, number, name});
            }
        }
    }
    return violations;
}

}  // namespace dotvane::test
