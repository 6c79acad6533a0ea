#include "config/IniFile.h"

#include "base/AsciiText.h"
#include "platform/Latin1Text.h"
#include "platform/ProgramText.h"

#include <charconv>
#include <cstdint>
#include <limits>

namespace dotvane {

namespace {

// A file's text as program text. Windows Notepad saves "Unicode" as UTF-16
// after a byte-order mark, little-endian, or big-endian; the system turns
// it into its one-byte text as it reads such a file. Any other file is
// UTF-8 when all of it is, and Latin-1 (a file written on Windows)
// otherwise.
std::string FileText(std::string_view bytes)
{
    const bool little = bytes.starts_with("\xFF\xFE");
    if (!little && !bytes.starts_with("\xFE\xFF")) return platform::Latin1FromFileBytes(bytes);
    bytes.remove_prefix(2);
    std::u16string units;
    units.reserve(bytes.size() / 2 + 1);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        units += static_cast<char16_t>(little ? first | second << 8 : first << 8 | second);
    }
    // Half a character at the end is a character the text lacks.
    if (bytes.size() % 2 != 0) units += u'\uFFFD';
    return platform::ProgramTextFromUtf16(units);
}

}  // namespace

size_t IniFile::FoldedHash::operator()(std::string_view name) const
{
    // FNV-1a over the lower-case bytes.
    uint64_t hash = 14695981039346656037ull;
    for (char c : name) {
        hash ^= static_cast<unsigned char>(AsciiLower(c));
        hash *= 1099511628211ull;
    }
    return static_cast<size_t>(hash);
}

bool IniFile::FoldedEqual::operator()(std::string_view a, std::string_view b) const { return EqualsIgnoreCase(a, b); }

IniFile IniFile::FromFile(const std::filesystem::path& file)
{
    IniFile ini;
    const platform::FileContents contents = platform::ReadRegularFile(file, kIniFileLimit);
    ini.readStatus_ = contents.status;
    if (contents.status != platform::FileStatus::Ok) {
        ini.errorLine_ = -1;
        return ini;
    }
    ini.Parse(FileText(contents.bytes));
    return ini;
}

IniFile IniFile::FromString(std::string_view text)
{
    IniFile ini;
    ini.Parse(text);
    return ini;
}

void IniFile::Parse(std::string_view text)
{
    constexpr std::string_view bom = "\xEF\xBB\xBF";
    if (text.starts_with(bom)) text.remove_prefix(bom.size());

    // Sections only grow at the end, so the index of the current one stays
    // valid where a pointer would not.
    constexpr size_t kNoSection = SIZE_MAX;
    size_t current = kNoSection;
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);

        line = TrimBlanks(line);
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;

        if (line.front() == '[') {
            size_t close = line.find(']');
            if (close == std::string_view::npos) {
                if (errorLine_ == 0) errorLine_ = lineNumber;
                current = kNoSection;  // keys below a broken header belong nowhere
                continue;
            }
            const std::string_view name = TrimBlanks(line.substr(1, close - 1));
            const auto [it, added] = sectionIndex_.try_emplace(std::string(name), sections_.size());
            if (added) sections_.push_back(Section{std::string(name), {}});
            current = it->second;
            continue;
        }

        size_t equals = line.find('=');
        std::string_view key = equals == std::string_view::npos ? std::string_view{} : TrimBlanks(line.substr(0, equals));
        if (key.empty()) {
            if (errorLine_ == 0) errorLine_ = lineNumber;
            continue;
        }
        if (current == kNoSection) continue;  // before any section: never reachable

        std::string_view value = TrimBlanks(line.substr(equals + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);

        // The first occurrence of a key stays.
        sections_[current].entries.try_emplace(std::string(key), Entry{std::string(value), lineNumber});
    }
}

const IniFile::Section* IniFile::FindSection(std::string_view name) const
{
    const auto it = sectionIndex_.find(name);
    return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

const IniFile::Entry* IniFile::FindEntry(std::string_view section, std::string_view key) const
{
    const Section* s = FindSection(section);
    if (s == nullptr) return nullptr;
    const auto it = s->entries.find(key);
    return it == s->entries.end() ? nullptr : &it->second;
}

std::vector<std::string> IniFile::Sections() const
{
    std::vector<std::string> names;
    names.reserve(sections_.size());
    for (const Section& s : sections_) names.push_back(s.name);
    return names;
}

bool IniFile::HasSection(std::string_view section) const { return FindSection(section) != nullptr; }

bool IniFile::HasKey(std::string_view section, std::string_view key) const { return FindEntry(section, key) != nullptr; }

int IniFile::LineOf(std::string_view section, std::string_view key) const
{
    const Entry* e = FindEntry(section, key);
    return e ? e->line : 0;
}

std::string IniFile::GetString(std::string_view section, std::string_view key, std::string_view def) const
{
    const Entry* e = FindEntry(section, key);
    return e ? e->value : std::string(def);
}

int32_t IniFile::GetInteger(std::string_view section, std::string_view key, int32_t def) const
{
    const Entry* e = FindEntry(section, key);
    int32_t value = def;
    if (e != nullptr) ParseIniInteger(e->value, value);
    return value;
}

bool IniFile::GetBool(std::string_view section, std::string_view key, bool def) const
{
    return GetInteger(section, key, def ? 1 : 0) != 0;
}

double IniFile::GetReal(std::string_view section, std::string_view key, double def) const
{
    const Entry* e = FindEntry(section, key);
    double value = def;
    if (e != nullptr) ParseIniReal(e->value, value);
    return value;
}

bool ParseIniInteger(std::string_view text, int32_t& out)
{
    std::string_view s = TrimBlanks(text);
    bool negative = false;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    int base = 10;
    if (s.starts_with('$')) {
        base = 16;
        s.remove_prefix(1);
    } else if (s.starts_with("0x") || s.starts_with("0X")) {
        base = 16;
        s.remove_prefix(2);
    }
    if (s.empty()) return false;

    uint64_t magnitude = 0;
    auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), magnitude, base);
    if (ec != std::errc{} || ptr != s.data() + s.size()) return false;

    if (base == 16) {
        // Hexadecimal spells the 32-bit pattern, so $FFFFFFFF is -1.
        if (magnitude > std::numeric_limits<uint32_t>::max()) return false;
        uint32_t bits = static_cast<uint32_t>(magnitude);
        if (negative) bits = 0u - bits;
        out = static_cast<int32_t>(bits);
        return true;
    }
    const uint64_t limit = negative ? uint64_t{1} << 31 : (uint64_t{1} << 31) - 1;
    if (magnitude > limit) return false;
    out = negative ? static_cast<int32_t>(-static_cast<int64_t>(magnitude)) : static_cast<int32_t>(magnitude);
    return true;
}

bool ParseIniReal(std::string_view text, double& out)
{
    std::string_view s = TrimBlanks(text);
    if (s.starts_with('+')) s.remove_prefix(1);
    if (s.empty()) return false;
    double value = 0;
    auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), value, std::chars_format::general);
    if (ec != std::errc{} || ptr != s.data() + s.size()) return false;
    out = value;
    return true;
}

}  // namespace dotvane
