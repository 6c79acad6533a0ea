#pragma once

#include "platform/RegularFiles.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace dotvane {

// Read-only INI reader with the rules of the Windows profile functions that
// Dotvane's settings files were written for:
//
// - Lines end in LF or CR LF; a UTF-8 byte-order mark at the start is skipped
//   (a UTF-16 one tells how the file is read, see FromFile).
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
// - Lines have no length limit within the file's. Lines that are none of the
//   above are skipped and counted in ErrorLine(); nothing ever throws.
// - Parsing and every look-up take time in proportion to the text's size
//   and the name's length, however many sections and keys the file holds.
//
// Every getter takes the caller's default and returns it for a missing
// section, key or unparsable value.
class IniFile {
public:
    IniFile() = default;

    // Parses a file of at most kIniFileLimit bytes, read as UTF-16 when it
    // starts with a UTF-16 byte-order mark (little- or big-endian), as UTF-8
    // when the whole file is valid UTF-8, and as Latin-1 otherwise (a file
    // written on Windows), so that its values are the program's text either
    // way. A file that is missing, is no regular file (a folder, FIFO or
    // device), is larger, or cannot be read is an empty INI file with
    // ErrorLine() -1; ReadStatus() tells which.
    static IniFile FromFile(const std::filesystem::path& file);
    static IniFile FromString(std::string_view text);

    // 0 when every line parsed, -1 when the file could not be read, otherwise
    // the 1-based number of the first line that was skipped as malformed.
    int ErrorLine() const { return errorLine_; }
    // How reading the file went; Ok for text parsed from a string.
    platform::FileStatus ReadStatus() const { return readStatus_; }

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
    // Hashing and comparing names without regard to ASCII case, so that the
    // tables are looked up with the name as the caller writes it.
    struct FoldedHash {
        using is_transparent = void;
        size_t operator()(std::string_view name) const;
    };
    struct FoldedEqual {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };
    template <typename T>
    using NameMap = std::unordered_map<std::string, T, FoldedHash, FoldedEqual>;

    struct Entry {
        std::string value;
        int line = 0;
    };
    struct Section {
        std::string name;
        NameMap<Entry> entries;
    };

    const Section* FindSection(std::string_view name) const;
    const Entry* FindEntry(std::string_view section, std::string_view key) const;
    void Parse(std::string_view text);

    // In file order; the index finds a section by its name.
    std::vector<Section> sections_;
    NameMap<size_t> sectionIndex_;
    int errorLine_ = 0;
    platform::FileStatus readStatus_ = platform::FileStatus::Ok;
};

// The largest settings, screen or counter file that is read: a few
// megabytes, far beyond any real one.
inline constexpr size_t kIniFileLimit = 4 * 1024 * 1024;

// The value parsers behind the typed getters, exposed for other readers of
// configuration text. They return false and leave `out` alone on bad input.
bool ParseIniInteger(std::string_view text, int32_t& out);
bool ParseIniReal(std::string_view text, double& out);

}  // namespace dotvane
