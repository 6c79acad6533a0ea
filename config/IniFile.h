#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace dotvane {

// Read-only INI reader with the rules of the Windows profile functions that
// Dotvane's settings files were written for:
//
// - Lines end in LF or CR LF; a UTF-8 byte-order mark at the start is skipped.
// - A line whose first non-blank character is ';' or '#' is a comment. There
//   are no comments after a value: "Key=a ; b" gives "a ; b".
// - "[Name]" opens a section; text after the closing bracket is ignored.
//   Section and key names match without regard to ASCII case.
// - "Key=Value": the key and the value lose surrounding blanks (spaces and
//   tabs); a value then enclosed in double quotes loses the two quotes and
//   keeps everything between them, blanks included.
// - The first occurrence of a key in a section wins, as with the Windows
//   profile reader. A section written twice is one section (first position).
// - Keys before the first section belong to no section and are never found.
// - Lines have no length limit. Lines that are none of the above are skipped
//   and counted in ErrorLine(); nothing ever throws.
//
// Every getter takes the caller's default and returns it for a missing
// section, key or unparsable value.
class IniFile {
public:
    IniFile() = default;

    // Parses a file; a missing or unreadable file is an empty INI file and
    // ErrorLine() is -1.
    static IniFile FromFile(const std::filesystem::path& file);
    static IniFile FromString(std::string_view text);

    // 0 when every line parsed, -1 when the file could not be read, otherwise
    // the 1-based number of the first line that was skipped as malformed.
    int ErrorLine() const { return errorLine_; }

    // Section names in file order, as first written.
    std::vector<std::string> Sections() const;
    bool HasSection(std::string_view section) const;
    bool HasKey(std::string_view section, std::string_view key) const;
    // 1-based line of a key, 0 when it is absent.
    int LineOf(std::string_view section, std::string_view key) const;

    std::string GetString(std::string_view section, std::string_view key, std::string_view def) const;
    // Decimal, or hexadecimal after "$" or "0x", with an optional sign.
    int32_t GetInteger(std::string_view section, std::string_view key, int32_t def) const;
    // An integer: 0 is false, any other number true.
    bool GetBool(std::string_view section, std::string_view key, bool def) const;
    // A decimal floating-point number, with "." as the decimal separator.
    double GetReal(std::string_view section, std::string_view key, double def) const;

private:
    struct Entry {
        std::string key;
        std::string value;
        int line = 0;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };

    const Section* FindSection(std::string_view name) const;
    const Entry* FindEntry(std::string_view section, std::string_view key) const;
    void Parse(std::string_view text);

    std::vector<Section> sections_;
    int errorLine_ = 0;
};

// The value parsers behind the typed getters, exposed for other readers of
// configuration text. They return false and leave `out` alone on bad input.
bool ParseIniInteger(std::string_view text, int32_t& out);
bool ParseIniReal(std::string_view text, double& out);

}  // namespace dotvane
