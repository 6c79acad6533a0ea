#include "platform/FileNames.h"

#include "platform/Latin1Text.h"

#include <optional>
#include <string>
#include <system_error>

namespace dotvane::platform {
namespace {

namespace fs = std::filesystem;

// How many entries of a folder are looked at for a name written in another
// case: far more than a folder of settings, pictures or texts holds.
constexpr int kEntriesLookedAt = 65536;

// Latin-1 in lower case: the ASCII letters and the accented ones.
unsigned char Folded(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    const bool upper = (byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7);
    return upper ? static_cast<unsigned char>(byte + 0x20) : byte;
}

bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Folded(a[i]) != Folded(b[i])) return false;
    return true;
}

bool Exists(const fs::path& path)
{
    std::error_code ec;
    return fs::exists(path, ec);
}

// The one entry of `folder` whose name, read as program text, is `part`
// without regard to case; nothing when there is none, or more than one and
// no telling which was meant.
std::optional<std::string> MatchEntry(const fs::path& folder, std::string_view part)
{
    std::optional<std::string> found;
    std::error_code ec;
    fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec), end;
    for (int looked = 0; !ec && it != end && looked < kEntriesLookedAt; it.increment(ec), ++looked) {
        std::string name = it->path().filename().string();
        if (!SameIgnoringCase(Latin1FromFileBytes(name), part)) continue;
        if (found) return std::nullopt;
        found = std::move(name);
    }
    return found;
}

}  // namespace

std::filesystem::path NativePath(std::string_view name)
{
    // The system would read the name only up to the NUL.
    if (name.find('\0') != std::string_view::npos) return {};
    std::string written(name);
    for (char& c : written)
        if (c == '\\') c = '/';
    const std::string utf8 = Utf8FromLatin1(written);
    if (written.empty() || Exists(utf8)) return utf8;
    const fs::path path(written);
    if (Exists(path)) return path;

    // Part by part: in UTF-8, as written, or the entry that matches it.
    fs::path result = path.root_path();
    for (const fs::path& part : path.relative_path()) {
        const std::string text = part.string();
        fs::path next = result / Utf8FromLatin1(text);
        if (!Exists(next)) {
            if (Exists(result / part)) next = result / part;
            else if (const auto entry = MatchEntry(result, text)) next = result / *entry;
        }
        result = next;
    }
    return result;
}

std::string ShownName(const std::filesystem::path& path) { return Latin1FromFileBytes(path.string()); }

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
