#include "platform/FileNames.h"

#include <string>
#include <system_error>

namespace dotvane::platform {
namespace {

bool SameIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// Walks the path part by part and replaces every part that does not exist by
// the one entry of its folder that matches it without regard to case.
std::filesystem::path MatchCase(const std::filesystem::path& path)
{
    std::error_code ec;
    std::filesystem::path result = path.root_path();
    for (const auto& part : path.relative_path()) {
        std::filesystem::path next = result / part;
        if (!std::filesystem::exists(next, ec)) {
            const std::filesystem::path folder = result.empty() ? std::filesystem::path(".") : result;
            std::filesystem::directory_iterator it(folder, ec), end;
            for (; !ec && it != end; it.increment(ec)) {
                const std::string name = it->path().filename().string();
                if (SameIgnoringCase(name, part.string())) {
                    next = result / name;
                    break;
                }
            }
        }
        result = next;
    }
    return result;
}

}  // namespace

std::filesystem::path NativePath(std::string_view name)
{
    std::string text(name);
    for (char& c : text)
        if (c == '\\') c = '/';
    std::filesystem::path path(text);
    std::error_code ec;
    if (text.empty() || std::filesystem::exists(path, ec)) return path;
    std::filesystem::path matched = MatchCase(path);
    return std::filesystem::exists(matched, ec) ? matched : path;
}

std::string ProgramFolder()
{
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return "./";
    std::string folder = exe.parent_path().string();
    if (!folder.ends_with('/')) folder += '/';
    return folder;
}

}  // namespace dotvane::platform
