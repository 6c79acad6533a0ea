#include "config/IniFile.h"

#include "base/AsciiText.h"
#include "platform/FileNames.h"

#include <charconv>
#include <fstream>
#include <iterator>
#include <limits>

namespace dotvane {

IniFile IniFile::FromFile(const std::filesystem::path& file)
{
    IniFile ini;
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        ini.errorLine_ = -1;
        return ini;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        ini.errorLine_ = -1;
        return ini;
    }
    ini.Parse(text);
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

    Section* current = nullptr;
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
                current = nullptr;  // keys below a broken header belong nowhere
                continue;
            }
            std::string_view name = TrimBlanks(line.substr(1, close - 1));
            current = nullptr;
            for (Section& s : sections_)
                if (EqualsIgnoreCase(s.name, name)) current = &s;
            if (current == nullptr) {
                sections_.push_back(Section{std::string(name), {}});
                current = &sections_.back();
            }
            continue;
        }

        size_t equals = line.find('=');
        std::string_view key = equals == std::string_view::npos ? std::string_view{} : TrimBlanks(line.substr(0, equals));
        if (key.empty()) {
            if (errorLine_ == 0) errorLine_ = lineNumber;
            continue;
        }
        if (current == nullptr) continue;  // before any section: never reachable

        std::string_view value = TrimBlanks(line.substr(equals + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);

        bool seen = false;
        for (const Entry& e : current->entries)
            if (EqualsIgnoreCase(e.key, key)) seen = true;
        if (!seen) current->entries.push_back(Entry{std::string(key), std::string(value), lineNumber});
    }
}

const IniFile::Section* IniFile::FindSection(std::string_view name) const
{
    for (const Section& s : sections_)
        if (EqualsIgnoreCase(s.name, name)) return &s;
    return nullptr;
}

const IniFile::Entry* IniFile::FindEntry(std::string_view section, std::string_view key) const
{
    const Section* s = FindSection(section);
    if (s == nullptr) return nullptr;
    for (const Entry& e : s->entries)
        if (EqualsIgnoreCase(e.key, key)) return &e;
    return nullptr;
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
